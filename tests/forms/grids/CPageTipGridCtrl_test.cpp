// Grids whose tips come from their page: who is asked, when, and what shows.
#include "../../grid/GridTestHost.h"
#include "forms/CEventGridCtrl.h"
#include "forms/CTipGridCtrl.h"
#include "forms/GridTipRequest.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int kSize = 40;

// A parent window answering the tip requests of its grid with one fixed text.
class TipParent {
public:
    TipParent() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TipParentWindow";
        RegisterClassA(&windowClass);
        m_hwnd = CreateWindowExA(0, "TipParentWindow", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }

    ~TipParent() { DestroyWindow(m_hwnd); }

    HWND m_hwnd = nullptr;
    std::string m_answer;
    std::vector<CPoint> m_asked;  // GetTipCell at each request
    CTipGridCtrl* m_grid = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrA(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<TipParent*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self != nullptr && message == WM_GRID_TIP_REQUEST) {
            auto* request = reinterpret_cast<GridTipRequest*>(lParam);
            if (self->m_grid != nullptr) {
                self->m_asked.push_back(self->m_grid->GetTipCell());
            }
            request->text = self->m_answer.c_str();
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

void Build(CGridCtrl& grid, HWND parent) {
    ASSERT_TRUE(grid.Create(CRect(0, 0, 300, 200), CWnd::FromHandle(parent), 77));
    grid.SetRowCount(4);
    grid.SetColumnCount(6);
    grid.SetFixedRowCount(1);
    for (int row = 0; row < 4; ++row) {
        grid.SetRowHeight(row, kSize / 2);
    }
    for (int col = 0; col < 6; ++col) {
        grid.SetColumnWidth(col, kSize);
    }
    grid.SetFocus();
}

void Move(CGridCtrl& grid, int row, int col, UINT flags = 0) {
    grid.SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(col * kSize + 5, row * kSize / 2 + 5));
}

bool TipVisible() {
    HWND tip = FindWindowA("ZTitleTip", nullptr);
    return tip != nullptr && IsWindowVisible(tip);
}

}  // namespace

TEST(CTipGridCtrl, AsksItsParentForEveryCellAndShowsOnlyATextItGets) {
    TipParent parent;
    CTipGridCtrl grid;
    parent.m_grid = &grid;
    Build(grid, parent.m_hwnd);

    Move(grid, 0, 1);
    ASSERT_EQ(1u, parent.m_asked.size());
    EXPECT_EQ(CPoint(1, 0), parent.m_asked[0]);
    EXPECT_FALSE(TipVisible());

    parent.m_answer = "the long description";
    Move(grid, 2, 3);
    ASSERT_EQ(2u, parent.m_asked.size());
    EXPECT_EQ(CPoint(3, 2), parent.m_asked[1]);
    EXPECT_TRUE(TipVisible());

    grid.SendMessage(WM_KILLFOCUS);
    EXPECT_FALSE(TipVisible());
}

TEST(CTipGridCtrl, AsksNothingWhileTheLeftButtonDragsASelection) {
    TipParent parent;
    CTipGridCtrl grid;
    parent.m_grid = &grid;
    Build(grid, parent.m_hwnd);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kSize + 5, kSize / 2 + 5));
    Move(grid, 2, 3, MK_LBUTTON);
    EXPECT_TRUE(parent.m_asked.empty());
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3 * kSize + 5, kSize + 5));
    GridTestHost::Pump();
}

TEST(CEventGridCtrl, AsksItsPageOnlyForColumnsFourAndFiveBelowTheFirstRow) {
    TipParent parent;
    CEventGridCtrl grid;
    std::vector<CPoint> asked;
    grid.SetTipSource([&asked](CString& text, LOGFONTA& font, int row, int column) {
        asked.push_back(CPoint(column, row));
        text = "first occurrence";
    });
    Build(grid, parent.m_hwnd);
    const CPoint moves[] = {{4, 0}, {3, 2}, {4, 2}, {5, 3}, {0, 1}};
    for (const CPoint& cell : moves) {
        Move(grid, cell.y, cell.x);
    }
    const std::vector<CPoint> expected = {{4, 2}, {5, 3}};
    EXPECT_EQ(expected, asked);
    EXPECT_TRUE(TipVisible());
    grid.SendMessage(WM_KILLFOCUS);
}
