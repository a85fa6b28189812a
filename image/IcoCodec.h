// Icon codec of the image library (format id 4): Windows icon and cursor files. One
// entry is decoded (the frame to decode) and its AND mask becomes the image's
// transparency; a single-entry icon is written with a mask made from it.
#pragma once

#include "image/CxImage.h"

class IcoCodec : public CxImage {
public:
    IcoCodec() : CxImage(kImageFormatIco) {}

    // Decoding fails without a text; encoding leaves one in the last error.
    bool Decode(ImageStream* stream);
    bool Encode(ImageStream* stream);

private:
    bool ReadColours(ImageStream* stream, WORD bitCount);
    void ApplyMask(const std::vector<BYTE>& mask, std::size_t maskStride, WORD bitCount);
    bool IsMasked(long x, long y) const;
};
