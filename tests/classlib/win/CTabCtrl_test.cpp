// A tab control with three tabs tells its parent of a click on another tab through
// ON_NOTIFY, and its item calls reach the control.
#include "classlib/win/CTabCtrl.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr UINT kTabId = 500;

class CTabHostWnd : public CWnd {
public:
    CTabCtrl m_tabs;
    std::vector<int> m_selections;  // the tab selected at each TCN_SELCHANGE

protected:
    void OnSelChange(NMHDR* header, LRESULT* result) {
        m_selections.push_back(m_tabs.GetCurSel());
        *result = 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTabHostWnd, CWnd)
    ON_NOTIFY(TCN_SELCHANGE, kTabId, OnSelChange)
END_MESSAGE_MAP()

void ClickAt(HWND hwnd, const CRect& rect) {
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, point);
}

}  // namespace

TEST(CTabCtrl, ClickOnAnotherTabReachesTheParentAsSelectionChange) {
    CTabHostWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, nullptr, "tabs", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, nullptr));
    ASSERT_TRUE(host.m_tabs.Create(WS_VISIBLE, CRect(0, 0, 300, 200), &host, kTabId));
    int next = 0;
    for (const char* name : {"First", "Second", "Third"}) {
        EXPECT_EQ(next, host.m_tabs.InsertItem(next, name));
        ++next;
    }
    ASSERT_EQ(3, host.m_tabs.GetItemCount());
    EXPECT_EQ(0, host.m_tabs.GetCurSel());

    CRect third;
    ASSERT_TRUE(host.m_tabs.GetItemRect(2, &third));
    ClickAt(host.m_tabs.m_hWnd, third);
    EXPECT_EQ(std::vector<int>{2}, host.m_selections);

    // Selecting from code notifies nobody.
    EXPECT_EQ(2, host.m_tabs.SetCurSel(1));
    EXPECT_EQ(1u, host.m_selections.size());

    char text[16] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ASSERT_TRUE(host.m_tabs.GetItem(1, &item));
    EXPECT_STREQ("Second", text);

    // The display area lies inside the window area, below the tabs.
    CRect display(0, 0, 300, 200);
    host.m_tabs.AdjustRect(FALSE, &display);
    EXPECT_GT(display.top, third.top);
    EXPECT_LT(display.Width(), 300);
}
