// The alpha plane of the image class (one byte per pixel, bottom row first, 255 =
// opaque) and the palette's per-entry alpha.
#include "image/CxImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

std::size_t PlaneBytes(const CxImage& image) {
    return static_cast<std::size_t>(image.GetWidth()) * image.GetHeight();
}

}  // namespace

bool CxImage::AlphaCreate() {
    if (!IsValid()) {
        return false;
    }
    if (m_alpha != nullptr) {
        return true;
    }
    m_alpha = static_cast<BYTE*>(std::malloc(PlaneBytes(*this)));
    if (m_alpha == nullptr) {
        return false;
    }
    std::memset(m_alpha, 255, PlaneBytes(*this));
    return true;
}

void CxImage::AlphaDelete() {
    // A view's plane belongs to the image it shows.
    if (m_info.ghost == nullptr) {
        std::free(m_alpha);
    }
    m_alpha = nullptr;
}

void CxImage::AlphaClear() {
    AlphaFill(0);
}

void CxImage::AlphaFill(BYTE level) {
    if (m_alpha != nullptr) {
        std::memset(m_alpha, level, PlaneBytes(*this));
    }
}

void CxImage::AlphaInvert() {
    if (m_alpha == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < PlaneBytes(*this); i++) {
        m_alpha[i] = static_cast<BYTE>(255 - m_alpha[i]);
    }
}

bool CxImage::AlphaFlip() {
    if (m_alpha == nullptr) {
        return false;
    }
    const std::size_t width = GetWidth();
    const std::size_t height = GetHeight();
    for (std::size_t y = 0; y < height / 2; y++) {
        std::swap_ranges(m_alpha + y * width, m_alpha + (y + 1) * width, m_alpha + (height - 1 - y) * width);
    }
    return true;
}

bool CxImage::AlphaMirror() {
    if (m_alpha == nullptr) {
        return false;
    }
    const std::size_t width = GetWidth();
    for (std::size_t y = 0; y < GetHeight(); y++) {
        std::reverse(m_alpha + y * width, m_alpha + (y + 1) * width);
    }
    return true;
}

bool CxImage::AlphaCopy(const CxImage& source) {
    if (source.m_alpha == nullptr || source.GetWidth() != GetWidth() || source.GetHeight() != GetHeight() ||
        !AlphaCreate()) {
        return false;
    }
    std::memcpy(m_alpha, source.m_alpha, PlaneBytes(*this));
    m_info.alphaMax = source.m_info.alphaMax;
    return true;
}

bool CxImage::AlphaFromGray(const CxImage& gray) {
    if (!gray.IsValid() || !gray.IsGrayScale() || gray.GetBpp() != 8 || gray.GetWidth() != GetWidth() ||
        gray.GetHeight() != GetHeight() || !AlphaCreate()) {
        return false;
    }
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        std::memcpy(m_alpha + static_cast<std::size_t>(y) * GetWidth(), gray.RowPointer(y), GetWidth());
    }
    return true;
}

void CxImage::AlphaSet(long x, long y, BYTE level) {
    if (m_alpha != nullptr && ContainsPoint(x, y)) {
        m_alpha[x + static_cast<std::size_t>(y) * GetWidth()] = level;
    }
}

BYTE CxImage::AlphaGet(long x, long y) const {
    if (m_alpha == nullptr || !ContainsPoint(x, y)) {
        return 0;
    }
    return m_alpha[x + static_cast<std::size_t>(y) * GetWidth()];
}

BYTE* CxImage::AlphaRowPointer(long x, long y) const {
    if (m_alpha == nullptr || !ContainsPoint(x, y)) {
        return nullptr;
    }
    return m_alpha + x + static_cast<std::size_t>(y) * GetWidth();
}

namespace {

// Makes an 8-bit grey image of a plane of bytes and moves it into destination.
bool SplitPlane(const CxImage& owner, const BYTE* plane, CxImage* destination) {
    if (plane == nullptr || destination == nullptr) {
        return false;
    }
    CxImage result;
    if (result.Create(owner.GetWidth(), owner.GetHeight(), 8, owner.GetType()) == nullptr) {
        return false;
    }
    result.SetGrayPalette();
    for (long y = 0; y < static_cast<long>(owner.GetHeight()); y++) {
        std::memcpy(result.RowPointer(y), plane + static_cast<std::size_t>(y) * owner.GetWidth(),
                    owner.GetWidth());
    }
    return destination->TakeOver(result);
}

}  // namespace

bool CxImage::AlphaSplit(CxImage* destination) const {
    return SplitPlane(*this, m_alpha, destination);
}

void CxImage::AlphaPaletteClear() {
    RgbQuad* palette = GetPalette();
    if (palette == nullptr) {
        return;
    }
    for (DWORD i = 0; i < GetNumColors(); i++) {
        palette[i].alpha = 0;
    }
    ClearNearestCache();
}

bool CxImage::AlphaPaletteIsValid() const {
    const RgbQuad* palette = GetPalette();
    if (palette == nullptr) {
        return false;
    }
    for (DWORD i = 0; i < GetNumColors(); i++) {
        if (palette[i].alpha != 0) {
            return true;
        }
    }
    return false;
}

bool CxImage::AlphaPaletteSplit(CxImage* destination) const {
    if (destination == nullptr || !AlphaPaletteIsValid()) {
        return false;
    }
    std::vector<BYTE> plane(PlaneBytes(*this));
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            plane[x + static_cast<std::size_t>(y) * GetWidth()] = GetPixelColor(x, y, true).alpha;
        }
    }
    return SplitPlane(*this, plane.data(), destination);
}

void CxImage::FlattenAlpha() {
    const bool paletteAlpha = AlphaPaletteIsValid();
    if (!IsValid() || (m_alpha == nullptr && !paletteAlpha)) {
        return;
    }
    const RgbQuad background = m_info.transparentColor;
    CxImage flat;
    const bool inPlace = GetBpp() == 24;
    if (!inPlace) {
        if (!PrepareResult(flat, GetWidth(), GetHeight(), 24)) {
            return;
        }
    }
    CxImage& target = inPlace ? *this : flat;
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            RgbQuad color = GetPixelColor(x, y, false);
            unsigned alpha =
                m_alpha != nullptr ? AlphaGetUnchecked(x, y) * m_info.alphaMax / 255u : m_info.alphaMax;
            if (IsIndexed() && paletteAlpha) {
                alpha = alpha * color.alpha / 255u;
            }
            color.blue = static_cast<BYTE>((background.blue * (255 - alpha) + color.blue * alpha) / 255);
            color.green = static_cast<BYTE>((background.green * (255 - alpha) + color.green * alpha) / 255);
            color.red = static_cast<BYTE>((background.red * (255 - alpha) + color.red * alpha) / 255);
            target.SetPixelColor(x, y, color, false);
        }
    }
    if (inPlace) {
        AlphaDelete();
        return;
    }
    flat.AlphaDelete();
    TakeOver(flat);
}
