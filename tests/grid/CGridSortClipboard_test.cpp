// Sorting rows and exchanging cell texts through the clipboard in a live grid.
#include "GridTestFixture.h"
#include "grid/CGridCell.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string ColumnTexts(CGridCtrl& grid, int col) {
    std::string texts;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        texts += grid.GetCellText(row, col).GetString();
        texts += "|";
    }
    return texts;
}

void PutClipboardText(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

// The CF_TEXT bytes up to the first zero; "<none>" without text. terminated tells whether a
// zero byte lies inside the block.
std::string ClipboardText(bool* terminated = nullptr) {
    if (!OpenClipboard(nullptr)) {
        return "<closed>";
    }
    std::string text = "<none>";
    HGLOBAL block = GetClipboardData(CF_TEXT);
    if (block != nullptr) {
        const char* bytes = static_cast<const char*>(GlobalLock(block));
        const SIZE_T size = GlobalSize(block);
        SIZE_T length = 0;
        while (length < size && bytes[length] != '\0') {
            ++length;
        }
        text.assign(bytes, length);
        if (terminated != nullptr) {
            *terminated = length < size;
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

class GridSortTest : public GridTest {
protected:
    // Rows 1..5 of column 1 hold the given texts; row r is r + 20 pixels high.
    void BuildColumn(const std::vector<const char*>& texts) {
        Build(static_cast<int>(texts.size()) + 1, 3);
        for (size_t i = 0; i < texts.size(); ++i) {
            const int row = static_cast<int>(i) + 1;
            m_grid.SetCellText(row, 1, texts[i]);
            m_grid.SetRowHeight(row, row + 20);
        }
    }
};

int CompareReversedText(const CGridCellBase* first, const CGridCellBase* second, LPARAM value) {
    return -CGridCtrl::CompareCellText(first, second, value);
}

}  // namespace

TEST_F(GridSortTest, RowsTravelWholeWithTheirHeightsAndTheFixedRowStays) {
    BuildColumn({"d", "b", "e", "a", "c"});
    m_grid.SetSelectedRange(2, 2, 3, 2);
    m_grid.SetFocusRowCol(2, 2);
    ASSERT_TRUE(m_grid.SortByColumn(1, TRUE));
    EXPECT_EQ("0,1|a|b|c|d|e|", ColumnTexts(m_grid, 1));
    EXPECT_EQ("0,2|4,2|2,2|5,2|1,2|3,2|", ColumnTexts(m_grid, 2));
    const int heights[] = {kHeight, 24, 22, 25, 21, 23};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(heights[row], m_grid.GetRowHeight(row)) << row;
    }
    EXPECT_EQ(1, m_grid.GetSortColumn());
    EXPECT_FALSE(m_grid.IsValid(m_grid.GetFocusCell()));
    EXPECT_FALSE(m_grid.IsValid(m_grid.GetSelectionBounds()));

    ASSERT_TRUE(m_grid.SortByColumn(1, FALSE));
    EXPECT_EQ("0,1|e|d|c|b|a|", ColumnTexts(m_grid, 1));
    EXPECT_FALSE(m_grid.GetSortAscending());
}

TEST_F(GridSortTest, ComparisonFunctionsDecideTheOrder) {
    BuildColumn({"10", "9", "-3", " 7x", "abc"});
    m_grid.SetSortCompareFunction(CGridCtrl::CompareCellNumber);
    ASSERT_TRUE(m_grid.SortByColumn(1));
    EXPECT_EQ("0,1|-3|abc| 7x|9|10|", ColumnTexts(m_grid, 1));
    m_grid.SetSortCompareFunction(CompareReversedText);
    ASSERT_TRUE(m_grid.SortByColumn(1));
    EXPECT_EQ("0,1|abc|9|10|-3| 7x|", ColumnTexts(m_grid, 1));
    m_grid.SetSortCompareFunction(nullptr);
    ASSERT_TRUE(m_grid.SortByColumn(1));
    EXPECT_EQ("0,1| 7x|-3|10|9|abc|", ColumnTexts(m_grid, 1));
    ASSERT_TRUE(m_grid.SortByText(1, FALSE));
    EXPECT_EQ("0,1|abc|9|10|-3| 7x|", ColumnTexts(m_grid, 1));
}

TEST(GridSort, NothingToSortAnswersFalseAndChangesNothing) {
    struct Case {
        const char* name;
        std::vector<const char*> texts;
        int col;
        bool virtualMode;
    };

    const Case cases[] = {
        {"one body row", {"b"}, 1, false},
        {"no body row", {}, 1, false},
        {"column beyond the last", {"b", "a"}, 3, false},
        {"virtual mode", {"b", "a"}, 1, true},
    };
    for (const Case& c : cases) {
        CGridCtrl grid;
        GridTestHost host;
        ASSERT_TRUE(host.CreateGrid(grid, 200, 100));
        grid.SetRowCount(static_cast<int>(c.texts.size()) + 1);
        grid.SetColumnCount(3);
        grid.SetFixedRowCount(1);
        for (size_t i = 0; i < c.texts.size(); ++i) {
            grid.SetCellText(static_cast<int>(i) + 1, 1, c.texts[i]);
        }
        const std::string before = ColumnTexts(grid, 1);
        if (c.virtualMode) {
            grid.SetVirtualMode(TRUE);
        }
        EXPECT_FALSE(grid.SortByColumn(c.col)) << c.name;
        if (!c.virtualMode) {
            EXPECT_EQ(before, ColumnTexts(grid, 1)) << c.name;
        }
    }
}

TEST_F(GridSortTest, AHeaderClickSortsAndASecondClickTurnsTheOrder) {
    BuildColumn({"b", "c", "a"});
    m_grid.SetHeaderSort(TRUE);
    Click(CPoint(kWidth + 5, 5));
    EXPECT_EQ("0,1|a|b|c|", ColumnTexts(m_grid, 1));
    Click(CPoint(kWidth + 5, 5));
    EXPECT_EQ("0,1|c|b|a|", ColumnTexts(m_grid, 1));
    m_grid.SetCellText(2, 1, "x");
    EXPECT_EQ(-1, m_grid.GetSortColumn());
}

TEST_F(GridTest, CopiesTheSelectionAsTabbedLinesLeavingUnselectedAndHiddenCellsOut) {
    Build(4, 5);
    m_grid.SetSelectedRange(1, 1, 2, 3);
    m_grid.SetCellState(1, 2, m_grid.GetCellState(1, 2) & ~GRID_STATE_SELECTED);
    GridTestHost::SetModifiers(true, false);
    Key('C');
    GridTestHost::SetModifiers(false, false);
    bool terminated = false;
    EXPECT_EQ("1,1\t\t1,3\r\n2,1\t2,2\t2,3", ClipboardText(&terminated));
    EXPECT_TRUE(terminated);

    m_grid.SetColumnWidth(2, 0);
    GridTestHost::SetModifiers(true, false);
    Key(VK_INSERT);
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ("1,1\t1,3\r\n2,1\t2,3", ClipboardText());
}

TEST_F(GridTest, PastesFieldsFromTheStartCellSkippingHiddenRowsAndDroppingOverflow) {
    Build(10, 8);

    struct Case {
        const char* name;
        int hiddenRow;
        const char* text;
        std::vector<std::pair<GridCellId, const char*>> expected;
        size_t changed;  // cells whose new text the page hears of
    };

    const Case cases[] = {
        {"two by two", -1, "1, 2\n3,4", {{{5, 5}, "1"}, {{5, 6}, "2"}, {{6, 5}, "3"}, {{6, 6}, "4"}}, 4},
        {"hidden row moves the second line",
         6,
         "1, 2\n3,4",
         {{{5, 5}, "1"}, {{6, 5}, "6,5"}, {{7, 5}, "3"}},
         4},
        {"fields past the right edge dropped", -1, "a,b,c,d,e", {{{5, 5}, "a"}, {{5, 7}, "c"}}, 3},
        {"an empty line sets nothing", -1, "a\n\nb", {{{5, 5}, "a"}, {{6, 5}, "6,5"}, {{7, 5}, "b"}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int row = 1; row < 10; ++row) {
            m_grid.SetRowHeight(row, row == c.hiddenRow ? 0 : kHeight);
            for (int col = 1; col < 8; ++col) {
                m_grid.SetCellTextFormat(row, col, "%d,%d", row, col);
            }
        }
        m_host.Events().clear();
        ASSERT_TRUE(m_grid.PasteText(5, 5, c.text, TRUE));
        for (const auto& cell : c.expected) {
            EXPECT_EQ(CString(cell.second), m_grid.GetCellText(cell.first.row, cell.first.col));
        }
        EXPECT_EQ(c.changed, m_host.EventsOf({GRIDN_ENDEDIT}).size());
    }
    EXPECT_EQ(GridCellRange(5, 5, 7, 5), m_grid.GetSelectionBounds());
}

TEST_F(GridTest, PasteRespectsRefusalsAndUnselectsWithoutTheSelectFlag) {
    Build(4, 4);
    m_host.Answer(GRIDN_BEGINEDIT, -1);
    EXPECT_TRUE(m_grid.PasteText(1, 1, "x\ty", FALSE));
    EXPECT_EQ(CString("1,1"), m_grid.GetCellText(1, 1));
    m_host.Answer(GRIDN_BEGINEDIT, 0);
    m_grid.SetSelectedRange(1, 1, 1, 2);
    EXPECT_TRUE(m_grid.PasteText(1, 1, "x\ty", FALSE));
    EXPECT_EQ(CString("y"), m_grid.GetCellText(1, 2));
    EXPECT_EQ(0u, m_grid.GetCellState(1, 2) & GRID_STATE_SELECTED);
    EXPECT_FALSE(m_grid.IsValid(m_grid.GetSelectionBounds()));
    EXPECT_FALSE(m_grid.IsValid(m_grid.GetFocusCell()));

    m_grid.SetCellState(2, 2, m_grid.GetCellState(2, 2) | GRID_STATE_READONLY);
    EXPECT_FALSE(m_grid.PasteText(2, 2, "z", TRUE));
    EXPECT_FALSE(m_grid.PasteText(9, 9, "z", TRUE));
}

TEST_F(GridTest, PasteKeysTakeTheClipboardAtTheSelectionOrIntoAnOpenEditor) {
    Build(4, 4);
    PutClipboardText("p,q");
    m_grid.SetSelectedRange(2, 2, 3, 3);
    GridTestHost::SetModifiers(true, false);
    Key('V');
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ(CString("p"), m_grid.GetCellText(2, 2));
    EXPECT_EQ(CString("q"), m_grid.GetCellText(2, 3));

    PutClipboardText("r");
    m_grid.ClearSelection();
    m_grid.SetFocusRowCol(1, 1);
    GridTestHost::SetModifiers(false, true);
    Key(VK_INSERT);
    GridTestHost::SetModifiers(false, false);
    EXPECT_EQ(CString("r"), m_grid.GetCellText(1, 1));

    PutClipboardText("zz");
    Key(VK_F2);
    const HWND editor = Editor();
    ASSERT_NE(nullptr, editor);
    SendMessageA(editor, EM_SETSEL, 0, -1);
    m_grid.OnEditPaste();
    char text[16] = {};
    GetWindowTextA(editor, text, sizeof(text));
    EXPECT_STREQ("zz", text);
    EXPECT_EQ(CString("r"), m_grid.GetCellText(1, 1));
    m_grid.SetFocus();
    GridTestHost::Pump();
}

TEST_F(GridTest, CutCopiesAndEmptiesOnlyOnAnEditableGrid) {
    Build(4, 4);
    PutClipboardText("keep");
    m_grid.SetSelectedRange(1, 1, 1, 2);
    m_grid.SetEditable(FALSE);
    m_grid.OnEditCut();
    EXPECT_EQ("keep", ClipboardText());
    EXPECT_EQ(CString("1,1"), m_grid.GetCellText(1, 1));

    m_grid.SetEditable(TRUE);
    m_grid.OnEditCut();
    EXPECT_EQ("1,1\t1,2", ClipboardText());
    EXPECT_EQ(CString(""), m_grid.GetCellText(1, 1));
    EXPECT_EQ(CString(""), m_grid.GetCellText(1, 2));
    EXPECT_EQ(CString("2,1"), m_grid.GetCellText(2, 1));
}
