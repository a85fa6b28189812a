// The form page base in a host with a tab control: fitting into the tab's display area,
// the scroll range, each way of scrolling and the keys that must not end a page.
#include "forms/CScrollPage.h"

#include "tests/forms/FormsTestIds.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

class ScrollPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(m_host.Create(IDD_FORMS_TEST_HOST, nullptr));
        ASSERT_TRUE(m_tabs.Attach(::GetDlgItem(m_host.GetSafeHwnd(), IDC_FORMS_TEST_TABS)));
        m_page.SetTabCtrl(&m_tabs);
        ASSERT_TRUE(m_page.Create(IDD_FORMS_TEST_PAGE, &m_host));
        RECT client = {};
        m_page.GetClientRect(&client);
        m_height = client.bottom - client.top;
        m_editTop = EditTop();
        ASSERT_GT(m_height, 64);
    }

    void TearDown() override {
        m_page.DestroyWindow();
        m_tabs.Detach();
        m_host.DestroyWindow();
    }

    int EditTop() const {
        RECT edit = {};
        ::GetWindowRect(::GetDlgItem(m_page.GetSafeHwnd(), IDC_FORMS_TEST_EDIT), &edit);
        ::MapWindowPoints(nullptr, m_page.GetSafeHwnd(), reinterpret_cast<POINT*>(&edit), 2);
        return edit.top;
    }

    void Scroll(UINT code, int position = 0) {
        m_page.SendMessage(WM_VSCROLL, MAKEWPARAM(code, position), 0);
    }

    void Wheel(short delta) { m_page.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(10, 10)); }

    // The position as the page, its scroll bar and its moved controls all tell it.
    void ExpectPosition(int expected, const char* what) {
        EXPECT_EQ(expected, m_page.GetScrollPosition()) << what;
        EXPECT_EQ(expected, m_page.GetScrollPos(SB_VERT)) << what;
        EXPECT_EQ(m_editTop - expected, EditTop()) << what;
    }

    CDialog m_host;
    CWnd m_tabs;
    CScrollPage m_page{IDD_FORMS_TEST_PAGE, nullptr};
    int m_height = 0;
    int m_editTop = 0;
};

}  // namespace

TEST_F(ScrollPageTest, FillsTheDisplayAreaOfTheTabControl) {
    RECT area = {};
    m_host.GetClientRect(&area);
    m_tabs.SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    RECT page = {};
    m_page.GetWindowRect(&page);
    ::MapWindowPoints(nullptr, m_host.GetSafeHwnd(), reinterpret_cast<POINT*>(&page), 2);
    EXPECT_EQ(area.left, page.left);
    EXPECT_EQ(area.top, page.top);
    EXPECT_EQ(area.right, page.right);
    EXPECT_EQ(area.bottom, page.bottom);
}

TEST_F(ScrollPageTest, ContentThatFitsNeverScrolls) {
    m_page.SetContentHeight(m_height);
    Scroll(SB_LINEDOWN);
    Scroll(SB_PAGEDOWN);
    Scroll(SB_THUMBTRACK, 20);
    Wheel(-120);
    ExpectPosition(0, "fitting content");
}

TEST_F(ScrollPageTest, TallContentGetsARangeOfItsHeightWithAPageOfTheClient) {
    m_page.SetContentHeight(3 * m_height);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(m_page.GetScrollInfo(SB_VERT, &info));
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(3 * m_height, info.nMax);
    EXPECT_EQ(static_cast<UINT>(m_height), info.nPage);
    EXPECT_EQ(0, info.nPos);
}

TEST_F(ScrollPageTest, ScrollsByLinePageThumbAndWheelWithinTheOverflow) {
    const int h = m_height;
    const int overflow = 2 * h;
    m_page.SetContentHeight(3 * h);

    enum Kind {
        kBar,
        kWheel
    };

    struct Step {
        const char* what;
        Kind kind;
        int code;  // scroll code, or the wheel delta
        int thumb;
        int expected;
    };

    const Step steps[] = {
        {"line down", kBar, SB_LINEDOWN, 0, h / 16},
        {"page down", kBar, SB_PAGEDOWN, 0, h / 16 + h},
        {"thumb dragged one past the end", kBar, SB_THUMBTRACK, overflow + 1, overflow},
        {"line down at the end", kBar, SB_LINEDOWN, 0, overflow},
        {"page down at the end", kBar, SB_PAGEDOWN, 0, overflow},
        {"end of scrolling", kBar, SB_ENDSCROLL, 0, overflow},
        {"wheel forward by four notches", kWheel, 480, 0, overflow - h / 8},
        {"wheel forward by one notch", kWheel, 120, 0, overflow - 2 * (h / 8)},
        {"wheel back", kWheel, -120, 0, overflow - h / 8},
        {"page up", kBar, SB_PAGEUP, 0, overflow - h / 8 - h},
        {"thumb released near the top", kBar, SB_THUMBPOSITION, 5, 5},
        {"thumb to where it is", kBar, SB_THUMBTRACK, 5, 5},
        {"line up past the top", kBar, SB_LINEUP, 0, 0},
        {"page up at the top", kBar, SB_PAGEUP, 0, 0},
        {"wheel forward at the top", kWheel, 120, 0, 0},
    };
    for (const Step& step : steps) {
        if (step.kind == kWheel) {
            Wheel(static_cast<short>(step.code));
        } else {
            Scroll(static_cast<UINT>(step.code), step.thumb);
        }
        ExpectPosition(step.expected, step.what);
    }
}

TEST_F(ScrollPageTest, ContentOnePixelTallerScrollsByOnePixel) {
    m_page.SetContentHeight(m_height + 1);
    Scroll(SB_LINEDOWN);
    ExpectPosition(1, "line down");
    Wheel(-120);
    ExpectPosition(1, "wheel at the end");
}

TEST_F(ScrollPageTest, ContentLaidOutAnewStartsAtTheTop) {
    m_page.SetContentHeight(3 * m_height);
    Scroll(SB_PAGEDOWN);
    m_page.SetContentHeight(2 * m_height);
    ExpectPosition(0, "taller content again");
    Scroll(SB_PAGEDOWN);
    m_page.SetContentHeight(m_height / 2);
    ExpectPosition(0, "content that fits now");
    Wheel(-120);
    ExpectPosition(0, "wheel once it fits");
    m_page.SetContentHeight(3 * m_height);
    Scroll(SB_PAGEDOWN);
    ExpectPosition(m_height, "tall once more");
    EXPECT_TRUE(m_page.GetStyle() & WS_VSCROLL);
}

TEST_F(ScrollPageTest, EnterAndEscapeLeaveThePageAlive) {
    // What the dialog manager sends a page for Enter and Escape.
    EXPECT_EQ(TRUE, m_page.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0));
    m_page.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(m_page.IsWindow());
    EXPECT_TRUE(m_page.IsWindowVisible());
}
