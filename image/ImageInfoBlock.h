// The settings record every image carries beside its pixels. Decoders and temporary
// images start from a copy of it, so options reach the codecs and results keep them.
#pragma once

#include "image/DibTypes.h"
#include "image/ImageFormat.h"

#include <cstdint>

class CxImage;

// Bounding box of a selection, y counted from the bottom row (top >= bottom).
struct SelectionBox {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

constexpr int kLastErrorChars = 256;

struct ImageInfoBlock {
    DWORD effectiveWidth;  // row stride in bytes
    BYTE* pixels;          // row 0 inside the DIB block; not owned separately
    CxImage* ghost;        // non-null: this image is a view of that one (not owned)
    DWORD format;          // ImageFormat id
    char lastError[kLastErrorChars];
    std::int32_t progress;  // 0-99 while a long operation runs
    std::int32_t escape;    // a caller sets it non-zero to stop a long operation
    std::int32_t transparentIndex;
    RgbQuad transparentColor;
    BYTE quality;
    BYTE spareOption;
    std::int32_t frameToDecode;
    std::int32_t frameCount;
    std::int32_t frameDelay;
    std::int32_t xDpi;
    std::int32_t yDpi;
    SelectionBox selectionBox;
    BYTE alphaMax;
    BYTE paletteAlphaEnabled;
    BYTE enabled;
    std::int32_t xOffset;
    std::int32_t yOffset;
    DWORD codecOptions[kImageFormatMax + 1];
    RgbQuad nearestKey;
    BYTE nearestIndex;
    BYTE nearestValid;
    std::int32_t frameArrayLength;
    std::int32_t spareOptionWord;
};
