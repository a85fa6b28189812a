// The grid window driven with messages under a display: cell bookkeeping, keys, editing,
// mouse, scrolling and what it paints.
#include "grid/CGridCtrl.h"

#include "GridTestFixture.h"
#include "GridTestHost.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CFont.h"
#include "grid/CGridCell.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridDefaultCell.h"
#include "grid/CGridTipWnd.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

int CountSelected(const CGridCtrl& grid) {
    int count = 0;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            count += grid.IsCellSelected(row, col) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST(CGridCtrlAttach, TakesOverAWindowOfItsClassAndAddsTheClientEdge) {
    GridTestHost host;
    CGridCtrl::RegisterWindowClass();
    const HWND hwnd =
        CreateWindowExA(0, CGridCtrl::kWindowClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 80,
                        host.GetHwnd(), reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hwnd);
    CGridCtrl grid;
    ASSERT_TRUE(grid.SubclassWindow(hwnd));
    EXPECT_NE(0u, static_cast<UINT>(GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(0, grid.GetRowCount());
    EXPECT_EQ(0, grid.GetColumnCount());
}

TEST_F(GridTest, NewCellsCarryTheirFixedBitsAndTheDefaultFormat) {
    Build(3, 3);

    struct Case {
        int row, col;
        UINT bits;
    };

    const Case cases[] = {{0, 0, 0x70}, {0, 1, 0x30}, {1, 0, 0x50}, {1, 1, 0x00}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        EXPECT_EQ(c.bits, m_grid.GetCellState(c.row, c.col) & 0x70);
    }
    EXPECT_EQ(CGridDefaultCell::kDefaultFormat, m_grid.GetCellFormat(1, 1));
    // A later change of the default cell's format does not reach cells made before it.
    m_grid.GetDefaultCell(FALSE, FALSE)->SetFormat(DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(CGridDefaultCell::kDefaultFormat, m_grid.GetCellFormat(1, 1));
    EXPECT_TRUE(m_grid.GetDefaultCell(FALSE, FALSE)->IsReadOnly());
}

TEST_F(GridTest, ACellTextCanBeFormattedFromTheStringTable) {
    Build(3, 3);
    CString::SetStringLoader([](UINT id, CString& text) -> BOOL {
        if (id != 15999) {
            return FALSE;
        }
        text = "%d rpm (%s)";
        return TRUE;
    });
    EXPECT_TRUE(m_grid.SetCellTextFormatId(1, 1, 15999, 2500, "idle"));
    EXPECT_EQ(CString("2500 rpm (idle)"), m_grid.GetCellText(1, 1));
    const CString before = m_grid.GetCellText(1, 2);
    EXPECT_FALSE(m_grid.SetCellTextFormatId(1, 2, 15998, 1));
    EXPECT_EQ(before, m_grid.GetCellText(1, 2));
    CString::SetStringLoader(nullptr);
}

TEST_F(GridTest, InsertAndDeleteFollowTheIndexRulesAndDropTheSelection) {
    Build(4, 4);
    EXPECT_EQ(-1, m_grid.InsertRow("x", 4));
    EXPECT_EQ(-1, m_grid.InsertRow("x", 0));
    EXPECT_EQ(-1, m_grid.InsertColumn("x", DT_CENTER, 0));
    EXPECT_EQ(4, m_grid.InsertColumn("head", DT_CENTER, 4));
    EXPECT_EQ(CString("head"), m_grid.GetCellText(0, 4));
    EXPECT_EQ(2, m_grid.InsertRow("mid", 2));
    EXPECT_EQ(CString("mid"), m_grid.GetCellText(2, 0));
    EXPECT_EQ(CString("2,1"), m_grid.GetCellText(3, 1));

    m_grid.SetFocusRowCol(1, 1);
    m_grid.SetSelectedRange(1, 1, 2, 2);
    ASSERT_TRUE(m_grid.IsCellSelected(2, 2));
    EXPECT_TRUE(m_grid.DeleteRow(3));
    EXPECT_FALSE(m_grid.IsValid(m_grid.GetFocusCell()));
    EXPECT_FALSE(m_grid.IsValid(m_grid.GetSelectionBounds()));
    EXPECT_FALSE(m_grid.IsCellSelected(2, 2));

    m_grid.SetFixedRowCount(9);
    EXPECT_EQ(9, m_grid.GetRowCount());
}

TEST_F(GridTest, OnlyAnEditOfTheSortColumnForgetsTheSortOrder) {
    Build(3, 3);
    m_grid.SetSortColumn(2);
    m_grid.SetCellText(1, 1, "a");
    EXPECT_EQ(2, m_grid.GetSortColumn());
    m_grid.SetCellText(1, 2, "b");
    EXPECT_EQ(-1, m_grid.GetSortColumn());
    EXPECT_TRUE(m_grid.GetModified(1, 2));
    m_grid.SetModified(FALSE);
    EXPECT_FALSE(m_grid.GetModified(1, 2));
    EXPECT_FALSE(m_grid.GetModified(1, 1));
    m_grid.SetCellText(2, 2, "c");
    EXPECT_EQ(GridCellId(2, 2), m_grid.GetNextCell(GridCellId(1, 0), GRID_NEXT_ALL | GRID_NEXT_MODIFIED));
    EXPECT_EQ(GridCellId(2, 2), m_grid.GetNextCell(GridCellId(2, 0), GRID_NEXT_TORIGHT | GRID_NEXT_MODIFIED));
    EXPECT_EQ(GridCellId(), m_grid.GetNextCell(GridCellId(2, 2), GRID_NEXT_BELOW | GRID_NEXT_MODIFIED));
}

TEST_F(GridTest, ArrowsMoveTheFocusAndShiftExtendsFromTheStartCell) {
    Build(4, 4);
    m_grid.SetFocusRowCol(1, 1);
    Key(VK_RIGHT);
    EXPECT_EQ(GridCellId(1, 2), m_grid.GetFocusCell());
    const std::vector<GridTestEvent> moved = {{GRIDN_SELCHANGING, 1, 2}, {GRIDN_SELCHANGED, 1, 2}};
    EXPECT_EQ(moved, m_host.Events());

    GridTestHost::SetModifiers(false, true);
    Key(VK_DOWN);
    Key(VK_DOWN);
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ(GridCellId(3, 2), m_grid.GetFocusCell());
    EXPECT_EQ(GridCellRange(1, 2, 3, 2), m_grid.GetSelectionBounds());
    EXPECT_EQ(GRID_STATE_FOCUSED, m_grid.GetCellState(3, 2) & GRID_STATE_FOCUSED);
    EXPECT_EQ(0u, m_grid.GetCellState(1, 2) & GRID_STATE_FOCUSED);

    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(GridCellId(3, 1), m_grid.GetFocusCell());
    EXPECT_EQ(GridCellRange(3, 1, 3, 1), m_grid.GetSelectionBounds());

    m_grid.SetFocusRowCol(3, 3);
    Key(VK_TAB);
    EXPECT_EQ(GridCellId(3, 3), m_grid.GetFocusCell());
}

TEST_F(GridTest, TypingEditsTheCellAndDownMovesOnIntoTheNextEditor) {
    Build(4, 4);
    m_grid.SetFocusRowCol(1, 1);
    m_grid.SendMessage(WM_CHAR, 'x');
    GridTestHost::Pump();
    const HWND editor = Editor();
    ASSERT_NE(nullptr, editor);
    char className[16] = {};
    GetClassNameA(editor, className, sizeof(className));
    EXPECT_STREQ("Edit", className);
    char text[16] = {};
    GetWindowTextA(editor, text, sizeof(text));
    EXPECT_STREQ("x", text);
    EXPECT_TRUE(m_grid.IsCellEditing(1, 1));

    SendMessageA(editor, WM_KEYDOWN, VK_DOWN, 0);
    GridTestHost::Pump();
    EXPECT_EQ(CString("x"), m_grid.GetCellText(1, 1));
    EXPECT_FALSE(m_grid.IsCellEditing(1, 1));
    EXPECT_EQ(GridCellId(2, 1), m_grid.GetFocusCell());
    EXPECT_TRUE(m_grid.IsCellEditing(2, 1));
    const std::vector<GridTestEvent> edits = {
        {GRIDN_BEGINEDIT, 1, 1}, {GRIDN_ENDEDIT, 1, 1}, {GRIDN_BEGINEDIT, 2, 1}};
    EXPECT_EQ(edits, m_host.EventsOf({GRIDN_BEGINEDIT, GRIDN_ENDEDIT}));

    const HWND second = Editor();
    ASSERT_NE(nullptr, second);
    SetWindowTextA(second, "discarded");
    SendMessageA(second, WM_CHAR, VK_ESCAPE, 0);
    GridTestHost::Pump();
    EXPECT_EQ(nullptr, Editor());
    EXPECT_EQ(CString("2,1"), m_grid.GetCellText(2, 1));
    EXPECT_EQ(GridCellId(2, 1), m_grid.GetFocusCell());
}

// Rows and cells that change under an open editor: the edit ends first and reports to
// the cell that opened it, and no cell is left editing with an editor that is gone.
TEST_F(GridTest, ChangingRowsOrCellsUnderAnOpenEditorEndsTheEditFirst) {
    struct Case {
        const char* name;
        void (*change)(CGridCtrl& grid);
        GridCellId typedCell;  // where the typed text is afterwards; row -1: gone
    };

    const Case cases[] = {
        {"a row inserted above", [](CGridCtrl& g) { g.InsertRow("", 1); }, {3, 1}},
        {"the row deleted", [](CGridCtrl& g) { g.DeleteRow(2); }, {-1, -1}},
        {"the rows cut below it", [](CGridCtrl& g) { g.SetRowCount(2); }, {-1, -1}},
        {"every item deleted", [](CGridCtrl& g) { g.DeleteAllItems(); }, {-1, -1}},
        {"the cell's type changed",
         [](CGridCtrl& g) { g.ChangeCellType(2, 1, RUNTIME_CLASS(CGridCell)); },
         {2, 1}},
        {"sorted by its column", [](CGridCtrl& g) { g.SortByText(1, FALSE); }, {1, 1}},
        {"a column inserted left of it", [](CGridCtrl& g) { g.InsertColumn("", DT_LEFT, 1); }, {2, 2}},
        {"the column deleted", [](CGridCtrl& g) { g.DeleteColumn(1); }, {-1, -1}},
        {"the columns cut left of it", [](CGridCtrl& g) { g.SetColumnCount(1); }, {-1, -1}},
    };
    Build(5, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_grid.DeleteAllItems();
        Fill(5, 3);
        m_grid.SetFocusRowCol(2, 1);
        m_grid.SendMessage(WM_CHAR, 'z');
        GridTestHost::Pump();
        ASSERT_NE(nullptr, Editor());
        m_host.Events().clear();

        c.change(m_grid);
        GridTestHost::Pump();
        EXPECT_EQ(nullptr, Editor());
        EXPECT_EQ((std::vector<GridTestEvent>{{GRIDN_ENDEDIT, 2, 1}}), m_host.EventsOf({GRIDN_ENDEDIT}));
        for (int row = 0; row < m_grid.GetRowCount(); ++row) {
            for (int col = 0; col < m_grid.GetColumnCount(); ++col) {
                EXPECT_FALSE(m_grid.IsCellEditing(row, col)) << row << "," << col;
            }
        }
        if (c.typedCell.row >= 0) {
            EXPECT_EQ(CString("z"), m_grid.GetCellText(c.typedCell.row, c.typedCell.col));
        }
        // The next keystroke opens a fresh editor on whatever cell has the focus now.
        if (m_grid.IsValid(m_grid.GetFocusCell().row, m_grid.GetFocusCell().col)) {
            m_grid.SendMessage(WM_CHAR, 'q');
            GridTestHost::Pump();
        }
    }
}

TEST_F(GridTest, ARefusingParentKeepsTheOldTextAndReadOnlyCellsNeverOpen) {
    Build(3, 3);
    m_host.Answer(GRIDN_ENDEDIT, -1);
    m_grid.SetFocusRowCol(1, 1);
    m_grid.SendMessage(WM_CHAR, 'y');
    GridTestHost::Pump();
    ASSERT_NE(nullptr, Editor());
    SendMessageA(Editor(), WM_CHAR, VK_RETURN, 0);
    GridTestHost::Pump();
    EXPECT_EQ(nullptr, Editor());
    EXPECT_EQ(CString("1,1"), m_grid.GetCellText(1, 1));

    m_grid.SetCellState(1, 2, m_grid.GetCellState(1, 2) | GRID_STATE_READONLY);
    m_grid.SetFocusRowCol(1, 2);
    m_host.Events().clear();
    m_grid.SendMessage(WM_CHAR, 'z');
    GridTestHost::Pump();
    EXPECT_EQ(nullptr, Editor());
    EXPECT_TRUE(m_host.EventsOf({GRIDN_BEGINEDIT}).empty());
}

TEST_F(GridTest, DeleteClearsEditableSelectedCellsThroughTheBeginEditGate) {
    Build(3, 4);
    m_grid.SetFocusRowCol(1, 1);
    m_grid.SetSelectedRange(1, 1, 1, 3);
    m_grid.SetCellState(1, 3, m_grid.GetCellState(1, 3) | GRID_STATE_READONLY);
    Key(VK_DELETE);
    EXPECT_EQ(CString(""), m_grid.GetCellText(1, 1));
    EXPECT_EQ(CString(""), m_grid.GetCellText(1, 2));
    EXPECT_EQ(CString("1,3"), m_grid.GetCellText(1, 3));
    EXPECT_EQ(2u, m_host.EventsOf({GRIDN_BEGINEDIT}).size());
    EXPECT_EQ(2u, m_host.EventsOf({GRIDN_ENDEDIT}).size()) << "the page hears of each cleared cell";
}

// Delete, cut and paste tell the page of each new text as an edit's end does; a page that
// refuses keeps the old text, and one refusal ends a Delete.
TEST_F(GridTest, APageThatRefusesTheNewTextKeepsTheOldOnDeleteAndPaste) {
    Build(3, 4);
    m_host.Answer(GRIDN_ENDEDIT, -1);
    m_grid.SetFocusRowCol(1, 1);
    m_grid.SetSelectedRange(1, 1, 1, 3);
    Key(VK_DELETE);
    EXPECT_EQ(CString("1,1"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(CString("1,2"), m_grid.GetCellText(1, 2));
    EXPECT_EQ(CString("1,3"), m_grid.GetCellText(1, 3));
    EXPECT_EQ(1u, m_host.EventsOf({GRIDN_ENDEDIT}).size());

    m_host.Events().clear();
    EXPECT_TRUE(m_grid.PasteText(2, 1, "p\tq", FALSE));
    EXPECT_EQ(CString("2,1"), m_grid.GetCellText(2, 1));
    EXPECT_EQ(CString("2,2"), m_grid.GetCellText(2, 2));
    EXPECT_EQ((std::vector<GridTestEvent>{{GRIDN_ENDEDIT, 2, 1}, {GRIDN_ENDEDIT, 2, 2}}),
              m_host.EventsOf({GRIDN_ENDEDIT}));

    m_host.Answer(GRIDN_ENDEDIT, 0);
    EXPECT_TRUE(m_grid.PasteText(2, 1, "p", FALSE));
    EXPECT_EQ(CString("p"), m_grid.GetCellText(2, 1));
    EXPECT_TRUE(m_grid.GetModified(2, 1));
}

// Trouble codes, OBD values and the event log show read-only grids: Delete there changes
// neither a text nor what the user selected.
TEST_F(GridTest, DeleteOnAGridThatIsNotEditableKeepsTheSelection) {
    Build(3, 4);
    m_grid.SetEditable(FALSE);
    m_grid.SetFocusRowCol(1, 1);
    m_grid.SetSelectedRange(1, 1, 2, 3);
    Key(VK_DELETE);
    EXPECT_EQ(CString("1,1"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(6, CountSelected(m_grid));
    EXPECT_TRUE(m_grid.IsCellSelected(2, 3));
    EXPECT_TRUE(m_host.EventsOf({GRIDN_BEGINEDIT}).empty());
}

TEST_F(GridTest, SelectAllNamesThePressedCellThenTheFocusCell) {
    Build(4, 4);
    Click(CellCentre(2, 2));
    m_grid.SetFocusRowCol(3, 1);
    m_host.Events().clear();
    GridTestHost::SetModifiers(true, false);
    Key('A');
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ((std::vector<GridTestEvent>{{GRIDN_SELCHANGING, 2, 2}, {GRIDN_SELCHANGED, 3, 1}}),
              m_host.EventsOf({GRIDN_SELCHANGING, GRIDN_SELCHANGED}));
}

TEST_F(GridTest, AClickNotifiesInOrderAndPostsTheCommand) {
    Build(3, 3);
    Click(CellCentre(2, 1));
    EXPECT_EQ(GridCellId(2, 1), m_grid.GetFocusCell());
    const std::vector<GridTestEvent> clicked = {
        {GRIDN_SELCHANGING, 2, 1}, {GRIDN_SELCHANGED, 2, 1}, {GRIDN_CLICK, 2, 1}};
    EXPECT_EQ(clicked, m_host.Events());
    GridTestHost::Pump();
    ASSERT_EQ(4u, m_host.Events().size());
    EXPECT_EQ((GridTestEvent{0, static_cast<int>(GridTestHost::kGridId), 0}), m_host.Events().back());

    m_host.Events().clear();
    m_grid.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(290, 190));
    EXPECT_EQ((std::vector<GridTestEvent>{{GRIDN_RCLICK, -1, -1}}), m_host.Events());
}

TEST_F(GridTest, AJitterOnTheFocusCellStillStartsAnEdit) {
    Build(3, 3);
    m_grid.SetFocusRowCol(1, 1);
    const CPoint point = CellCentre(1, 1);
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    m_grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point.x + 1, point.y));
    m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x + 1, point.y));
    EXPECT_EQ(GridCellId(1, 1), m_grid.GetFocusCell());
    EXPECT_NE(nullptr, Editor());
    EXPECT_TRUE(m_grid.IsCellEditing(1, 1));
}

// A press on the focus cell's text waits for the release to edit; a drag from there selects
// instead and must hold the mouse, or a release outside the grid is never seen and the
// selection follows the bare mouse afterwards.
TEST_F(GridTest, ADragFromTheFocusCellHoldsTheMouseUntilItsRelease) {
    Build(4, 4);
    m_grid.SetFocusRowCol(1, 1);
    const CPoint start = CellCentre(1, 1);
    const CPoint end = CellCentre(2, 2);
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    m_grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
    EXPECT_EQ(m_grid.GetSafeHwnd(), GetCapture());
    EXPECT_EQ(4, CountSelected(m_grid));
    // Released outside the window: the capture brings the release to the grid.
    m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
    EXPECT_EQ(nullptr, GetCapture());
    const CPoint hover = CellCentre(3, 3);
    m_grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(hover.x, hover.y));
    EXPECT_EQ(4, CountSelected(m_grid));
    EXPECT_EQ(GridCellId(2, 2), m_grid.GetFocusCell());
    EXPECT_EQ(nullptr, Editor());
}

TEST_F(GridTest, DraggingAColumnDividerSizesTheColumnLeftOfIt) {
    Build(3, 4);
    const int divider = 2 * kWidth;  // between columns 1 and 2, in the fixed row
    Drag(CPoint(divider, 5), CPoint(divider + 25, 5));
    EXPECT_EQ(kWidth + 25, m_grid.GetColumnWidth(1));
    EXPECT_EQ(kWidth, m_grid.GetColumnWidth(2));
}

// The pointer also drifts sideways, so a drag that read the wrong axis would show.
TEST_F(GridTest, DraggingARowDividerSizesTheRowAboveIt) {
    Build(4, 3);
    const int divider = 2 * kHeight;  // between rows 1 and 2, in the fixed column
    Drag(CPoint(5, divider), CPoint(35, divider + 15));
    EXPECT_EQ(kHeight + 15, m_grid.GetRowHeight(1));
    EXPECT_EQ(kHeight, m_grid.GetRowHeight(2));
    EXPECT_EQ(kWidth, m_grid.GetColumnWidth(0));

    Drag(CPoint(5, divider + 15), CPoint(5, divider + 5));
    EXPECT_EQ(kHeight + 5, m_grid.GetRowHeight(1));
}

TEST_F(GridTest, LosingTheCaptureWhileSizingFreesTheCursorAndEndsTheDrag) {
    Build(3, 4);
    RECT unclipped = {};
    GetClipCursor(&unclipped);
    const int divider = 2 * kWidth;
    m_grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(divider, 5));
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(divider, 5));
    RECT during = {};
    GetClipCursor(&during);
    EXPECT_LT(during.right - during.left, unclipped.right - unclipped.left);

    SetCapture(m_host.GetHwnd());
    ReleaseCapture();
    RECT after = {};
    GetClipCursor(&after);
    EXPECT_EQ(unclipped.right - unclipped.left, after.right - after.left);
    m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(divider + 25, 5));
    EXPECT_EQ(kWidth, m_grid.GetColumnWidth(1));
}

TEST_F(GridTest, ScrollBarsAppearOnlyWhenTheCellsDoNotFit) {
    Build(4, 4);
    EXPECT_EQ(0, GetWindowLongA(m_grid.GetSafeHwnd(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));

    m_grid.SetRowCount(40);
    for (int row = 4; row < 40; ++row) {
        m_grid.SetRowHeight(row, kHeight);
    }
    EXPECT_NE(0, GetWindowLongA(m_grid.GetSafeHwnd(), GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(m_grid.GetSafeHwnd(), SB_VERT, &info);
    EXPECT_EQ(40 * kHeight - kHeight - 1, info.nMax);

    for (int i = 0; i < 20; ++i) {
        m_grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    }
    EXPECT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, m_grid.GetScrollPos32(SB_VERT));
    m_grid.SendMessage(WM_VSCROLL, SB_TOP);
    m_grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(kHeight, m_grid.GetScrollPos32(SB_VERT));
    EXPECT_EQ(GridCellId(2, 1), m_grid.GetTopleftNonFixedCell());
}

TEST_F(GridTest, AWheelNotchScrollsByTheWheelLines) {
    Build(40, 3);
    m_grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    const int start = m_grid.GetScrollPos32(SB_VERT);
    m_grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    GridTestHost::Pump();
    EXPECT_EQ(start - m_grid.GetMouseWheelLines() * kHeight, m_grid.GetScrollPos32(SB_VERT));
}

TEST_F(GridTest, PaintsBackgroundsGridLinesSelectionAndTheAreaBeyond) {
    Build(3, 3, 200, 100);
    m_grid.SetSelectedRange(2, 2, 2, 2);
    CRect client;
    m_grid.GetClientRect(client);
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), client.Width(), -client.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = memory.SelectObject(bitmap);
    const int savedLevel = memory.SaveDC();
    m_grid.OnDraw(&memory);
    EXPECT_EQ(savedLevel + 1, memory.SaveDC());
    memory.RestoreDC(-1);
    const auto pixel = [&](int x, int y) { return memory.GetPixel(x, y); };

    struct Case {
        const char* name;
        int x, y;
        COLORREF expected;
    };

    const Case cases[] = {
        {"normal cell", 42, 22, GetSysColor(COLOR_WINDOW)},
        {"fixed cell inside its frame", 42, 3, GetSysColor(COLOR_BTNFACE)},
        {"vertical grid line", 2 * kWidth - 1, 25, RGB(192, 192, 192)},
        {"horizontal grid line", 50, 2 * kHeight - 1, RGB(192, 192, 192)},
        {"selected cell", 2 * kWidth + 2, 2 * kHeight + 2, GetSysColor(COLOR_HIGHLIGHT)},
        {"beyond the cells", 3 * kWidth + 10, 10, GetSysColor(COLOR_BTNSHADOW)},
        {"below the cells", 10, 3 * kHeight + 10, GetSysColor(COLOR_BTNSHADOW)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, pixel(c.x, c.y));
    }
    memory.SelectObject(previous);
    DeleteObject(bitmap);
}

TEST_F(GridTest, EndingASelectionEarlyGivesTheCursorBack) {
    Build(3, 3);
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    m_grid.SetSelectedRange(-1, -1, -1, -1, TRUE);
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(GridTest, ACellTooWideForTheWindowIsScrolledToWithoutHanging) {
    Build(3, 4, 200, 100);
    m_grid.SetColumnWidth(3, 1000);
    m_grid.EnsureVisible(1, 3);
    EXPECT_EQ(GridCellId(1, 3), m_grid.GetTopleftNonFixedCell());
}

TEST_F(GridTest, AGridOfHeadersAloneTakesNoFocusCell) {
    Build(1, 1);
    m_grid.SendMessage(WM_SETFOCUS);
    EXPECT_EQ(GridCellId(), m_grid.GetFocusCell());
}

TEST_F(GridTest, CellsWithTheirOwnFontsKeepTheirFontObjectsAlive) {
    Build(3, 3);
    LOGFONTA first = *m_grid.GetDefaultCell(FALSE, FALSE)->GetFont();
    LOGFONTA second = first;
    second.lfHeight = first.lfHeight * 2;
    m_grid.SetCellFont(1, 1, &first);
    m_grid.SetCellFont(1, 2, &second);
    CFont* firstObject = m_grid.GetCell(1, 1)->GetFontObject();
    ASSERT_NE(nullptr, firstObject);
    const HGDIOBJ firstHandle = firstObject->GetSafeHandle();
    m_grid.GetCell(1, 2)->GetFontObject();
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(firstHandle));
    LOGFONTA readBack = {};
    GetObjectA(firstHandle, sizeof(readBack), &readBack);
    EXPECT_EQ(first.lfHeight, readBack.lfHeight);
}

TEST(CGridCellEdit, AnEditorThatCannotOpenLeavesTheCellNotEditing) {
    CGridCell cell;
    EXPECT_FALSE(cell.Edit(1, 1, CRect(0, 0, 10, 10), CPoint(-1, -1), CGridCtrl::kEditorId, 'a'));
    EXPECT_FALSE(cell.IsEditing());
    EXPECT_EQ(nullptr, cell.GetEditWindow());
}

TEST(CGridCellDraw, DrawsNothingWithoutAGridOrWithAnEmptyRectangle) {
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CGridCell loose;
    EXPECT_FALSE(loose.Draw(&memory, 1, 1, CRect(0, 0, 10, 10)));
    GridTestHost host;
    CGridCtrl grid(2, 2, 1, 1);
    ASSERT_TRUE(host.CreateGrid(grid, 100, 100));
    const int level = memory.SaveDC();
    EXPECT_FALSE(grid.GetCell(1, 1)->Draw(&memory, 1, 1, CRect(5, 5, 5, 20)));
    EXPECT_TRUE(grid.GetCell(1, 1)->Draw(&memory, 1, 1, CRect(5, 5, 30, 20)));
    EXPECT_EQ(level + 1, memory.SaveDC());
}

TEST_F(GridTest, AsksForTabOnlyWhileCtrlIsUp) {
    Build(2, 2);
    EXPECT_EQ(static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB),
              m_grid.SendMessage(WM_GETDLGCODE));
    GridTestHost::SetModifiers(true, false);
    EXPECT_EQ(static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTCHARS), m_grid.SendMessage(WM_GETDLGCODE));
    GridTestHost::SetModifiers(false, false);
}

TEST_F(GridTest, VirtualModeBracketsTheCellRequestsOfAPaintWithCacheHints) {
    ASSERT_TRUE(m_host.CreateGrid(m_grid, 200, 100));
    m_grid.SetVirtualMode(TRUE);
    m_grid.SetRowCount(3);
    m_grid.SetColumnCount(2);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    EXPECT_FALSE(m_grid.IsEditable());
    m_host.Events().clear();
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    const HBITMAP bitmap = CreateCompatibleBitmap(memory.GetSafeHdc(), 200, 100);
    const HGDIOBJ previous = memory.SelectObject(bitmap);
    m_grid.OnDraw(&memory);
    memory.SelectObject(previous);
    DeleteObject(bitmap);
    const std::vector<GridTestEvent>& events = m_host.Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ((GridTestEvent{GRIDN_CACHEHINT, 1, 1}), events.front());
    EXPECT_EQ((GridTestEvent{GRIDN_CACHEHINT, -1, -1}), events.back());
    for (size_t i = 1; i + 1 < events.size(); ++i) {
        EXPECT_EQ(GRIDN_CELLINFO, events[i].code);
    }
    EXPECT_EQ(6u, events.size() - 2);
}

TEST_F(GridTest, TheTitleTipStaysInsideTheScreenAndIgnoresASecondShow) {
    Build(2, 2);
    m_grid.SetFocus();
    CGridTipWnd tip;
    tip.SetParentWnd(&m_grid);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const CRect cell(screenWidth - 30, 10, screenWidth - 2, 30);
    tip.Show(cell, "a tip text wider than the cell", &cell, nullptr, 0, 0);
    ASSERT_TRUE(tip.IsWindowVisible());
    CRect first;
    tip.GetWindowRect(first);
    EXPECT_EQ(screenWidth - 8, first.right);
    EXPECT_EQ(tip.GetSafeHwnd(), GetCapture());

    tip.Show(cell, "x", &cell, nullptr, 0, 0);
    CRect second;
    tip.GetWindowRect(second);
    EXPECT_EQ(first.Width(), second.Width());

    tip.Hide();
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(GridTest, AKeyHidesTheTitleTip) {
    Build(3, 3);
    m_grid.SetFocus();
    const CPoint over = CellCentre(1, 1);
    m_grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    const HWND tip = GetCapture();
    ASSERT_NE(nullptr, tip);
    ASSERT_NE(m_grid.GetSafeHwnd(), tip);
    ASSERT_TRUE(IsWindowVisible(tip));
    Key(VK_RIGHT);
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(nullptr, GetCapture());
}

namespace {

std::string TempFilePath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes.append(buffer, count);
    }
    fclose(file);
    return bytes;
}

}  // namespace

TEST_F(GridTest, SavesOneLinePerRowAndLoadsLongLinesWhole) {
    Build(2, 3);
    const std::string saved = TempFilePath("grid_saved.txt");
    ASSERT_TRUE(m_grid.SaveToFile(saved.c_str(), ';'));
    EXPECT_EQ("0,0;0,1;0,2\r\n1,0;1,1;1,2\r\n", ReadWholeFile(saved));

    const std::string loaded = TempFilePath("grid_loaded.txt");
    const std::string longText(2000, 'w');
    FILE* file = fopen(loaded.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fprintf(file, "A;B;C\r\nr1;a;b;c;d\r\n%s;x\r\n", longText.c_str());
    fclose(file);
    ASSERT_TRUE(m_grid.LoadFromFile(loaded.c_str(), ';'));
    EXPECT_EQ(3, m_grid.GetRowCount());
    EXPECT_EQ(3, m_grid.GetColumnCount());
    EXPECT_EQ(CString("B"), m_grid.GetCellText(0, 1));
    EXPECT_EQ(CString("b"), m_grid.GetCellText(1, 2));
    EXPECT_EQ(2000, m_grid.GetCellText(2, 0).GetLength());
    EXPECT_EQ(CString("x"), m_grid.GetCellText(2, 1));
    DeleteFileA(saved.c_str());
    DeleteFileA(loaded.c_str());
}

TEST_F(GridTest, ShrinkingTheFixedRowsKeepsTheFixedColumnBitsOfTheirCells) {
    Build(4, 3);
    m_grid.SetFixedRowCount(2);
    EXPECT_EQ(GRID_STATE_FIXED | GRID_STATE_FIXEDROW, m_grid.GetCellState(1, 1) & 0x70);
    m_grid.SetFixedRowCount(1);
    EXPECT_EQ(GRID_STATE_FIXED | GRID_STATE_FIXEDCOL, m_grid.GetCellState(1, 0) & 0x70);
    EXPECT_EQ(0u, m_grid.GetCellState(1, 1) & 0x70);
}

TEST_F(GridTest, CtrlEndScrollsTheLastCellIntoView) {
    Build(40, 12);
    m_grid.SetFocusRowCol(1, 1);
    GridTestHost::SetModifiers(true, false);
    Key(VK_END);
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ(GridCellId(39, 11), m_grid.GetFocusCell());
    EXPECT_TRUE(m_grid.IsCellVisible(39, 11));
    GridTestHost::SetModifiers(true, false);
    Key(VK_HOME);
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ(GridCellId(1, 1), m_grid.GetFocusCell());
    EXPECT_EQ(0, m_grid.GetScrollPos32(SB_VERT));
}
