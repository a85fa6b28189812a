// Drawing text into the image with a Windows font: the text is rendered white on black
// into a DIB section, and its lit pixels are copied into the image in a colour.
#include "image/CxImage.h"
#include "image/GdiOwners.h"
#include "image/TextSettings.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr int kFaceNameBytes = 31;

// A zeroed 24-bit DIB section in a memory DC with a font selected, white text on black.
class TextCanvas {
public:
    TextCanvas(HDC dc, HFONT font) : m_dc(CreateCompatibleDC(dc)), m_fontSelect(m_dc.get(), font) {
        SetTextColor(m_dc.get(), RGB(255, 255, 255));
        SetBkColor(m_dc.get(), RGB(0, 0, 0));
        SetBkMode(m_dc.get(), OPAQUE);
    }

    HDC Dc() const { return m_dc.get(); }

    // Measures text with the given DrawText flags (DT_CALCRECT added).
    RECT Measure(const char* text, UINT flags) const {
        RECT rect = {0, 0, 0, 0};
        DrawTextA(m_dc.get(), text, -1, &rect, flags | DT_CALCRECT);
        return rect;
    }

    bool MakeBitmap(long width, long height) {
        BYTE* bits = nullptr;
        m_bitmap = CreateDib24(m_dc.get(), Dib24Info(width, height), bits);
        if (!m_bitmap || bits == nullptr) {
            return false;
        }
        std::memset(bits, 0, Dib24Stride(width) * height);
        m_bitmapSelect = std::make_unique<CGdiSelect>(m_dc.get(), m_bitmap.get());
        return true;
    }

    // The drawn text as an image (rows bottom-up, as always).
    bool ToImage(CxImage& image) {
        m_bitmapSelect.reset();
        return image.CreateFromBitmap(m_bitmap.get(), nullptr);
    }

private:
    MemoryDc m_dc;
    CGdiSelect m_fontSelect;
    GdiBitmap m_bitmap;
    std::unique_ptr<CGdiSelect> m_bitmapSelect;
};

HFONT FontOrDefault(GdiFont& owned, const LOGFONTA& font) {
    owned.reset(CreateFontIndirectA(&font));
    if (owned) {
        return owned.get();
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool IsLit(const CxImage& text, long x, long y) {
    return text.GetPixelColor(x, y, false).blue != 0;
}

void CorrectSettings(TextSettings& settings) {
    if (settings.alignment < 0 || settings.alignment > 2) {
        settings.alignment = 1;
    }
    if (settings.cornerRadius > 50) {
        settings.cornerRadius = 10;
    }
    if (settings.boxOpacity > 1.0f || !(settings.boxOpacity >= 0.0f)) {
        settings.boxOpacity = 0.0f;
    }
}

UINT AlignmentFlag(LONG alignment) {
    if (alignment == 0) {
        return DT_LEFT;
    }
    return alignment == 2 ? DT_RIGHT : DT_CENTER;
}

}  // namespace

long CxImage::StampText(HDC dc,
                        long x,
                        long y,
                        const char* text,
                        ImageColorref color,
                        const char* fontName,
                        long fontHeight,
                        long weight,
                        BYTE italic,
                        BYTE underline,
                        bool withAlpha) {
    if (!IsValid() || text == nullptr) {
        return 1;
    }
    LOGFONTA font = {};
    if (fontName != nullptr) {
        std::strncpy(font.lfFaceName, fontName, kFaceNameBytes);
    }
    font.lfHeight = fontHeight;
    font.lfWeight = weight;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    GdiFont owned;
    TextCanvas canvas(dc, FontOrDefault(owned, font));
    const RECT measured = canvas.Measure(text, 0);
    const long textWidth = measured.right - measured.left;
    const long textHeight = measured.bottom - measured.top;
    if (textWidth <= 0 || textHeight <= 0 || !canvas.MakeBitmap(textWidth + textHeight, textHeight)) {
        return 1;
    }
    RECT area = {0, 0, textWidth + textHeight, textHeight};
    DrawTextA(canvas.Dc(), text, -1, &area, 0);
    GdiFlush();
    CxImage rendered;
    if (!canvas.ToImage(rendered)) {
        return 1;
    }
    RgbQuad ink = ColorrefToRgbQuad(color);
    ink.alpha = 255;
    const long bottom = static_cast<long>(GetHeight()) - y - 1;
    for (long row = 0; row < static_cast<long>(rendered.GetHeight()); row++) {
        for (long column = 0; column < static_cast<long>(rendered.GetWidth()); column++) {
            if (IsLit(rendered, column, row)) {
                SetPixelColor(x + column, bottom + row, ink, withAlpha);
            }
        }
    }
    return 1;
}

void CxImage::InitTextSettings(TextSettings* settings) {
    if (settings == nullptr) {
        return;
    }
    *settings = TextSettings{};
    std::strcpy(settings->text, "Sample Text 01234\xF5\xFB");
    settings->font.lfHeight = -36;
    settings->font.lfWeight = 400;
    settings->font.lfCharSet = EASTEUROPE_CHARSET;
    settings->font.lfQuality = PROOF_QUALITY;
    std::strcpy(settings->font.lfFaceName, "Arial");
    settings->textColor = 0xA0FFFF;
    settings->alignment = 1;
    settings->box = 1;
    settings->boxColor = 0x6020;
    settings->boxOpacity = 0.0f;
    settings->cornerRadius = 20;
}

long CxImage::StampTextBox(HDC dc, long x, long y, TextSettings* settings, bool withAlpha) {
    if (!IsValid() || settings == nullptr) {
        return -1;
    }
    CScreenDc screen;
    if (dc == nullptr) {
        dc = screen.Get();
    }
    CorrectSettings(*settings);
    // The caller's text may lack its terminator; never read past the record.
    settings->text[kTextSettingsChars - 1] = '\0';
    const char* text = settings->text;
    const long lines = 1 + static_cast<long>(std::count(text, text + std::strlen(text), '\r'));
    GdiFont owned;
    TextCanvas canvas(dc, FontOrDefault(owned, settings->font));
    const RECT measured = canvas.Measure(text, DT_NOPREFIX);
    long width = measured.right - measured.left;
    const long textHeight = measured.bottom - measured.top;
    if (settings->font.lfItalic) {
        width += textHeight / 2 / lines;
    }
    long radius = 0;
    long inset = 0;
    if (settings->box) {
        radius = (textHeight / lines) * settings->cornerRadius / 100;
        inset = static_cast<long>(radius * 0.29289);
        width += (textHeight / lines) / 3;
    }
    const long bitmapWidth = width + 2 * inset;
    const long bitmapHeight = textHeight + 2 * inset;
    if (bitmapWidth <= 0 || bitmapHeight <= 0 || !canvas.MakeBitmap(bitmapWidth, bitmapHeight)) {
        return 1;
    }
    RECT area = {0, 0, width, textHeight};
    DrawTextA(canvas.Dc(), text, -1, &area, AlignmentFlag(settings->alignment) | DT_NOPREFIX);
    GdiFlush();
    CxImage rendered;
    if (!canvas.ToImage(rendered)) {
        return 1;
    }
    if (settings->alignment == 1) {
        x = std::max(0L, x - bitmapWidth / 2);
    } else if (settings->alignment == 2) {
        x = std::max(0L, x - bitmapWidth);
    }
    const long bottom = static_cast<long>(GetHeight()) - (y + 1);
    if (settings->box) {
        RgbQuad boxColor = ColorrefToRgbQuad(settings->boxColor);
        boxColor.alpha = 255;
        const float opacity = settings->boxOpacity;
        for (long j = 0; j < bitmapHeight; j++) {
            for (long i = 0; i < bitmapWidth; i++) {
                const long fromEnd = std::min(i, bitmapWidth - 1 - i);
                if (fromEnd < radius) {
                    const float d = static_cast<float>(radius - fromEnd);
                    const float limit =
                        radius + 0.5f - std::sqrt(static_cast<float>(radius * radius) - d * d);
                    const long fromEdge = std::min(j, bitmapHeight - 1 - j);
                    if (fromEdge < limit) {
                        continue;
                    }
                }
                if (opacity > 0.0f && opacity < 1.0f) {
                    const RgbQuad old = GetPixelColor(x + i, bottom + j, true);
                    RgbQuad mixed = boxColor;
                    mixed.blue = static_cast<BYTE>(old.blue * opacity + boxColor.blue * (1 - opacity));
                    mixed.green = static_cast<BYTE>(old.green * opacity + boxColor.green * (1 - opacity));
                    mixed.red = static_cast<BYTE>(old.red * opacity + boxColor.red * (1 - opacity));
                    SetPixelColor(x + i, bottom + j, mixed, withAlpha);
                } else {
                    SetPixelColor(x + i, bottom + j, boxColor, withAlpha);
                }
            }
        }
    }
    RgbQuad ink = ColorrefToRgbQuad(settings->textColor);
    ink.alpha = 255;
    for (long row = 0; row < static_cast<long>(rendered.GetHeight()); row++) {
        for (long column = 0; column < static_cast<long>(rendered.GetWidth()); column++) {
            if (IsLit(rendered, column, row)) {
                SetPixelColor(x + column + inset, bottom + row - inset, ink, withAlpha);
            }
        }
    }
    return 1;
}
