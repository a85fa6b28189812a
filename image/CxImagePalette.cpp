// The palette of the image class: entries, grey and standard palettes, blending,
// index swapping and the nearest-colour search (cached for the last colour asked).
#include "image/CxImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr long kNearestSearchStart = 200000;

}  // namespace

RgbQuad* CxImage::GetPalette() const {
    if (m_dib == nullptr || GetNumColors() == 0) {
        return nullptr;
    }
    return reinterpret_cast<RgbQuad*>(m_dib + sizeof(DibHeader));
}

RgbQuad CxImage::GetPaletteColor(BYTE index) const {
    const RgbQuad zero = {0, 0, 0, 0};
    if (GetPalette() == nullptr || index >= GetNumColors()) {
        return zero;
    }
    return GetPalette()[index];
}

bool CxImage::GetPaletteRgb(BYTE index, BYTE* red, BYTE* green, BYTE* blue) const {
    if (GetPalette() == nullptr || red == nullptr || green == nullptr || blue == nullptr) {
        return false;
    }
    const RgbQuad entry = GetPaletteColor(index);
    *red = entry.red;
    *green = entry.green;
    *blue = entry.blue;
    return true;
}

void CxImage::SetPaletteColor(BYTE index, BYTE red, BYTE green, BYTE blue, BYTE alpha) {
    const RgbQuad entry = {blue, green, red, alpha};
    SetPaletteEntry(index, entry);
}

void CxImage::SetPaletteColor(BYTE index, ImageColorref color) {
    SetPaletteEntry(index, ColorrefToRgbQuad(color));
}

void CxImage::SetPaletteEntry(BYTE index, RgbQuad entry) {
    if (GetPalette() == nullptr || index >= GetNumColors()) {
        return;
    }
    GetPalette()[index] = entry;
    ClearNearestCache();
}

void CxImage::SetPaletteFromChannels(DWORD count, const BYTE* reds, const BYTE* greens, const BYTE* blues) {
    if (GetPalette() == nullptr || reds == nullptr) {
        return;
    }
    if (greens == nullptr) {
        greens = reds;
    }
    if (blues == nullptr) {
        blues = greens;
    }
    const DWORD n = std::min(count, GetNumColors());
    RgbQuad* palette = GetPalette();
    for (DWORD i = 0; i < n; i++) {
        palette[i].red = reds[i];
        palette[i].green = greens[i];
        palette[i].blue = blues[i];
    }
    ClearNearestCache();
}

void CxImage::SetPaletteFromTriples(const BYTE* triples, DWORD count) {
    if (GetPalette() == nullptr || triples == nullptr) {
        return;
    }
    const DWORD n = std::min(count, GetNumColors());
    RgbQuad* palette = GetPalette();
    for (DWORD i = 0; i < n; i++) {
        palette[i].red = triples[3 * i];
        palette[i].green = triples[3 * i + 1];
        palette[i].blue = triples[3 * i + 2];
    }
    ClearNearestCache();
}

void CxImage::SetPalette(const RgbQuad* entries, DWORD count) {
    if (GetPalette() == nullptr || entries == nullptr) {
        return;
    }
    const std::size_t bytes = std::min<std::size_t>(static_cast<std::size_t>(count) * 4, GetPaletteSize());
    std::memmove(GetPalette(), entries, bytes);
    ClearNearestCache();
}

void CxImage::SetGrayPalette() {
    if (GetPalette() == nullptr) {
        return;
    }
    const DWORD n = GetNumColors();
    const DWORD step = 255 / (n - 1);
    for (DWORD i = 0; i < n; i++) {
        const BYTE level = static_cast<BYTE>(i * step);
        SetPaletteColor(static_cast<BYTE>(i), level, level, level, 0);
    }
}

void CxImage::BlendPalette(ImageColorref color, long percent) {
    if (GetPalette() == nullptr) {
        return;
    }
    percent = std::max(0L, std::min(100L, percent));
    const RgbQuad with = ColorrefToRgbQuad(color);
    RgbQuad* palette = GetPalette();
    for (DWORD i = 0; i < GetNumColors(); i++) {
        palette[i].blue = static_cast<BYTE>((with.blue * percent + palette[i].blue * (100 - percent)) / 100);
        palette[i].green =
            static_cast<BYTE>((with.green * percent + palette[i].green * (100 - percent)) / 100);
        palette[i].red = static_cast<BYTE>((with.red * percent + palette[i].red * (100 - percent)) / 100);
    }
    ClearNearestCache();
}

bool CxImage::IsGrayScale() const {
    const RgbQuad* palette = GetPalette();
    if (palette == nullptr) {
        return false;
    }
    for (DWORD i = 0; i < GetNumColors(); i++) {
        if (palette[i].blue != i || palette[i].green != i || palette[i].red != i) {
            return false;
        }
    }
    return true;
}

void CxImage::SwapIndex(BYTE a, BYTE b) {
    RgbQuad* palette = GetPalette();
    if (palette == nullptr || a >= GetNumColors() || b >= GetNumColors() || a == b) {
        return;
    }
    std::swap(palette[a], palette[b]);
    ClearNearestCache();
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x <= static_cast<long>(GetWidth()); x++) {
            const BYTE index = GetPixelIndex(x, y);
            if (index == a) {
                SetPixelIndex(x, y, b);
            } else if (index == b) {
                SetPixelIndex(x, y, a);
            }
        }
    }
}

bool CxImage::SamePalette(const CxImage& other, bool compareAlpha) const {
    if (GetNumColors() == 0 || GetNumColors() != other.GetNumColors()) {
        return false;
    }
    const RgbQuad* mine = GetPalette();
    const RgbQuad* theirs = other.GetPalette();
    for (DWORD i = 0; i < GetNumColors(); i++) {
        if (mine[i].blue != theirs[i].blue || mine[i].green != theirs[i].green ||
            mine[i].red != theirs[i].red) {
            return false;
        }
        if (compareAlpha && mine[i].alpha != theirs[i].alpha) {
            return false;
        }
    }
    return true;
}

void CxImage::SetColorsImportant(DWORD count) {
    if (GetNumColors() == 0) {
        return;
    }
    if (count == 0 || count > 256) {
        m_header.biClrImportant = 0;
    } else if (GetBpp() == 1) {
        m_header.biClrImportant = std::min<DWORD>(count, 2);
    } else if (GetBpp() == 4) {
        m_header.biClrImportant = std::min<DWORD>(count, 16);
    } else {
        m_header.biClrImportant = count;
    }
    if (m_dib != nullptr) {
        reinterpret_cast<DibHeader*>(m_dib)->biClrImportant = m_header.biClrImportant;
    }
    ClearNearestCache();
}

BYTE CxImage::GetNearestIndex(RgbQuad color) {
    const RgbQuad* palette = GetPalette();
    if (palette == nullptr) {
        return 0;
    }
    const RgbQuad key = {color.blue, color.green, color.red, 0};
    if (m_info.nearestValid != 0 && m_info.nearestKey == key) {
        return m_info.nearestIndex;
    }
    const DWORD important = m_header.biClrImportant;
    const DWORD n = important != 0 ? std::min(important, GetNumColors()) : GetNumColors();
    long best = kNearestSearchStart;
    BYTE result = 0;
    for (DWORD i = 0; i < n; i++) {
        const long dr = static_cast<long>(palette[i].red) - color.red;
        const long dg = static_cast<long>(palette[i].green) - color.green;
        const long db = static_cast<long>(palette[i].blue) - color.blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            result = static_cast<BYTE>(i);
            if (distance == 0) {
                break;
            }
        }
    }
    m_info.nearestKey = key;
    m_info.nearestIndex = result;
    m_info.nearestValid = 1;
    return result;
}

namespace {

// The sixteen standard Windows colours, as 0xRRGGBB.
constexpr DWORD kStandardColors[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Hues of the graded runs of the 8-bit standard palette. Each run is six tints falling
// from near white towards the hue, the hue itself and five shades falling towards black.
constexpr DWORD kGradedHues[18] = {0xFFAA00, 0xFF5500, 0xFF0000, 0xFF0055, 0xFF00AA, 0xFF00FF,
                                   0xAA00FF, 0x5500FF, 0x0000FF, 0x0055FF, 0x00AAFF, 0x00FFFF,
                                   0x00FFAA, 0x00FF55, 0x00FF00, 0x55FF00, 0xAAFF00, 0xFFFF00};

constexpr int kTints = 6;
constexpr int kShades = 5;

// A hue channel is one of the levels 0x00, 0x55, 0xAA, 0xFF. Per level: its value in the
// lightest tint and in the tint next to the hue (which lifts an empty channel a little);
// the tints between fall evenly.
struct TintLevels {
    int lightest;
    int nearest;
};

constexpr TintLevels kTintLevels[4] = {{0xD4, 0x25}, {0xE3, 0x55}, {0xF0, 0xAA}, {0xFF, 0xFF}};

// step 1 is the tint next to the hue, kTints the lightest.
int TintChannel(int channel, int step) {
    const TintLevels& levels = kTintLevels[channel / 0x55];
    return levels.nearest + (levels.lightest - levels.nearest) * (step - 1) / (kTints - 1);
}

// Each shade takes the same amount off: 35 from a full channel, its share from the others.
int ShadeChannel(int channel, int step) {
    return channel - step * ((35 * channel + 254) / 255);
}

DWORD MapChannels(DWORD hue, int step, int (*map)(int channel, int step)) {
    DWORD rgb = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        rgb |= static_cast<DWORD>(map(static_cast<int>((hue >> shift) & 0xFF), step)) << shift;
    }
    return rgb;
}

std::vector<DWORD> BuildStdPalette256() {
    std::vector<DWORD> table;
    table.reserve(256);
    for (int i = 0; i < 8; i++) {
        table.push_back(kStandardColors[i]);
    }
    table.push_back(0xC0DCC0);
    table.push_back(0xA6CAF0);
    for (DWORD hue : kGradedHues) {
        for (int step = kTints; step >= 1; step--) {
            table.push_back(MapChannels(hue, step, TintChannel));
        }
        table.push_back(hue);
        for (int step = 1; step <= kShades; step++) {
            table.push_back(MapChannels(hue, step, ShadeChannel));
        }
    }
    for (DWORD grey = 0xF2F2F2, i = 0; i < 20; i++, grey -= 0x0C0C0C) {
        table.push_back(grey);
    }
    table.push_back(0xFFFBF0);
    table.push_back(0xA0A0A4);
    table.push_back(0x808080);
    for (int i = 9; i < 16; i++) {
        table.push_back(kStandardColors[i]);
    }
    return table;
}

}  // namespace

void CxImage::SetStdPalette() {
    if (GetPalette() == nullptr) {
        return;
    }
    if (GetBpp() == 4) {
        for (int i = 0; i < 16; i++) {
            SetPaletteColor(static_cast<BYTE>(i), static_cast<BYTE>(kStandardColors[i] >> 16),
                            static_cast<BYTE>(kStandardColors[i] >> 8),
                            static_cast<BYTE>(kStandardColors[i]));
        }
        return;
    }
    if (GetBpp() != 8) {
        return;
    }
    static const std::vector<DWORD> table = BuildStdPalette256();
    for (int i = 0; i < 256; i++) {
        const DWORD rgb = table[static_cast<std::size_t>(i)];
        SetPaletteColor(static_cast<BYTE>(i), static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8),
                        static_cast<BYTE>(rgb));
    }
}
