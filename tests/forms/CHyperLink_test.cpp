// The hyperlink static: link and hover colours, the underline while hovering, the end of
// the hover once the mouse has left, and the hand cursor.
#include "forms/CHyperLink.h"

#include "classlib/win/CRect.h"
#include "tests/forms/ControlTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

const CRect kLinkRect(20, 20, 180, 44);

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_link.Create("WWWW", WS_VISIBLE | SS_LEFT, kLinkRect, &m_parent, 700));
        m_link.SetURL("http://example.invalid/");
    }

    bool Shows(COLORREF color) {
        const CCapturedPixels pixels(m_link.GetSafeHwnd());
        return pixels.Contains(RECT{0, 0, pixels.Width(), pixels.Height()}, color);
    }

    bool Underlined() {
        LOGFONTA font = {};
        GetObjectA(m_link.GetFont(), sizeof(font), &font);
        return font.lfUnderline != 0;
    }

    CTestParentWnd m_parent;
    CHyperLink m_link;
};

}  // namespace

TEST_F(HyperLinkTest, DrawsInTheLinkColourOnTheButtonFace) {
    EXPECT_NE(0u, m_link.GetStyle() & SS_NOTIFY);
    EXPECT_TRUE(Shows(CHyperLink::kLinkColor));
    EXPECT_FALSE(Shows(CHyperLink::kHoverColor));
    const CCapturedPixels pixels(m_link.GetSafeHwnd());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pixels.At(pixels.Width() - 2, pixels.Height() - 2));
}

TEST_F(HyperLinkTest, HoversUntilATimerTickFindsTheMouseOutside) {
    SetCursorPos(kLinkRect.left + 40 + 5, kLinkRect.top + 40 + 5);
    m_link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(Underlined());
    EXPECT_TRUE(Shows(CHyperLink::kHoverColor));
    // A tick while the mouse is still over the link changes nothing.
    m_link.PostMessage(WM_TIMER, CHyperLink::kHoverTimerId);
    PumpMessages();
    EXPECT_TRUE(Underlined());
    // No further mouse message reaches the link once the mouse has left; the timer ends it.
    SetCursorPos(600, 600);
    m_link.PostMessage(WM_TIMER, CHyperLink::kHoverTimerId);
    PumpMessages();
    EXPECT_FALSE(Underlined());
    EXPECT_TRUE(Shows(CHyperLink::kLinkColor));
    EXPECT_FALSE(Shows(CHyperLink::kHoverColor));
}

TEST_F(HyperLinkTest, ShowsTheHandCursor) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(TRUE, m_link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_link.GetSafeHwnd()),
                                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursor(nullptr, IDC_HAND), GetCursor());
}
