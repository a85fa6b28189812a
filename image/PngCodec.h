// PNG codec of the image library (format id 3). libpng does the parsing, filtering,
// interlacing and compression; this class feeds it through stream callbacks and maps
// colour types, palettes, transparency and resolution onto the image.
#pragma once

#include "image/CxImage.h"

class PngCodec : public CxImage {
public:
    PngCodec() : CxImage(kImageFormatPng) {}

    // Both return false with the reason in the last error.
    bool Decode(ImageStream* stream);
    // Never changes the image it encodes (encoders usually run on a view of the caller's image).
    bool Encode(ImageStream* stream);

private:
    // png and info are libpng's read structures; row is owned by the caller's frame.
    bool DecodeRows(void* png, void* info, std::vector<BYTE>& row);
};
