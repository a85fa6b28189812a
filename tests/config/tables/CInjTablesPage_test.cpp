// The injection tables page under Wine: the grid over the selected table, edits of one cell
// or a whole selection, pastes, table changes, the transfers and the enabling by element 79
// and the connection status.
#include "config/CInjTablesPage.h"

#include "config/TablesIds.h"
#include "link/DataHandlerMessages.h"
#include "shell/CTransferProgressDlg.h"
#include "tests/config/pages/PageHost.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class InjTablesPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        page.SetTransferRunner([this](CTransferProgressDlg&) {
            ++transfers;
            if (unitAnswer) {
                unitAnswer();
            }
        });
        ASSERT_TRUE(page.Create(CInjTablesPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
        boxes.clear();
    }

    void LoadPresent(BYTE present) {
        BYTE* element = handler.GetImage(kImageWorking) + handler.GetElementOffset(79);
        element[0] = present;
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, 79 | kReasonLoaded);
        PumpMessages();
    }

    LRESULT Edit(int row, int col, const char* text) {
        page.GetGrid().SetCellText(row, col, text);
        GridNotifyRecord record = {};
        record.hdr.hwndFrom = page.GetGrid().GetSafeHwnd();
        record.hdr.idFrom = IDC_INJ_GRID;
        record.hdr.code = static_cast<UINT>(GRIDN_ENDEDIT);
        record.row = row;
        record.col = col;
        return SendMessageA(page.GetSafeHwnd(), WM_NOTIFY, IDC_INJ_GRID, reinterpret_cast<LPARAM>(&record));
    }

    void Command(int id, int code) {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    void ChooseTable(int index) {
        SendMessageA(Item(IDC_INJ_TABLE), CB_SETCURSEL, index, 0);
        Command(IDC_INJ_TABLE, CBN_SELENDOK);
    }

    HWND Item(int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }

    std::string Cell(int row, int col) { return std::string(page.GetGrid().GetCellText(row, col)); }

    CInjTablesPage page;
    int transfers = 0;
    std::function<void()> unitAnswer;
};

TEST_F(InjTablesPageTest, GridShowsTheSelectedTableOverBothAxes) {
    CGridCtrl& grid = page.GetGrid();
    ASSERT_EQ(17, grid.GetRowCount());
    ASSERT_EQ(19, grid.GetColumnCount());
    EXPECT_EQ("%", Cell(0, 0));
    EXPECT_EQ("100", Cell(0, 1));
    EXPECT_EQ("8000", Cell(0, 18));
    EXPECT_EQ("1.00", Cell(1, 0));
    EXPECT_EQ("25.00", Cell(16, 0));
    EXPECT_EQ("0", Cell(16, 18));
    EXPECT_EQ(4, SendMessageA(Item(IDC_INJ_TABLE), CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Lesen", WindowText(Item(IDC_INJ_READ)));
    EXPECT_EQ("Schreiben", WindowText(Item(IDC_INJ_WRITE)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_INJ_READ)));
    EXPECT_EQ(std::vector<std::string>{}, LayoutClashes(page.GetSafeHwnd()));
}

struct RefusedEdit {
    const char* typed;
    const char* box;
};

TEST_F(InjTablesPageTest, RefusedEditsKeepTheOldValue) {
    ASSERT_EQ(0, Edit(2, 3, "40"));
    const RefusedEdit cases[] = {
        {"101", "Element out of range: 101."},
        {"-1", "Element out of range: -1."},
        {"4x", "Attempt to write an invalid element: 4x."},
    };
    for (const RefusedEdit& c : cases) {
        boxes.clear();
        EXPECT_EQ(-1, Edit(2, 3, c.typed)) << c.typed;
        ASSERT_EQ(1u, boxes.size()) << c.typed;
        EXPECT_EQ(c.box, boxes[0]);
        EXPECT_EQ(40, page.GetTables().GetCell(1, 2)) << c.typed;
    }
}

TEST_F(InjTablesPageTest, AnEditFillsTheWholeSelection) {
    page.GetGrid().SetSelectedRange(2, 2, 4, 5);
    ASSERT_EQ(0, Edit(2, 2, "50"));
    for (int row = 1; row <= 17 - 1; ++row) {
        for (int col = 1; col <= 18; ++col) {
            const bool inside = row >= 2 && row <= 4 && col >= 2 && col <= 5;
            EXPECT_EQ(inside ? 50 : 0, page.GetTables().GetCell(row - 1, col - 1)) << row << "/" << col;
            EXPECT_EQ(inside ? "50" : "0", Cell(row, col)) << row << "/" << col;
        }
    }
}

TEST_F(InjTablesPageTest, EachTableKeepsItsEditsAcrossTableChanges) {
    ASSERT_EQ(0, Edit(1, 1, "7"));
    ChooseTable(2);
    EXPECT_EQ("0", Cell(1, 1));
    ASSERT_EQ(0, Edit(1, 1, "9"));
    ChooseTable(0);
    EXPECT_EQ("7", Cell(1, 1));
    ChooseTable(2);
    EXPECT_EQ("9", Cell(1, 1));
}

TEST_F(InjTablesPageTest, PastedCellsGoIntoTheTable) {
    CGridCtrl& grid = page.GetGrid();
    grid.SetCellText(3, 4, "012");
    grid.SetCellText(3, 5, "99");
    grid.SetSelectedRange(3, 4, 3, 5);
    page.UpdateTableFromGrid();
    EXPECT_EQ(12, page.GetTables().GetCell(2, 3));
    EXPECT_EQ(99, page.GetTables().GetCell(2, 4));
    EXPECT_EQ("12", Cell(3, 4));
}

TEST_F(InjTablesPageTest, ReadShowsTheUnitsTableAfterTheTransfer) {
    LoadPresent(1);
    ChooseTable(1);
    unitAnswer = [this] { page.GetTables().SelectedBuffer()[18 + 2] = 33; };
    Command(IDC_INJ_READ, BN_CLICKED);
    EXPECT_EQ(1, transfers);
    EXPECT_EQ("33", Cell(2, 3));
    EXPECT_EQ(6, page.GetTables().SelectedBlock());
    Command(IDC_INJ_WRITE, BN_CLICKED);
    EXPECT_EQ(2, transfers);
}

TEST_F(InjTablesPageTest, ElementAndStatusEnableTheControls) {
    LoadPresent(1);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_INJ_READ)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_INJ_WRITE)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_INJ_TABLE)));

    page.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_INJ_READ)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_INJ_WRITE)));
    ASSERT_EQ(0, Edit(1, 1, "5"));
    ChooseTable(3);
    EXPECT_EQ(3, page.GetTables().GetSelected());
    EXPECT_EQ("0", Cell(1, 1));

    LoadPresent(0);
    EXPECT_EQ(0, page.GetGrid().GetRowCount());
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_INJ_TABLE)));
}

}  // namespace
