// GDI object owners: each deletes its object, lets go of it on Detach, refuses a
// second object, and the descriptions (fonts, bitmaps, regions, palettes) read back.
#include "classlib/win/CBitmap.h"
#include "classlib/win/CBrush.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CPalette.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CRgn.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

TEST(CGdiObject, OwnerDeletesItsObjectUnlessDetached) {
    HGDIOBJ deleted = nullptr;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        deleted = brush.m_hObject;
        EXPECT_EQ(static_cast<UINT>(OBJ_BRUSH), brush.GetObjectType());
        EXPECT_FALSE(brush.CreateSolidBrush(RGB(4, 5, 6)));  // one object per owner
        EXPECT_EQ(deleted, brush.m_hObject);
    }
    EXPECT_EQ(0u, static_cast<UINT>(GetObjectType(deleted)));

    HGDIOBJ kept = nullptr;
    {
        CPen pen;
        ASSERT_TRUE(pen.CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
        kept = pen.Detach();
        EXPECT_EQ(nullptr, pen.m_hObject);
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(kept));
    CPen again;
    EXPECT_TRUE(again.Attach(kept));  // and the new owner deletes it
}

TEST(CFont, LogFontReadsBackWhatTheFontWasMadeFrom) {
    LOGFONTA wanted = {};
    wanted.lfHeight = -13;
    wanted.lfWeight = FW_BOLD;
    wanted.lfItalic = TRUE;
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(wanted.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&wanted));
    LOGFONTA got = {};
    ASSERT_TRUE(font.GetLogFont(&got));
    // Whole structures compare equal: callers test fonts for sameness this way.
    EXPECT_EQ(0, std::memcmp(&wanted, &got, sizeof(LOGFONTA)));

    CFont empty;
    EXPECT_FALSE(empty.GetLogFont(&got));
    EXPECT_FALSE(empty.CreateFontIndirect(nullptr));
}

TEST(CRgn, CombinedRegionsContainTheirParts) {
    CRgn left;
    CRgn right;
    CRgn both;
    ASSERT_TRUE(left.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(right.CreateRectRgn(20, 0, 30, 10));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&left, &right, RGN_OR));

    struct Case {
        int x;
        int y;
        BOOL inside;
    };

    for (const Case& c : {Case{5, 5, TRUE}, Case{25, 5, TRUE}, Case{15, 5, FALSE}, Case{5, 10, FALSE}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(c.inside, both.PtInRegion(c.x, c.y));
    }
    CRect box;
    EXPECT_EQ(COMPLEXREGION, both.GetRgnBox(&box));
    EXPECT_EQ(30, box.Width());
    // A missing operand is refused rather than passed to GDI as null.
    EXPECT_EQ(ERROR, both.CombineRgn(&left, nullptr, RGN_AND));
    CRgn none;
    EXPECT_EQ(ERROR, none.CombineRgn(&left, &right, RGN_OR));
}

TEST(CBitmapAndCPalette, DescriptionsReadBack) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(7, 5, 1, 32, nullptr));
    EXPECT_EQ(CSize(7, 5), bitmap.GetBitmapDimension());
    EXPECT_EQ(CSize(), CBitmap().GetBitmapDimension());
    EXPECT_FALSE(bitmap.CreateCompatibleBitmap(nullptr, 1, 1));

    std::vector<BYTE> storage(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(storage.data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = 4;
    for (int i = 0; i < 4; ++i) {
        logPalette->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i * 10), 0, 0, 0};
    }
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(logPalette));
    EXPECT_EQ(4, palette.GetEntryCount());
    PALETTEENTRY third = {};
    EXPECT_EQ(1u, palette.GetPaletteEntries(3, 1, &third));
    EXPECT_EQ(30, third.peRed);

    CPalette halftone;
    EXPECT_TRUE(halftone.CreateHalftonePalette(&dc));
    EXPECT_GT(halftone.GetEntryCount(), 0);
}
