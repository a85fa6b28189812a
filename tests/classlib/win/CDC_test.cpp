// Drawing into a memory DC and reading the pixels back: fills, shapes with selected
// pens and brushes, block copies, and the DC state put back by scoped selection and
// SaveDC/RestoreDC.
#include "classlib/win/CDC.h"

#include "classlib/win/CBitmap.h"
#include "classlib/win/CBrush.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CScopedSelect.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSide = 16;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A memory DC with a 24-bit bitmap of its own, so colours read back exactly.
class MemoryCanvas {
public:
    explicit MemoryCanvas(int width = kSide, int height = kSide) {
        m_dc.CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        m_bitmap.Attach(CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_previous = m_dc.SelectObject(&m_bitmap);
    }

    ~MemoryCanvas() { m_dc.SelectObject(m_previous); }

    CDC& Dc() { return m_dc; }

private:
    CDC m_dc;
    CBitmap m_bitmap;  // declared after the DC: deleted first, once unselected
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

TEST(CDC, ShapesDrawnWithSelectedPenAndBrushReadBack) {
    MemoryCanvas canvas;
    CDC& dc = canvas.Dc();
    dc.FillSolidRect(0, 0, kSide, kSide, kWhite);
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, kRed));
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(kBlue));
    {
        CScopedSelect withPen(dc, pen);
        CScopedSelect withBrush(dc, brush);
        ASSERT_TRUE(withPen.IsSelected());
        dc.Rectangle(2, 2, 10, 10);
        dc.MoveTo(0, 14);
        dc.LineTo(kSide, 14);
    }
    // Both owners can go now: the DC holds the stock objects again.
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));

    struct Case {
        int x;
        int y;
        COLORREF color;
    };

    for (const Case& c : {Case{2, 2, kRed}, Case{9, 5, kRed}, Case{5, 5, kBlue}, Case{10, 10, kWhite},
                          Case{0, 14, kRed}, Case{15, 14, kRed}, Case{0, 0, kWhite}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(c.color, dc.GetPixel(c.x, c.y));
    }
}

TEST(CDC, BlockCopiesMoveAndScalePixels) {
    MemoryCanvas source;
    source.Dc().FillSolidRect(0, 0, kSide, kSide, kGreen);
    source.Dc().FillSolidRect(0, 0, 2, 2, kRed);
    MemoryCanvas target(2 * kSide, 2 * kSide);
    target.Dc().FillSolidRect(0, 0, 2 * kSide, 2 * kSide, kWhite);

    ASSERT_TRUE(target.Dc().BitBlt(4, 4, 4, 4, &source.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(kRed, target.Dc().GetPixel(5, 5));
    EXPECT_EQ(kGreen, target.Dc().GetPixel(7, 7));
    EXPECT_EQ(kWhite, target.Dc().GetPixel(8, 8));

    // Twice the size: the 2x2 red corner becomes 4x4.
    ASSERT_TRUE(
        target.Dc().StretchBlt(0, 0, 2 * kSide, 2 * kSide, &source.Dc(), 0, 0, kSide, kSide, SRCCOPY));
    EXPECT_EQ(kRed, target.Dc().GetPixel(3, 3));
    EXPECT_EQ(kGreen, target.Dc().GetPixel(4, 4));
    EXPECT_EQ(kGreen, target.Dc().GetPixel(31, 31));
}

TEST(CDC, RestoreDCBringsBackColoursOriginAndObjects) {
    MemoryCanvas canvas;
    CDC& dc = canvas.Dc();
    dc.SetTextColor(kRed);
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    const int saved = dc.SaveDC();
    ASSERT_NE(0, saved);
    dc.SetTextColor(kBlue);
    dc.SetWindowOrg(5, 5);
    dc.SelectStockObject(ANSI_FIXED_FONT);
    ASSERT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(kRed, dc.GetTextColor());
    EXPECT_EQ(CPoint(0, 0), dc.SetWindowOrg(0, 0));
    EXPECT_EQ(font, GetCurrentObject(dc, OBJ_FONT));
}

TEST(CDC, TextIsMeasuredAndDrawnInTheTextColour) {
    MemoryCanvas canvas(64, kSide);
    CDC& dc = canvas.Dc();
    dc.FillSolidRect(0, 0, 64, kSide, kWhite);
    dc.SelectStockObject(ANSI_FIXED_FONT);
    const CSize one = dc.GetTextExtent("W", 1);
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(3 * one.cx, dc.GetTextExtent("WWW", 3).cx);  // a fixed-pitch font

    CRect measured(0, 0, 0, 0);
    EXPECT_GT(dc.DrawText("WW", 2, &measured, DT_CALCRECT | DT_SINGLELINE), 0);
    EXPECT_EQ(2 * one.cx, measured.Width());

    dc.SetTextColor(kBlue);
    dc.SetBkMode(TRANSPARENT);
    CRect box(0, 0, 64, kSide);
    dc.DrawText("WWWW", 4, &box, DT_SINGLELINE | DT_LEFT | DT_TOP);
    int blue = 0;
    for (int x = 0; x < 4 * one.cx; ++x) {
        for (int y = 0; y < kSide; ++y) {
            blue += dc.GetPixel(x, y) == kBlue ? 1 : 0;
        }
    }
    EXPECT_GT(blue, 0);
    EXPECT_EQ(kWhite, dc.GetPixel(63, 0));  // nothing outside the text
}
