// PCX codec of the image library (format id 6): ZSoft run-length files, packed or
// bit-planar, up to 8-bit palettes and 24/32-bit colour planes.
#pragma once

#include "image/CxImage.h"

class MemoryImageStream;

class PcxCodec : public CxImage {
public:
    PcxCodec() : CxImage(kImageFormatPcx) {}

    bool Decode(ImageStream* stream);
    bool Encode(ImageStream* stream);

private:
    struct Layout;
    void ReadPalette(ImageStream* stream, const BYTE* header, const Layout& layout);
    void StoreLine(const BYTE* line, long imageRow, const Layout& layout);
    void EncodePlanar(MemoryImageStream& data, long bytesPerLine);
};
