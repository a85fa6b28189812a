// Metafile codec of the image library (format id 8): placeable 16-bit metafiles and
// enhanced metafiles are played into a bitmap through GDI (Windows only; elsewhere
// every stream is refused). Metafiles are never written.
#pragma once

#include "image/CxImage.h"

#include <cstdint>
#include <vector>

// The bounding box and scale of a placeable metafile's 22-byte header.
struct PlaceableMetafileHeader {
    std::int16_t left;
    std::int16_t top;
    std::int16_t right;
    std::int16_t bottom;
    WORD unitsPerInch;
};

class WmfCodec : public CxImage {
public:
    WmfCodec() : CxImage(kImageFormatWmf) {}

    // A wanted width or height of 0 keeps the metafile's own.
    bool Decode(ImageStream* stream, long wantedWidth = 0, long wantedHeight = 0);
    bool Encode(ImageStream* stream);

    // Reads a placeable header (key, checksum, units per inch 1-2540) and the 16-bit
    // metafile behind it (type 1 or 2, as many bytes as its header says) into metafile.
    // False when any check fails or the stream is too short; the stream is then anywhere.
    static bool ReadPlaceable(ImageStream* stream,
                              PlaceableMetafileHeader& header,
                              std::vector<BYTE>& metafile);
    // Limits a picture to 4000 x 4000, keeping its aspect.
    static void LimitSize(long& width, long& height);
};
