// Plain layouts of the device-independent bitmap pieces the image library stores:
// the 40-byte info header and the 4-byte palette entry / colour. They match the
// Windows structures byte for byte, so a DIB block can be handed to GDI as it is.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstdint>

struct DibHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

static_assert(sizeof(DibHeader) == 40, "DIB header must be 40 bytes");

// A colour or palette entry in the library's blue, green, red order; the fourth
// byte is the pixel's alpha (or the palette entry's alpha).
struct RgbQuad {
    BYTE blue;
    BYTE green;
    BYTE red;
    BYTE alpha;
};

static_assert(sizeof(RgbQuad) == 4, "RgbQuad must be 4 bytes");

inline bool operator==(const RgbQuad& a, const RgbQuad& b) {
    return a.blue == b.blue && a.green == b.green && a.red == b.red && a.alpha == b.alpha;
}

inline bool operator!=(const RgbQuad& a, const RgbQuad& b) {
    return !(a == b);
}

// Windows colour value: red in the low byte, then green, then blue.
typedef DWORD ImageColorref;

inline ImageColorref MakeImageColorref(BYTE red, BYTE green, BYTE blue) {
    return static_cast<ImageColorref>(red) | (static_cast<ImageColorref>(green) << 8) |
           (static_cast<ImageColorref>(blue) << 16);
}
