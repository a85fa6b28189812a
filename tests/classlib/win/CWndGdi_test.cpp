// Window painting messages: WM_CTLCOLOR* offered to the control's own object first,
// the parent's colour handler, WM_ERASEBKGND with a DC, window DCs, scroll bars.
#include "classlib/win/CBrush.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CStatic.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kStaticId = 300;
constexpr UINT kPlainStaticId = 301;
constexpr COLORREF kLinkColor = RGB(0, 0, 200);

// A static that paints itself: its own brush and text colour, or none when asked.
class CColouredStatic : public CStatic {
public:
    CColouredStatic() { m_brush.CreateSolidBrush(RGB(10, 200, 30)); }

    BOOL m_useOwnColours = TRUE;
    int m_calls = 0;
    UINT m_lastType = 99;
    CBrush m_brush;

protected:
    HBRUSH CtlColor(CDC* dc, UINT controlType) {
        ++m_calls;
        m_lastType = controlType;
        if (!m_useOwnColours) {
            return nullptr;
        }
        dc->SetTextColor(kLinkColor);
        return m_brush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColouredStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A parent that erases with its own colour and sees the colour requests of plain children.
class CPaintingParent : public CWnd {
public:
    int m_erases = 0;
    int m_parentColours = 0;
    CBrush m_parentBrush;

    CPaintingParent() { m_parentBrush.CreateSolidBrush(RGB(1, 1, 1)); }

protected:
    BOOL OnEraseBkgnd(CDC* dc) {
        ++m_erases;
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(&client, RGB(200, 0, 0));
        return TRUE;
    }

    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT controlType) {
        // Children with colours of their own answer first, as the base does it.
        const HBRUSH childBrush = CWnd::OnCtlColor(dc, control, controlType);
        if (control != nullptr && control->GetDlgCtrlID() == static_cast<int>(kPlainStaticId)) {
            ++m_parentColours;
            return m_parentBrush;
        }
        return childBrush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintingParent, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class WndGdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100),
                                      nullptr, nullptr));
        ASSERT_TRUE(m_static.Create("link", WS_VISIBLE, CRect(10, 10, 90, 30), &m_parent, kStaticId));
        ASSERT_TRUE(m_plain.Create("plain", WS_VISIBLE, CRect(10, 40, 90, 60), &m_parent, kPlainStaticId));
        ASSERT_TRUE(m_memory.CreateCompatibleDC(nullptr));
    }

    LRESULT SendColour(const CWnd& control) {
        return m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(m_memory.m_hDC),
                                    reinterpret_cast<LPARAM>(control.m_hWnd));
    }

    CPaintingParent m_parent;
    CColouredStatic m_static;
    CStatic m_plain;
    CDC m_memory;
};

}  // namespace

TEST_F(WndGdiTest, ReflectedColourBrushReachesTheChildControl) {
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_static.m_brush)), SendColour(m_static));
    EXPECT_EQ(kLinkColor, m_memory.GetTextColor());
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), m_static.m_lastType);

    // The static asks its parent while painting: the request ends at the static's object.
    const int before = m_static.m_calls;
    m_static.RedrawWindow();
    EXPECT_GT(m_static.m_calls, before);
}

TEST_F(WndGdiTest, ChildWithoutColoursLeavesThemToTheParent) {
    m_static.m_useOwnColours = FALSE;
    const LRESULT brush = SendColour(m_static);
    EXPECT_NE(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_static.m_brush)), brush);
    EXPECT_EQ(1, m_static.m_calls);

    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_parent.m_parentBrush)), SendColour(m_plain));
    EXPECT_EQ(1, m_parent.m_parentColours);
}

TEST_F(WndGdiTest, EraseHandlerGetsTheSendersDcAndAnswers) {
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, 100, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = memory.SelectObject(bitmap);
    EXPECT_EQ(TRUE, m_parent.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.m_hDC)));
    EXPECT_EQ(RGB(200, 0, 0), memory.GetPixel(150, 50));
    // The handler only borrowed the DC: it still works here.
    EXPECT_EQ(RGB(200, 0, 0), memory.GetPixel(0, 0));
    memory.SelectObject(previous);
    DeleteObject(bitmap);
}

TEST_F(WndGdiTest, WindowDcIsLentAndGivenBack) {
    CDC* dc = m_parent.GetDC();
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(WindowFromDC(dc->m_hDC), m_parent.m_hWnd);
    EXPECT_EQ(1, m_parent.ReleaseDC(dc));
    EXPECT_EQ(0, m_parent.ReleaseDC(nullptr));
}

TEST(CWndScroll, ScrollInfoRoundTripsAndLimitAllowsForThePage) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "scroll", WS_POPUP | WS_VSCROLL | WS_HSCROLL, CRect(0, 0, 100, 100),
                             nullptr, nullptr));
    SCROLLINFO info = {};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 99;
    info.nPage = 10;
    info.nPos = 40;
    EXPECT_TRUE(wnd.SetScrollInfo(SB_VERT, &info));
    SCROLLINFO got = {};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &got));
    EXPECT_EQ(40, got.nPos);
    EXPECT_EQ(10u, got.nPage);
    EXPECT_EQ(90, wnd.GetScrollLimit(SB_VERT));
    EXPECT_EQ(40, wnd.SetScrollPos(SB_VERT, 500));
    EXPECT_EQ(90, wnd.GetScrollPos(SB_VERT));  // clamped to the limit

    wnd.SetScrollRange(SB_HORZ, 5, 50);
    int low = 0;
    int high = 0;
    wnd.GetScrollRange(SB_HORZ, &low, &high);
    EXPECT_EQ(5, low);
    EXPECT_EQ(50, high);
}
