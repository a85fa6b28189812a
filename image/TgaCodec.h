// TGA codec of the image library (format id 5): uncompressed and run-length Truevision
// files, colour-mapped, true-colour and grey; writes uncompressed 8, 24 or 32 bits.
#pragma once

#include "image/CxImage.h"

class TgaCodec : public CxImage {
public:
    TgaCodec() : CxImage(kImageFormatTga) {}

    bool Decode(ImageStream* stream);
    bool Encode(ImageStream* stream);

private:
    struct RowState;
    void ReadColourMap(ImageStream* stream, const BYTE* header);
    // Both return false when the stream ended inside the row.
    bool ReadRawRow(ImageStream* stream, long imageRow, long fileRow, int depth);
    bool ReadRleRow(ImageStream* stream, long imageRow, long fileRow, int depth, RowState& state);
    bool ReadPixel(ImageStream* stream, int depth, BYTE* pixel);
    void StorePixel(long x, long imageRow, long fileRow, int depth, const BYTE* pixel);
    int m_firstEntry = 0;
    int m_mapLength = 0;
};
