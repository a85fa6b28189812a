// The image's header and palette laid out as GDI wants them in front of the pixels
// (a BITMAPINFO). Built from the member header: settings change it, not the block's copy.
#pragma once

#include "image/DibTypes.h"

#include <cstring>
#include <vector>

inline std::vector<BYTE> BitmapInfoBlock(const DibHeader& header, const RgbQuad* palette) {
    const std::size_t paletteBytes = header.biClrUsed * sizeof(RgbQuad);
    std::vector<BYTE> info(sizeof(DibHeader) + paletteBytes);
    std::memcpy(info.data(), &header, sizeof(DibHeader));
    if (paletteBytes != 0) {
        std::memcpy(info.data() + sizeof(DibHeader), palette, paletteBytes);
    }
    return info;
}
