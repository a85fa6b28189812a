// BMP codec of the image library (format id 1): Windows and OS/2 bitmap files and bare
// device-independent bitmaps. Writing is a copy of the image's own DIB block.
#pragma once

#include "image/CxImage.h"

class BmpCodec : public CxImage {
public:
    BmpCodec() : CxImage(kImageFormatBmp) {}

    // Both return false with the reason in the last error (escape -1: dimensions only, true).
    bool Decode(ImageStream* stream);
    bool Encode(ImageStream* stream);

    // Reads an info header of any supported size and normalises it to 40 bytes; the
    // stream is left just behind the header. oldStyle is set for a 12-byte core header.
    static bool ReadInfoHeader(ImageStream* stream, DibHeader& header, bool& oldStyle);

private:
    void ReadPalette(ImageStream* stream, const DibHeader& header, bool oldStyle);
    void ReadPixels(ImageStream* stream, const DibHeader& header, const DWORD* masks);
    void DecodeRle8(ImageStream* stream);
    void DecodeRle4(ImageStream* stream);
};
