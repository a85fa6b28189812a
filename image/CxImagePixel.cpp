// Pixel access of the image class: rows, palette indexes, colours, blending and lines.
// Positions outside the image read as the transparent colour (or the first pixel) and
// are never written.
#include "image/CxImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

BYTE* CxImage::RowPointer(long row) const {
    if (m_dib == nullptr || row < 0 || row >= static_cast<long>(GetHeight())) {
        return nullptr;
    }
    return m_info.pixels + static_cast<std::size_t>(row) * m_info.effectiveWidth;
}

bool CxImage::ContainsPoint(long x, long y) const {
    return x >= 0 && y >= 0 && x < static_cast<long>(GetWidth()) && y < static_cast<long>(GetHeight());
}

void CxImage::FillBytes(BYTE value) {
    if (m_dib == nullptr) {
        return;
    }
    if (GetBpp() == 1 && value != 0) {
        value = 255;
    }
    if (GetBpp() == 4) {
        value = static_cast<BYTE>((value & 0x0F) * 17);
    }
    std::memset(m_info.pixels, value, m_header.biSizeImage);
}

BYTE CxImage::GetPixelIndex(long x, long y) const {
    if (m_dib == nullptr || GetNumColors() == 0) {
        return 0;
    }
    if (!ContainsPoint(x, y)) {
        if (m_info.transparentIndex >= 0) {
            return static_cast<BYTE>(m_info.transparentIndex);
        }
        return m_info.pixels[0];
    }
    return GetPixelIndexUnchecked(x, y);
}

BYTE CxImage::GetPixelIndexUnchecked(long x, long y) const {
    const BYTE* row = m_info.pixels + static_cast<std::size_t>(y) * m_info.effectiveWidth;
    switch (GetBpp()) {
    case 8:
        return row[x];
    case 4: {
        const BYTE pair = row[x >> 1];
        return (x & 1) == 0 ? static_cast<BYTE>(pair >> 4) : static_cast<BYTE>(pair & 0x0F);
    }
    case 1:
        return static_cast<BYTE>((row[x >> 3] >> (7 - (x & 7))) & 1);
    default:
        return 0;
    }
}

void CxImage::SetPixelIndex(long x, long y, BYTE index) {
    if (m_dib == nullptr || GetNumColors() == 0 || !ContainsPoint(x, y)) {
        return;
    }
    BYTE* row = m_info.pixels + static_cast<std::size_t>(y) * m_info.effectiveWidth;
    switch (GetBpp()) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        BYTE& pair = row[x >> 1];
        if ((x & 1) == 0) {
            pair = static_cast<BYTE>((pair & 0x0F) | ((index & 0x0F) << 4));
        } else {
            pair = static_cast<BYTE>((pair & 0xF0) | (index & 0x0F));
        }
        break;
    }
    case 1: {
        BYTE& bits = row[x >> 3];
        const BYTE mask = static_cast<BYTE>(0x80 >> (x & 7));
        bits = (index & 1) != 0 ? static_cast<BYTE>(bits | mask) : static_cast<BYTE>(bits & ~mask);
        break;
    }
    default:
        break;
    }
}

RgbQuad CxImage::GetPixelColor(long x, long y, bool withAlpha) const {
    RgbQuad color = {0, 0, 0, 0};
    if (m_dib == nullptr) {
        return color;
    }
    if (!ContainsPoint(x, y)) {
        if (m_info.transparentIndex < 0) {
            return GetPixelColor(0, 0, withAlpha);
        }
        if (GetBpp() < 24) {
            return GetPaletteColor(static_cast<BYTE>(m_info.transparentIndex));
        }
        return m_info.transparentColor;
    }
    if (GetNumColors() != 0) {
        color = GetPaletteColor(GetPixelIndexUnchecked(x, y));
    } else {
        const BYTE* pixel = RowPointer(y) + 3 * x;
        color.blue = pixel[0];
        color.green = pixel[1];
        color.red = pixel[2];
        color.alpha = m_info.transparentColor.alpha;
    }
    if (withAlpha && m_alpha != nullptr) {
        color.alpha = AlphaGetUnchecked(x, y);
    }
    return color;
}

RgbQuad CxImage::GetPixelColorUnchecked(long x, long y) const {
    if (GetNumColors() != 0) {
        return GetPalette()[GetPixelIndexUnchecked(x, y)];
    }
    const BYTE* pixel = m_info.pixels + static_cast<std::size_t>(y) * m_info.effectiveWidth + 3 * x;
    RgbQuad color = {pixel[0], pixel[1], pixel[2], 0};
    if (m_alpha != nullptr) {
        color.alpha = AlphaGetUnchecked(x, y);
    }
    return color;
}

void CxImage::SetPixelColor(long x, long y, RgbQuad color, bool withAlpha) {
    if (m_dib == nullptr || !ContainsPoint(x, y)) {
        return;
    }
    if (GetNumColors() != 0) {
        SetPixelIndex(x, y, GetNearestIndex(color));
        return;
    }
    BYTE* pixel = RowPointer(y) + 3 * x;
    pixel[0] = color.blue;
    pixel[1] = color.green;
    pixel[2] = color.red;
    if (withAlpha && m_alpha != nullptr) {
        m_alpha[x + static_cast<std::size_t>(y) * GetWidth()] = color.alpha;
    }
}

void CxImage::SetPixelColor(long x, long y, ImageColorref color) {
    SetPixelColor(x, y, ColorrefToRgbQuad(color), false);
}

BYTE CxImage::GetPixelGray(long x, long y) const {
    const RgbQuad color = GetPixelColor(x, y, false);
    return Luminance(color);
}

void CxImage::BlendPixelColor(long x, long y, RgbQuad color, float opacity, bool withAlpha) {
    if (m_dib == nullptr || !ContainsPoint(x, y)) {
        return;
    }
    // Outside 0-1 the weights would leave the byte range.
    const float clamped = std::min(1.0f, std::max(0.0f, opacity));
    const int o = static_cast<int>(clamped * 256);
    const RgbQuad old = GetPixelColor(x, y, false);
    RgbQuad blend = color;
    blend.blue = static_cast<BYTE>((old.blue * (256 - o) + color.blue * o) >> 8);
    blend.green = static_cast<BYTE>((old.green * (256 - o) + color.green * o) >> 8);
    blend.red = static_cast<BYTE>((old.red * (256 - o) + color.red * o) >> 8);
    SetPixelColor(x, y, blend, withAlpha);
}

void CxImage::DrawLine(int x1, int x2, int y1, int y2, RgbQuad color, bool withAlpha) {
    if (m_dib == nullptr) {
        return;
    }
    const long dx = std::labs(static_cast<long>(x2) - x1);
    const long dy = std::labs(static_cast<long>(y2) - y1);
    const int stepX = x2 >= x1 ? 1 : -1;
    const int stepY = y2 >= y1 ? 1 : -1;
    long x = x1;
    long y = y1;
    if (dx >= dy) {
        long error = dx / 2;
        for (long i = 0; i <= dx; i++) {
            SetPixelColor(x, y, color, withAlpha);
            x += stepX;
            error -= dy;
            if (error < 0) {
                y += stepY;
                error += dx;
            }
        }
        return;
    }
    long error = dy / 2;
    for (long i = 0; i <= dy; i++) {
        SetPixelColor(x, y, color, withAlpha);
        y += stepY;
        error -= dx;
        if (error < 0) {
            x += stepX;
            error += dy;
        }
    }
}

void CxImage::DrawLine(int x1, int x2, int y1, int y2, ImageColorref color) {
    DrawLine(x1, x2, y1, y2, ColorrefToRgbQuad(color), false);
}

void CxImage::SwapRedBlue(BYTE* row, std::size_t length) const {
    if (row == nullptr || GetBpp() != 24) {
        return;
    }
    const std::size_t bytes = std::min<std::size_t>(length, m_info.effectiveWidth);
    for (std::size_t i = 0; i + 2 < bytes; i += 3) {
        std::swap(row[i], row[i + 2]);
    }
}

BYTE Luminance(RgbQuad color) {
    return static_cast<BYTE>((117 * color.blue + 601 * color.green + 306 * color.red) >> 10);
}

long LuminanceDifference(const BYTE* a, const BYTE* b) {
    const RgbQuad first = {a[0], a[1], a[2], 0};
    const RgbQuad second = {b[0], b[1], b[2], 0};
    return static_cast<long>(Luminance(first)) - static_cast<long>(Luminance(second));
}
