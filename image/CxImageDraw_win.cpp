// Drawing the image into a Windows device context: compositing with alpha and
// transparency, stretching (plain, masked, with a raster operation) and tiling.
#include "image/BitmapInfoBlock.h"
#include "image/CxImage.h"
#include "image/GdiOwners.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

BITMAPINFO* AsBitmapInfo(std::vector<BYTE>& info) {
    return reinterpret_cast<BITMAPINFO*>(info.data());
}

// A 24-bit bottom-up DIB section selected into a memory DC compatible with dc.
class DibCanvas {
public:
    DibCanvas(HDC dc, long width, long height)
        : m_dc(CreateCompatibleDC(dc)), m_header(Dib24Info(width, height)) {
        m_bitmap = CreateDib24(dc, m_header, m_bits);
        if (m_dc && m_bitmap) {
            m_select = std::make_unique<CGdiSelect>(m_dc.get(), m_bitmap.get());
        }
    }

    bool IsValid() const { return m_dc && m_bitmap && m_bits != nullptr; }

    HDC Dc() const { return m_dc.get(); }

    BYTE* Row(long k) const { return m_bits + static_cast<std::size_t>(k) * Stride(); }

    std::size_t Stride() const { return Dib24Stride(m_header.bmiHeader.biWidth); }

    void SetToDevice(HDC dc, long left, long top) {
        GdiFlush();
        SetDIBitsToDevice(dc, left, top, m_header.bmiHeader.biWidth, m_header.bmiHeader.biHeight, 0, 0, 0,
                          m_header.bmiHeader.biHeight, m_bits, &m_header, DIB_RGB_COLORS);
    }

private:
    MemoryDc m_dc;
    GdiBitmap m_bitmap;
    std::unique_ptr<CGdiSelect> m_select;  // released before the bitmap
    BYTE* m_bits = nullptr;
    BITMAPINFO m_header = {};
};

// The part of the destination that the DC's clip box lets through.
struct PaintBox {
    long left;
    long top;
    long right;
    long bottom;

    long Width() const { return right - left; }

    long Height() const { return bottom - top; }
};

PaintBox PaintBoxOf(HDC dc, long x, long y, long width, long height) {
    RECT clip = {};
    GetClipBox(dc, &clip);
    PaintBox box;
    box.top = std::min(clip.bottom, std::max(clip.top, y));
    box.left = std::min(clip.right, std::max(clip.left, x));
    box.right = std::max(clip.left, std::min(clip.right, x + width));
    box.bottom = std::max(clip.top, std::min(clip.bottom, y + height));
    return box;
}

// Maps the destination pixels of a paint box to image pixels (x right, y up from the
// bottom row), unstretched or stretched.
class SourceMap {
public:
    SourceMap(const CxImage& image, long x, long y, long width, long height, const PaintBox& box)
        : m_imageWidth(static_cast<long>(image.GetWidth())),
          m_imageHeight(static_cast<long>(image.GetHeight())),
          m_x(x),
          m_y(y),
          m_box(box),
          m_stretched(width != m_imageWidth || height != m_imageHeight),
          m_xScale(static_cast<float>(m_imageWidth) / static_cast<float>(width)),
          m_yScale(static_cast<float>(m_imageHeight) / static_cast<float>(height)) {}

    bool IsStretched() const { return m_stretched; }

    // Real-valued source position of the section's row k (from its bottom), column c.
    float SourceX(long c) const { return static_cast<float>(c + m_box.left - m_x) * m_xScale; }

    float SourceY(long k) const {
        return static_cast<float>(m_imageHeight) - static_cast<float>(m_box.bottom - k - m_y) * m_yScale;
    }

    long ColumnOf(long c) const {
        if (!m_stretched) {
            return m_box.left - m_x + c;
        }
        return Clamp(static_cast<long>(std::floor(SourceX(c))), m_imageWidth);
    }

    long RowOf(long k) const {
        if (!m_stretched) {
            return m_y + m_imageHeight - m_box.bottom + k;
        }
        return Clamp(static_cast<long>(std::floor(SourceY(k))), m_imageHeight);
    }

private:
    // Float rounding must not step outside the image at the far edges.
    static long Clamp(long value, long size) { return std::max(0L, std::min(value, size - 1)); }

    long m_imageWidth;
    long m_imageHeight;
    long m_x;
    long m_y;
    PaintBox m_box;
    bool m_stretched;
    float m_xScale;
    float m_yScale;
};

struct BlendSettings {
    bool transparent;
    bool alpha;
    bool paletteAlpha;
    BYTE alphaMax;
    long transIndex;
    RgbQuad transColor;
};

void BlendInto(BYTE* pixel, RgbQuad color, unsigned a) {
    if (a == 255) {
        pixel[0] = color.blue;
        pixel[1] = color.green;
        pixel[2] = color.red;
        return;
    }
    pixel[0] = static_cast<BYTE>((color.blue * a + pixel[0] * (255 - a)) >> 8);
    pixel[1] = static_cast<BYTE>((color.green * a + pixel[1] * (255 - a)) >> 8);
    pixel[2] = static_cast<BYTE>((color.red * a + pixel[2] * (255 - a)) >> 8);
}

// One destination pixel of the compositing path; the section holds the background.
void ComposePixel(const CxImage& image,
                  const BlendSettings& settings,
                  long sx,
                  long sy,
                  const RgbQuad* smoothColor,
                  BYTE* pixel) {
    unsigned a = settings.alpha ? image.AlphaGetUnchecked(sx, sy) : 255;
    if (settings.alpha && smoothColor != nullptr) {
        a = smoothColor->alpha;
    }
    a = (a * (settings.alphaMax + 1u)) >> 8;
    RgbQuad color;
    bool matches = false;
    if (image.IsIndexed()) {
        const BYTE index = image.GetPixelIndexUnchecked(sx, sy);
        color = image.GetPaletteColor(index);
        if (settings.paletteAlpha) {
            a = (a * (color.alpha + 1u)) >> 8;
        }
        matches = settings.transparent && index == settings.transIndex;
    } else {
        const BYTE* stored = image.RowPointer(sy) + 3 * sx;
        color = RgbQuad{stored[0], stored[1], stored[2], 0};
        matches = settings.transparent && color.blue == settings.transColor.blue &&
                  color.green == settings.transColor.green && color.red == settings.transColor.red;
    }
    if (a == 0 || matches) {
        return;
    }
    if (smoothColor != nullptr) {
        color = *smoothColor;
    }
    BlendInto(pixel, color, a);
}

RgbQuad SmoothColor(const CxImage& image, const SourceMap& map, long c, long k) {
    return image.InterpolatePixel(map.SourceX(c) - 0.5f, map.SourceY(k) - 0.5f, kInterpolationBilinear,
                                  kOverflowRepeat, nullptr);
}

void Compose(const CxImage& image,
             const SourceMap& map,
             const BlendSettings& settings,
             bool smooth,
             DibCanvas& canvas,
             const PaintBox& box) {
    const bool interpolate = smooth && map.IsStretched();
    for (long k = 0; k < box.Height(); k++) {
        BYTE* row = canvas.Row(k);
        const long sy = map.RowOf(k);
        for (long c = 0; c < box.Width(); c++) {
            const long sx = map.ColumnOf(c);
            if (interpolate) {
                const RgbQuad color = SmoothColor(image, map, c, k);
                ComposePixel(image, settings, sx, sy, &color, row + 3 * c);
            } else {
                ComposePixel(image, settings, sx, sy, nullptr, row + 3 * c);
            }
        }
    }
}

void FillOpaque(const CxImage& image,
                const SourceMap& map,
                bool smooth,
                DibCanvas& canvas,
                const PaintBox& box) {
    for (long k = 0; k < box.Height(); k++) {
        BYTE* row = canvas.Row(k);
        const long sy = map.RowOf(k);
        for (long c = 0; c < box.Width(); c++) {
            const RgbQuad color =
                smooth ? SmoothColor(image, map, c, k) : image.GetPixelColorUnchecked(map.ColumnOf(c), sy);
            BlendInto(row + 3 * c, color, 255);
        }
    }
}

bool Refuses(const CxImage& image, HDC dc, long width, long height) {
    return !image.IsValid() || dc == nullptr || width == 0 || height == 0 || !image.IsEnabled();
}

// A negative width or height asks for the image's own.
void UseImageSizeWhenNegative(const CxImage& image, long& width, long& height) {
    if (width < 0) {
        width = static_cast<long>(image.GetWidth());
    }
    if (height < 0) {
        height = static_cast<long>(image.GetHeight());
    }
}

}  // namespace

long CxImage::DrawImage(HDC dc, long x, long y, long width, long height, const RECT* clip, bool smooth) {
    if (Refuses(*this, dc, width, height)) {
        return 0;
    }
    UseImageSizeWhenNegative(*this, width, height);
    // Saving the whole DC state restores a complex clip region exactly, which
    // re-selecting the old clip box would not.
    CSavedDcState saved(dc);
    if (clip != nullptr) {
        GdiRegion region(CreateRectRgnIndirect(clip));
        ExtSelectClipRgn(dc, region.get(), RGN_AND);
    }
    const PaintBox box = PaintBoxOf(dc, x, y, width, height);
    if (box.Width() <= 0 || box.Height() <= 0) {
        return 1;
    }
    const SourceMap map(*this, x, y, width, height, box);
    const bool alpha = AlphaIsValid();
    if (IsTransparent() || alpha || AlphaPaletteIsEnabled()) {
        DibCanvas canvas(dc, box.Width(), box.Height());
        if (!canvas.IsValid()) {
            return 0;
        }
        BitBlt(canvas.Dc(), 0, 0, box.Width(), box.Height(), dc, box.left, box.top, SRCCOPY);
        GdiFlush();
        const BlendSettings settings = {IsTransparent(), alpha,           AlphaPaletteIsEnabled(),
                                        AlphaGetMax(),   GetTransIndex(), GetTransColor()};
        Compose(*this, map, settings, smooth, canvas, box);
        canvas.SetToDevice(dc, box.left, box.top);
        return 1;
    }
    if (!map.IsStretched()) {
        SetStretchBltMode(dc, COLORONCOLOR);
        std::vector<BYTE> info = BitmapInfoBlock(m_header, GetPalette());
        SetDIBitsToDevice(dc, x, y, GetWidth(), GetHeight(), 0, 0, 0, GetHeight(), m_info.pixels,
                          AsBitmapInfo(info), DIB_RGB_COLORS);
        return 1;
    }
    DibCanvas canvas(dc, box.Width(), box.Height());
    if (!canvas.IsValid()) {
        return 0;
    }
    FillOpaque(*this, map, smooth, canvas, box);
    canvas.SetToDevice(dc, box.left, box.top);
    return 1;
}

long CxImage::DrawImage(HDC dc, const RECT& rect, const RECT* clip, bool smooth) {
    return DrawImage(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, clip, smooth);
}

long CxImage::StretchImage(HDC dc, long x, long y, long width, long height) {
    if (Refuses(*this, dc, width, height)) {
        return 0;
    }
    UseImageSizeWhenNegative(*this, width, height);
    std::vector<BYTE> info = BitmapInfoBlock(m_header, GetPalette());
    const long imageWidth = static_cast<long>(GetWidth());
    const long imageHeight = static_cast<long>(GetHeight());
    if (!IsTransparent()) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, x, y, width, height, 0, 0, imageWidth, imageHeight, m_info.pixels,
                      AsBitmapInfo(info), DIB_RGB_COLORS, SRCCOPY);
        return 1;
    }
    const RECT target = {x, y, x + width, y + height};
    if (!RectVisible(dc, &target)) {
        return 1;
    }
    // The caller's colours and modes come back unchanged.
    CSavedDcState saved(dc);
    MemoryDc imageDc(CreateCompatibleDC(dc));
    GdiBitmap imageBitmap(CreateCompatibleBitmap(dc, imageWidth, imageHeight));
    MemoryDc maskDc(CreateCompatibleDC(dc));
    GdiBitmap maskBitmap(CreateBitmap(imageWidth, imageHeight, 1, 1, nullptr));
    if (!imageDc || !imageBitmap || !maskDc || !maskBitmap) {
        return 0;
    }
    CGdiSelect imageSelect(imageDc.get(), imageBitmap.get());
    CGdiSelect maskSelect(maskDc.get(), maskBitmap.get());
    SetDIBitsToDevice(imageDc.get(), 0, 0, imageWidth, imageHeight, 0, 0, 0, imageHeight, m_info.pixels,
                      AsBitmapInfo(info), DIB_RGB_COLORS);
    const RgbQuad key = GetTransColor();
    SetBkColor(imageDc.get(), RGB(key.red, key.green, key.blue));
    BitBlt(maskDc.get(), 0, 0, imageWidth, imageHeight, imageDc.get(), 0, 0, SRCCOPY);
    // Mask bits become black (text colour) where the image is opaque and white where it is not.
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, imageDc.get(), 0, 0, imageWidth, imageHeight, SRCINVERT);
    StretchBlt(dc, x, y, width, height, maskDc.get(), 0, 0, imageWidth, imageHeight, SRCAND);
    StretchBlt(dc, x, y, width, height, imageDc.get(), 0, 0, imageWidth, imageHeight, SRCINVERT);
    return 1;
}

long CxImage::StretchImage(HDC dc, const RECT& rect) {
    return StretchImage(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

long CxImage::StretchRop(HDC dc, long x, long y, long width, long height, DWORD rop) {
    if (!IsValid() || dc == nullptr) {
        return 0;
    }
    std::vector<BYTE> info = BitmapInfoBlock(m_header, GetPalette());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, width, height, 0, 0, GetWidth(), GetHeight(), m_info.pixels, AsBitmapInfo(info),
                  DIB_RGB_COLORS, rop);
    return 1;
}

long CxImage::StretchRop(HDC dc, const RECT& rect, DWORD rop) {
    return StretchRop(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, rop);
}

long CxImage::TileImage(HDC dc, const RECT* rect) {
    if (!IsValid() || dc == nullptr || rect == nullptr) {
        return 0;
    }
    const long width = rect->right - rect->left;
    const long height = rect->bottom - rect->top;
    const long tileWidth = static_cast<long>(GetWidth());
    const long tileHeight = static_cast<long>(GetHeight());
    for (long y = 0; y < height; y += tileHeight) {
        for (long x = 0; x < width; x += tileWidth) {
            const RECT tile = {rect->left + x, rect->top + y, rect->left + x + std::min(tileWidth, width - x),
                               rect->top + y + std::min(tileHeight, height - y)};
            DrawImage(dc, rect->left + x, rect->top + y, -1, -1, &tile, false);
        }
    }
    return 1;
}
