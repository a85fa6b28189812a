// The special cells in a live grid: check box, numbers-only editor, twin halves, the
// in-place combo and the date-time picker.
#include "GridTestFixture.h"
#include "classlib/core/CTime.h"
#include "grid/CGridCellCheck.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCellDateTime.h"
#include "grid/CGridCellNumeric.h"
#include "grid/CGridCellTwin.h"
#include "grid/CGridURLCell.h"
#include "grid/GridCellShapes.h"

#include <windows.h>

#include <commctrl.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_opened;

void RecordOpen(LPCSTR link) {
    g_opened.emplace_back(link);
}

class GridCellTypesTest : public GridTest {
protected:
    template <class Cell>
    Cell* Change(int row, int col, CRuntimeClass* cellClass) {
        EXPECT_TRUE(m_grid.ChangeCellType(row, col, cellClass));
        return dynamic_cast<Cell*>(m_grid.GetCell(row, col));
    }

    // Ends an open editor the way a click elsewhere does: the grid takes the focus.
    void FocusGrid() {
        m_grid.SetFocus();
        GridTestHost::Pump();
    }

    std::vector<GridTestEvent> EndEdits() { return m_host.EventsOf({GRIDN_ENDEDIT}); }
};

}  // namespace

TEST_F(GridCellTypesTest, ACheckBoxTogglesOnlyInsideItsSquareAndOnlyWhenEditable) {
    Build(3, 3);
    m_grid.SetColumnWidth(1, 80);
    m_grid.SetRowHeight(1, 30);
    CGridCellCheck* check = Change<CGridCellCheck>(1, 1, RUNTIME_CLASS(CGridCellCheck));
    ASSERT_NE(nullptr, check);
    m_grid.SetModified(FALSE);
    { GridRendering draw(m_grid); }
    CRect cell;
    ASSERT_TRUE(m_grid.GetCellRect(1, 1, cell));
    const CRect box = check->GetCheckBoxRect();
    const int side = GetSystemMetrics(SM_CXHSCROLL);
    const int margin = static_cast<int>(check->GetMargin());
    EXPECT_EQ(cell.left + margin, box.left);
    EXPECT_EQ(cell.top + margin, box.top);
    EXPECT_EQ(side, box.Width());

    const CPoint inBox(box.left - cell.left + side / 2, box.top - cell.top + side / 2);
    const CPoint onText(box.right - cell.left + margin + 5, inBox.y);
    check->OnClick(onText);
    EXPECT_FALSE(check->GetCheck());
    check->OnClick(inBox);
    EXPECT_TRUE(check->GetCheck());
    EXPECT_EQ(0u, m_grid.GetCellState(1, 1) & GRID_STATE_MODIFIED);

    m_grid.SetCellState(1, 1, m_grid.GetCellState(1, 1) | GRID_STATE_READONLY);
    check->OnClick(inBox);
    EXPECT_TRUE(check->GetCheck());
    EXPECT_TRUE(check->SetCheck(FALSE));
    EXPECT_FALSE(check->GetCheck());
}

TEST_F(GridCellTypesTest, ALowCheckCellCentresItsBoxAndItsTextStartsAfterTheBox) {
    Build(3, 3);
    m_grid.SetRowHeight(1, 12);
    CGridCellCheck* check = Change<CGridCellCheck>(1, 1, RUNTIME_CLASS(CGridCellCheck));
    ASSERT_NE(nullptr, check);
    { GridRendering draw(m_grid); }
    CRect cell;
    ASSERT_TRUE(m_grid.GetCellRect(1, 1, cell));
    const int side = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(cell.top + (cell.Height() - side) / 2, check->GetCheckBoxRect().top);
    CRect text(0, 0, 100, 10);
    check->GetTextRect(text);
    EXPECT_EQ(side + 2 * static_cast<int>(check->GetMargin()), text.left);
    CRect narrow(0, 0, 5, 10);
    check->GetTextRect(narrow);
    EXPECT_EQ(5, narrow.left);
}

TEST_F(GridCellTypesTest, ANumericCellEditsWithDigitsOnlyWhateverItsAlignment) {
    Build(3, 3);
    ASSERT_NE(nullptr, Change<CGridCellNumeric>(1, 1, RUNTIME_CLASS(CGridCellNumeric)));
    m_grid.SetCellFormat(1, 1, DT_RIGHT | DT_SINGLELINE);
    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    const HWND editor = Editor();
    ASSERT_NE(nullptr, editor);
    const LONG style = GetWindowLongA(editor, GWL_STYLE);
    EXPECT_NE(0, style & ES_NUMBER);
    EXPECT_EQ(0, style & ES_RIGHT);
    FocusGrid();
}

TEST_F(GridCellTypesTest, ATwinCellJoinsItsTextsAndPaintsEachHalfInItsColours) {
    Build(3, 3);
    m_grid.SetColumnWidth(1, 61);
    CGridCellTwin* twin = Change<CGridCellTwin>(1, 1, RUNTIME_CLASS(CGridCellTwin));
    ASSERT_NE(nullptr, twin);
    twin->SetFirstText("left");
    twin->SetSecondText("right");
    EXPECT_EQ(CString("left\tright"), m_grid.GetCellText(1, 1));
    twin->SetFirstBackColour(RGB(255, 0, 0));
    twin->SetSecondBackColour(RGB(0, 0, 255));
    CRect cell;
    ASSERT_TRUE(m_grid.GetCellRect(1, 1, cell));
    const GridTwinHalves halves = SplitTwinCell(cell.left, cell.right);
    {
        GridRendering draw(m_grid);
        EXPECT_EQ(RGB(255, 0, 0), draw.Pixel(cell.left + 1, cell.bottom - 2));
        EXPECT_EQ(RGB(0, 0, 255), draw.Pixel(cell.right - 2, cell.bottom - 2));
        EXPECT_EQ(TwinSeparatorColour(RGB(255, 0, 0), RGB(0, 0, 255), m_grid.GetGridLineColor()),
                  draw.Pixel(halves.leftEnd, cell.top + 1));
    }
    m_grid.SetSelectedRange(1, 1, 1, 1);
    m_grid.SetFocusRowCol(2, 2);
    GridRendering selected(m_grid);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), selected.Pixel(cell.left + 1, cell.bottom - 2));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), selected.Pixel(cell.right - 2, cell.bottom - 2));
}

TEST_F(GridCellTypesTest, AComboKeepsAnExactTextAndReportsItOnce) {
    Build(3, 4);
    CGridCellCombo* combo = Change<CGridCellCombo>(1, 1, RUNTIME_CLASS(CGridCellCombo));
    ASSERT_NE(nullptr, combo);
    combo->SetOptions({"10", "1", "a very long choice that would make the list far too wide to be useful"});
    m_grid.SetCellText(1, 1, "1");
    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    const HWND window = Editor();
    ASSERT_NE(nullptr, window);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ("ComboBox", className);
    // The combo keeps WS_VSCROLL and WS_BORDER for its list; its own style shows the rest.
    EXPECT_EQ(0x50000040u, static_cast<UINT>(GetWindowLongA(window, GWL_STYLE)) & 0x50A00040u);
    EXPECT_LE(SendMessageA(window, CB_GETDROPPEDWIDTH, 0, 0), 200);
    EXPECT_NE(nullptr, combo->GetEditWindow());

    FocusGrid();
    EXPECT_EQ(CString("1"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(1u, EndEdits().size());
    EXPECT_EQ(nullptr, Editor());
    EXPECT_FALSE(m_grid.IsCellEditing(1, 1));

    // A text that only starts a choice stays as it is.
    combo->SetOptions({"10", "2"});
    Key(VK_F2);
    ASSERT_NE(nullptr, Editor());
    FocusGrid();
    EXPECT_EQ(CString("1"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(2u, EndEdits().size());
}

TEST_F(GridCellTypesTest, AChoiceEndedWithTabReachesTheCellAndTheNextCellOpens) {
    Build(3, 4);
    CGridCellCombo* combo = Change<CGridCellCombo>(1, 1, RUNTIME_CLASS(CGridCellCombo));
    ASSERT_NE(nullptr, combo);
    combo->SetOptions({"alpha", "beta"});
    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    const HWND window = Editor();
    ASSERT_NE(nullptr, window);
    SendMessageA(window, CB_SETCURSEL, 1, 0);
    SendMessageA(combo->GetEditWindow()->GetSafeHwnd(), WM_KEYUP, VK_TAB, 0);
    GridTestHost::Pump();
    EXPECT_EQ(CString("beta"), m_grid.GetCellText(1, 1));
    const std::vector<GridTestEvent> ends = {{GRIDN_ENDEDIT, 1, 1}};
    EXPECT_EQ(ends, EndEdits());
    EXPECT_EQ(GridCellId(1, 2), m_grid.GetFocusCell());
    EXPECT_TRUE(m_grid.IsCellEditing(1, 2));
    FocusGrid();
}

TEST_F(GridCellTypesTest, EscapeInAComboRestoresTheTextAndTheGridDiscardsTheEdit) {
    Build(3, 4);
    CGridCellCombo* combo = Change<CGridCellCombo>(1, 1, RUNTIME_CLASS(CGridCellCombo));
    ASSERT_NE(nullptr, combo);
    combo->SetOptions({"alpha", "beta"});
    m_grid.SetCellText(1, 1, "alpha");
    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    ASSERT_NE(nullptr, combo->GetEditWindow());
    const HWND edit = combo->GetEditWindow()->GetSafeHwnd();
    SetWindowTextA(edit, "typed");
    SendMessageA(edit, WM_KEYUP, VK_ESCAPE, 0);
    GridTestHost::Pump();
    EXPECT_EQ(CString("alpha"), m_grid.GetCellText(1, 1));
    EXPECT_TRUE(EndEdits().empty());
    EXPECT_EQ(nullptr, Editor());
}

TEST_F(GridCellTypesTest, ADropListKeepsAForeignTextWhenNothingIsChosen) {
    Build(3, 4);
    CGridCellCombo* combo = Change<CGridCellCombo>(1, 1, RUNTIME_CLASS(CGridCellCombo));
    ASSERT_NE(nullptr, combo);
    combo->SetOptions({"Nothing to do", "Ban gas mode"});
    combo->SetStyle(CBS_DROPDOWNLIST);
    m_grid.SetCellText(1, 1, "unknown");
    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    ASSERT_NE(nullptr, Editor());
    EXPECT_EQ(nullptr, combo->GetEditWindow());
    FocusGrid();
    EXPECT_EQ(CString("unknown"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(1u, EndEdits().size());
}

TEST_F(GridCellTypesTest, ADateTimeCellShowsItsTimeInTheLocaleFormatOfItsStyle) {
    Build(3, 3);
    CGridCellDateTime* cell = Change<CGridCellDateTime>(1, 1, RUNTIME_CLASS(CGridCellDateTime));
    ASSERT_NE(nullptr, cell);
    const std::int32_t time = static_cast<std::int32_t>(CTime(2020, 6, 15, 13, 45, 30).GetTime());

    struct Case {
        DWORD style;
        const char* format;
    };

    const Case cases[] = {{CGridCellDateTime::kTimeStyle, "%X"}, {CGridCellDateTime::kShortDateStyle, "%x"}};
    for (const Case& c : cases) {
        cell->Init(c.style);
        cell->SetTime(time);
        EXPECT_EQ(CTime(time).Format(c.format), m_grid.GetCellText(1, 1)) << c.format;
        EXPECT_EQ(0x8825u, m_grid.GetCellFormat(1, 1));
    }
    cell->Init(4);
    m_grid.SetCellText(1, 1, "as it was");
    cell->SetTime(time);
    EXPECT_EQ(CString("as it was"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(time, cell->GetTime());
}

TEST_F(GridCellTypesTest, APickerWritesItsTimeOnlyWhenTheEditIsApplied) {
    Build(3, 3);
    CGridCellDateTime* cell = Change<CGridCellDateTime>(1, 1, RUNTIME_CLASS(CGridCellDateTime));
    ASSERT_NE(nullptr, cell);
    cell->Init(CGridCellDateTime::kTimeStyle);
    const std::int32_t before = static_cast<std::int32_t>(CTime(2020, 6, 15, 13, 45, 30).GetTime());
    cell->SetTime(before);
    const CString beforeText = m_grid.GetCellText(1, 1);
    SYSTEMTIME other = {};
    other.wYear = 2021;
    other.wMonth = 3;
    other.wDay = 4;
    other.wHour = 5;
    other.wMinute = 6;
    other.wSecond = 7;

    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    HWND picker = Editor();
    ASSERT_NE(nullptr, picker);
    char className[32] = {};
    GetClassNameA(picker, className, sizeof(className));
    EXPECT_STREQ("SysDateTimePick32", className);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&other));
    SendMessageA(picker, WM_KEYUP, VK_ESCAPE, 0);
    GridTestHost::Pump();
    EXPECT_EQ(before, cell->GetTime());
    EXPECT_EQ(beforeText, m_grid.GetCellText(1, 1));
    EXPECT_EQ(nullptr, Editor());

    Key(VK_F2);
    picker = Editor();
    ASSERT_NE(nullptr, picker);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&other));
    FocusGrid();
    const std::int32_t after = static_cast<std::int32_t>(CTime(2021, 3, 4, 5, 6, 7).GetTime());
    EXPECT_EQ(after, cell->GetTime());
    EXPECT_EQ(CTime(after).Format("%X"), m_grid.GetCellText(1, 1));
    EXPECT_EQ(1u, EndEdits().size());
}

TEST_F(GridCellTypesTest, ALinkCellOpensOnlyTheLinkWordAndNeverEdits) {
    Build(3, 3);
    m_grid.SetColumnWidth(1, 250);
    CGridURLCell* cell = Change<CGridURLCell>(1, 1, RUNTIME_CLASS(CGridURLCell));
    ASSERT_NE(nullptr, cell);
    m_grid.SetCellText(1, 1, "visit www.example.org");
    EXPECT_NE(nullptr, CGridURLCell::GetLinkCursor());
    { GridRendering draw(m_grid); }
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), cell->GetTextColour());

    g_opened.clear();
    CGridURLCell::SetLinkOpener(RecordOpen);
    const int width = cell->GetTextExtent(cell->GetText()).cx;
    cell->OnClick(CPoint(2, 5));
    cell->OnClick(CPoint(width - 3, 5));
    cell->OnClick(CPoint(width + 20, 5));
    const std::vector<std::string> opened = {"www.example.org"};
    EXPECT_EQ(opened, g_opened);

    cell->SetAutoLaunch(FALSE);
    cell->OnClick(CPoint(width - 3, 5));
    EXPECT_EQ(1u, g_opened.size());
    CGridURLCell::SetLinkOpener(nullptr);

    m_grid.SetFocusRowCol(1, 1);
    Key(VK_F2);
    EXPECT_EQ(nullptr, Editor());
}
