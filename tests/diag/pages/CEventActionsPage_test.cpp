// The event actions page under Wine: actions shown from their elements, cells editable only
// once their element is loaded, a chosen action written as one byte, header sorting, and its
// texts in the chosen language.
#include "diag/CEventActionsPage.h"

#include "grid/CGridCellCombo.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"
#include "link/DataHandlerMessages.h"
#include "tests/config/pages/CLanguageSwitch.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

class EventActionsPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetOwnerWindows(&main, nullptr);
        ASSERT_TRUE(page.Create(CEventActionsPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
    }

    CGridCtrl& Grid() { return page.GetGrid(); }

    std::string Cell(int row, int col) { return std::string(Grid().GetCellText(row, col)); }

    bool ReadOnly(int row) { return (Grid().GetCellState(row, 2) & GRID_STATE_READONLY) != 0; }

    void Arrive(int element, BYTE value, int reason) {
        handler.GetImage(kImageWorking)[handler.GetElementOffset(element)] = value;
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | (reason << 16));
        PumpMessages();
    }

    LRESULT Notify(int code, int row, int col) {
        GridNotifyRecord record = {};
        record.hdr.hwndFrom = Grid().GetSafeHwnd();
        record.hdr.idFrom = CEventActionsPage::kGridId;
        record.hdr.code = static_cast<UINT>(code);
        record.row = row;
        record.col = col;
        const LRESULT result = SendMessageA(page.GetSafeHwnd(), WM_NOTIFY, CEventActionsPage::kGridId,
                                            reinterpret_cast<LPARAM>(&record));
        PumpMessages();
        return result;
    }

    // The user picks an action in the drop-down of a row: the grid holds the new text when
    // it tells the page.
    LRESULT Choose(int row, const char* action) {
        Grid().SetCellText(row, 2, action);
        return Notify(GRIDN_ENDEDIT, row, 2);
    }

    CEventActionsPage page{nullptr};
};

TEST_F(EventActionsPageTest, ListsTheEventsWithReadOnlyActions) {
    EXPECT_EQ(Grid().GetRowCount(), 20);
    EXPECT_EQ(Grid().GetColumnCount(), 3);
    EXPECT_EQ(Cell(0, 0), "\xBB # \xBB");
    EXPECT_EQ(Cell(0, 1), "  Event  ");
    EXPECT_EQ(Cell(0, 2), "  Action  ");
    EXPECT_EQ(Cell(1, 0), "1.");
    EXPECT_EQ(Cell(1, 1), "No petrol injection signal");
    EXPECT_EQ(Cell(19, 1), "Gas press sensor broken wire");
    for (int row = 1; row <= 19; ++row) {
        EXPECT_EQ(Cell(row, 2), "Nothing to do") << row;
        EXPECT_TRUE(ReadOnly(row)) << row;
    }
}

TEST_F(EventActionsPageTest, ShowsActionsAndUnlocksOnlyLoadedElements) {
    Arrive(9, 0x01, 1);
    Arrive(10, 0xAA, 2);
    Arrive(53, 0x55, 1);
    EXPECT_EQ(Cell(1, 2), "Nothing to do");
    EXPECT_FALSE(ReadOnly(1));
    EXPECT_EQ(Cell(2, 2), "Ban gas mode");
    EXPECT_TRUE(ReadOnly(2)) << "a local change unlocked the cell";
    EXPECT_EQ(Cell(19, 2), "Change back to petrol mode");
    EXPECT_FALSE(ReadOnly(19));
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(EventActionsPageTest, WritesAChangedActionAsOneByte) {
    Arrive(9, 0x01, 1);
    queue.requests.clear();
    EXPECT_EQ(Choose(1, "Nothing to do"), -1);
    EXPECT_TRUE(queue.requests.empty()) << "the action shown was written again";
    EXPECT_EQ(handler.GetImage(kImageWorking)[handler.GetElementOffset(9)], 0x01);

    EXPECT_EQ(Choose(1, "Ban gas mode"), -1);
    EXPECT_EQ(handler.GetImage(kImageWorking)[handler.GetElementOffset(9)], 0xAA);
    EXPECT_EQ(QueuedElements(), std::vector<int>{9});
    EXPECT_EQ(Cell(1, 2), "Ban gas mode") << "the change notice did not show the written action";

    queue.requests.clear();
    Choose(1, "Nothing to do");
    EXPECT_EQ(handler.GetImage(kImageWorking)[handler.GetElementOffset(9)], 0x00);
    EXPECT_EQ(QueuedElements(), std::vector<int>{9});
}

// A paste reaches the page as a choice does: an action's name is written, any other text
// changes nothing and the cell keeps the action of the data.
TEST_F(EventActionsPageTest, APastedActionIsWrittenAndAnyOtherTextIsNot) {
    Arrive(9, 0x01, 1);
    queue.requests.clear();
    EXPECT_TRUE(Grid().PasteText(1, 2, "Ban gas mode", FALSE));
    PumpMessages();
    EXPECT_EQ(handler.GetImage(kImageWorking)[handler.GetElementOffset(9)], 0xAA);
    EXPECT_EQ(QueuedElements(), std::vector<int>{9});
    EXPECT_EQ(Cell(1, 2), "Ban gas mode");

    queue.requests.clear();
    EXPECT_TRUE(Grid().PasteText(1, 2, "anything", FALSE));
    PumpMessages();
    EXPECT_EQ(handler.GetImage(kImageWorking)[handler.GetElementOffset(9)], 0xAA);
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_EQ(Cell(1, 2), "Ban gas mode");
}

// The language broadcast renames the headers, the events, the actions shown and those offered,
// and keeps the sorting and the actions of the data.
TEST_F(EventActionsPageTest, TheLanguageBroadcastChangesItsTextsAndBack) {
    struct Texts {
        std::vector<std::string> headers;
        std::string firstEvent;
        std::string lastEvent;
        std::string banned;
        std::vector<std::string> actions;
    };

    const Texts english = {{"  #  ", "  Event  ", "\xBB Action \xBB"},
                           "No petrol injection signal",
                           "Gas press sensor broken wire",
                           "Ban gas mode",
                           {"Nothing to do", "Change back to petrol mode", "Ban gas mode"}};
    const Texts german = {{"  #  ", "  Ereignis  ", "\xBB Aktion \xBB"},
                          "Kein Benzineinspritzsignal",
                          "Gasdrucksensor Unterbrechung",
                          "Gasbetrieb sperren",
                          {"Keine Aktion",
                           "Zur\xFC"
                           "ck auf Benzinbetrieb",
                           "Gasbetrieb sperren"}};
    Arrive(12, 0xAA, 1);
    Notify(GRIDN_CLICK, 0, 2);
    CLanguageSwitch language;
    language.LendTo(page, resources);
    for (const auto& [name, expected] : {std::pair{"Deutsch", german}, std::pair{"English", english}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(language.Select(name));
        page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
        PumpMessages();
        EXPECT_EQ((std::vector<std::string>{Cell(0, 0), Cell(0, 1), Cell(0, 2)}), expected.headers);
        EXPECT_EQ(Cell(2, 0), "1.");
        EXPECT_EQ(Cell(2, 1), expected.firstEvent);
        EXPECT_EQ(Cell(19, 1), expected.lastEvent);
        EXPECT_EQ(Cell(1, 0), "4.");
        EXPECT_EQ(Cell(1, 2), expected.banned);
        EXPECT_EQ(Cell(2, 2), expected.actions[0]);
        EXPECT_EQ(page.GetSortKey(), 3);
        const auto* combo = dynamic_cast<CGridCellCombo*>(Grid().GetCell(1, 2));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(std::vector<std::string>(combo->GetOptions().begin(), combo->GetOptions().end()),
                  expected.actions);
    }
}

TEST_F(EventActionsPageTest, HeaderClicksSortByActionBothWays) {
    Arrive(12, 0xAA, 1);
    Arrive(14, 0x55, 1);
    Notify(GRIDN_CLICK, 0, 2);
    EXPECT_EQ(page.GetSortKey(), 3);
    EXPECT_EQ(Cell(0, 2), "\xBB Action \xBB");
    EXPECT_EQ(Cell(0, 0), "  #  ");
    EXPECT_EQ(Cell(1, 2), "Ban gas mode");
    EXPECT_EQ(Cell(1, 0), "4.");
    EXPECT_EQ(Cell(2, 2), "Change back to petrol mode");

    Notify(GRIDN_CLICK, 0, 2);
    EXPECT_EQ(page.GetSortKey(), -3);
    EXPECT_EQ(Cell(0, 2), "\xAB Action \xAB");
    EXPECT_EQ(Cell(19, 2), "Ban gas mode");
    EXPECT_EQ(Cell(18, 2), "Change back to petrol mode");
    EXPECT_FALSE(ReadOnly(19)) << "sorting lost the unlocked cell";

    // Editing a sorted row writes that row's element.
    queue.requests.clear();
    Choose(18, "Nothing to do");
    EXPECT_EQ(QueuedElements(), std::vector<int>{14});
}

}  // namespace
