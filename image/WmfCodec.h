// Metafile codec of the image library (format id 8). Metafiles are never written, and
// for now none is read either (see WmfCodec.cpp).
#pragma once

#include "image/CxImage.h"

class WmfCodec : public CxImage {
public:
    WmfCodec() : CxImage(kImageFormatWmf) {}

    // A wanted width or height of 0 keeps the metafile's own.
    bool Decode(ImageStream* stream, long wantedWidth = 0, long wantedHeight = 0);
    bool Encode(ImageStream* stream);
};
