// The off-screen DC: nothing reaches the target until the end, then the whole area at once.
#include "forms/CMemoryDC.h"

#include "classlib/win/CDC.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTargetBackground = RGB(0, 0, 200);
constexpr COLORREF kDrawn = RGB(200, 0, 0);

// A DC that says it prints, as a printer DC does.
class CPrintingDC : public CDC {
public:
    CPrintingDC() { m_bPrinting = TRUE; }
};

// A 24-bit picture of 50 by 50 white pixels in dc, with a blue background colour.
class CTargetPicture {
public:
    explicit CTargetPicture(CDC& dc) : m_dc(dc) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 50, 50, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_dc.CreateCompatibleDC(nullptr);
        m_previous = m_dc.SelectObject(m_bitmap);
        m_dc.FillSolidRect(0, 0, 50, 50, kWhite);
        m_dc.SetBkColor(kTargetBackground);
    }

    ~CTargetPicture() {
        m_dc.SelectObject(m_previous);
        DeleteObject(m_bitmap);
    }

private:
    CDC& m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

TEST(CMemoryDC, CopiesTheWholeAreaToTheTargetWhenItEnds) {
    CDC target;
    const CTargetPicture picture(target);
    {
        CMemoryDC memory(&target, CRect(10, 10, 30, 30));
        memory.FillSolidRect(10, 10, 10, 10, kDrawn);
        EXPECT_EQ(kDrawn, memory.GetPixel(15, 15));
        EXPECT_EQ(kWhite, target.GetPixel(15, 15));
    }
    EXPECT_EQ(kDrawn, target.GetPixel(15, 15));
    // The rest of the area gets the target's background colour, and nothing outside changes.
    EXPECT_EQ(kTargetBackground, target.GetPixel(25, 25));
    EXPECT_EQ(kWhite, target.GetPixel(5, 5));
    EXPECT_EQ(kWhite, target.GetPixel(30, 30));
}

TEST(CMemoryDC, LeavesTheTargetAloneForAnEmptyArea) {
    CDC target;
    const CTargetPicture picture(target);
    { CMemoryDC memory(&target, CRect(20, 20, 20, 20)); }
    EXPECT_EQ(kWhite, target.GetPixel(20, 20));
    EXPECT_EQ(kWhite, target.GetPixel(19, 19));
}

TEST(CMemoryDC, DrawsStraightOnAPrintingTargetAndLeavesItsContext) {
    CPrintingDC target;
    const CTargetPicture picture(target);
    const HDC targetHandle = target.GetSafeHdc();
    {
        CMemoryDC memory(&target, CRect(10, 10, 30, 30));
        EXPECT_EQ(targetHandle, memory.GetSafeHdc());
        EXPECT_TRUE(memory.IsPrinting());
        EXPECT_EQ(kTargetBackground, target.GetPixel(25, 25));
    }
    EXPECT_EQ(targetHandle, target.GetSafeHdc());
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(targetHandle));
    EXPECT_EQ(kTargetBackground, target.GetPixel(25, 25));
}
