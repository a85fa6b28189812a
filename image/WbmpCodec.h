// WBMP codec of the image library (format id 7): type-0 wireless bitmaps, 1 bit per
// pixel, with width and height stored as one byte each (so at most 255 x 255).
#pragma once

#include "image/CxImage.h"

class WbmpCodec : public CxImage {
public:
    WbmpCodec() : CxImage(kImageFormatWbmp) {}

    bool Decode(ImageStream* stream);
    bool Encode(ImageStream* stream);
};
