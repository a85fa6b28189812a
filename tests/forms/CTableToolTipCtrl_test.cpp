// The multi-column tooltip under Wine: its size and place when it shows, and its drawing
// in the custom-draw stages.
#include "forms/CTableToolTipCtrl.h"

#include "classlib/win/CRect.h"
#include "classlib/win/CStatic.h"
#include "tests/forms/ControlTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

class TableToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_label.Create("label", WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 110, 30), &m_parent, 800));
        ASSERT_TRUE(m_tip.Create(&m_parent, TTS_NOPREFIX));
        ASSERT_TRUE(m_tip.AddTool(&m_label, "tip"));
    }

    void TearDown() override { m_tip.DestroyWindow(); }

    // The tooltip's TTN_SHOW, as its owner gets it.
    LRESULT Show() {
        NMHDR header = {m_tip.GetSafeHwnd(), 0, static_cast<UINT>(TTN_SHOW)};
        return m_parent.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }

    SIZE TextSize(const char* text) {
        const HDC dc = GetDC(m_tip.GetSafeHwnd());
        const HGDIOBJ previous = SelectObject(dc, m_tip.GetFont());
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        SelectObject(dc, previous);
        ReleaseDC(m_tip.GetSafeHwnd(), dc);
        return size;
    }

    RECT TipRect() const {
        RECT rect = {};
        m_tip.GetWindowRect(&rect);
        return rect;
    }

    CTestParentWnd m_parent;
    CStatic m_label;
    CTableToolTipCtrl m_tip;
};

}  // namespace

TEST_F(TableToolTipTest, SizesItselfToTheTablePlusItsMarginsBelowTheCursor) {
    m_tip.SetTableText("a\tbb\nccc");
    m_tip.SetMargins(2, 1, 3, 4);
    RECT margin = {5, 6, 7, 8};
    m_tip.SetMargin(&margin);
    SetCursorPos(300, 300);
    EXPECT_EQ(1, Show());
    const int width = std::max(TextSize("a").cx, TextSize("ccc").cx) + 5 + TextSize("bb").cx + 5 + 5 + 7;
    const int height = 2 * (TextSize("a").cy + 5) + 6 + 8;
    const RECT rect = TipRect();
    EXPECT_EQ(width, rect.right - rect.left);
    EXPECT_EQ(height, rect.bottom - rect.top);
    EXPECT_EQ(300, rect.left);
    EXPECT_EQ(300 + GetSystemMetrics(SM_CYCURSOR), rect.top);
}

TEST_F(TableToolTipTest, StaysInsideTheWorkArea) {
    m_tip.SetTableText("a rather long first cell\tand a second one");
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetCursorPos(work.right - 2, work.bottom - 2);
    Show();
    const RECT rect = TipRect();
    EXPECT_EQ(work.right, rect.right);
    EXPECT_EQ(work.bottom, rect.bottom);
}

TEST_F(TableToolTipTest, SitsNextToTheWindowUnderTheCursor) {
    m_tip.SetTableText("x");
    m_tip.SetPlacement(4);
    // Above the windows of tests that run beside this one, so that the label is the window
    // under the cursor.
    ::SetWindowPos(m_parent.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT label = {};
    m_label.GetWindowRect(&label);
    SetCursorPos(label.left + 5, label.top + 5);
    Show();
    const RECT rect = TipRect();
    EXPECT_EQ(label.right, rect.left);
    EXPECT_EQ(label.bottom, rect.top);
}

TEST_F(TableToolTipTest, HidesItsOwnTextAndDrawsTheCellsAfterIt) {
    m_tip.SetColumnTemplates("WWWWWWWWWW");
    m_tip.SetTableText("\\rbW");
    const int width = TextSize("WWWWWWWWWW").cx;
    const int height = TextSize("W").cy;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width + 20, height + 20, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF background = m_tip.GetTipBkColor();
    const RECT all = {0, 0, width + 20, height + 20};
    const HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    NMTTCUSTOMDRAW draw = {};
    draw.nmcd.hdr = {m_tip.GetSafeHwnd(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.nmcd.hdc = dc;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(CDRF_NOTIFYPOSTPAINT, m_parent.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)));
    EXPECT_EQ(background, GetTextColor(dc));
    EXPECT_EQ(background, GetBkColor(dc));
    draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
    EXPECT_EQ(CDRF_SKIPDEFAULT, m_parent.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)));
    // The right-aligned W sits in the last character places of the template's width.
    bool leftHalf = false;
    bool rightPart = false;
    for (int y = 0; y < height + 20; ++y) {
        for (int x = 0; x < width + 20; ++x) {
            if (GetPixel(dc, x, y) != background) {
                (x < width / 2 ? leftHalf : rightPart) = true;
            }
        }
    }
    EXPECT_FALSE(leftHalf);
    EXPECT_TRUE(rightPart);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    EXPECT_EQ(CDRF_DODEFAULT, m_parent.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
