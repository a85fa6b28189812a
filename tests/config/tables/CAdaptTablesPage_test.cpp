// The adaptive tables page under Wine, fed by a data handler whose unit is connected and idle:
// the unit's tables arrive as elements, the page reads them row by row while it is visible,
// and the grid, the working image and the queued requests are checked.
#include "config/CAdaptTablesPage.h"

#include "config/IAdaptiveMapSource.h"
#include "config/TablesIds.h"
#include "grid/CGridCellTwin.h"
#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

class FakeMap : public IAdaptiveMapSource {
public:
    int GetMapCell(int row, int column) override { return row == 1 && column == 2 ? 12 : 0; }

    int GetMapBasePercent() override { return 5; }
};

void PutAxis(Bytes& bytes, const std::vector<int>& axis) {
    bytes.push_back(static_cast<BYTE>(axis.size()));
    for (const int value : axis) {
        bytes.push_back(static_cast<BYTE>(value & 0xFF));
        bytes.push_back(static_cast<BYTE>(value >> 8));
    }
}

// Three rpm columns by two injection-time rows, row by row.
Bytes LongTable(int first) {
    Bytes bytes;
    PutAxis(bytes, {1000, 2000, 3000});
    PutAxis(bytes, {2000, 4000});
    for (int i = 0; i < 6; ++i) {
        bytes.push_back(static_cast<BYTE>(first + i));
    }
    return bytes;
}

// Twelve temperature columns by four rows; row 0 holds the warm-up values.
Bytes WarmUpTable(int first) {
    Bytes bytes;
    PutAxis(bytes, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100, 1200});
    PutAxis(bytes, {1000, 2000, 3000, 4000});
    for (int i = 0; i < 48; ++i) {
        bytes.push_back(static_cast<BYTE>(i < 12 ? first + i : 0));
    }
    return bytes;
}

class AdaptTablesPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        page.SetConfigDynamic(&map);
        ASSERT_TRUE(page.Create(CAdaptTablesPage::kTemplateId, &main));
        ConnectIdle();
        boxes.clear();
    }

    BYTE* Element(int element) { return handler.GetImage(kImageWorking) + handler.GetElementOffset(element); }

    void Put(int element, const Bytes& bytes) { std::copy(bytes.begin(), bytes.end(), Element(element)); }

    void Notify(int element, LONG_PTR reason) {
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | reason);
        PumpMessages();
    }

    void LoadTables() {
        Put(80, LongTable(1));
        Put(82, LongTable(-10));
        Put(84, WarmUpTable(100));
        Put(86, WarmUpTable(90));
        Put(79, {1});
        Notify(79, kReasonLoaded);
    }

    // The unit answers the row read of the element.
    void Answer(int element, const Bytes& answer) {
        Put(element, answer);
        Notify(element, kReasonTransferred);
    }

    void Show() {
        page.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    // The last queued read: {element, kind, row, count}.
    std::vector<int> LastRead() const {
        if (queue.requests.empty()) {
            return {};
        }
        const QueuedRequest& request = queue.requests.back();
        return {request.element, request.source[0], request.source[1], request.source[2]};
    }

    std::string Twin(int row, int col) {
        auto* cell = dynamic_cast<CGridCellTwin*>(page.GetGrid().GetCell(row, col));
        if (cell == nullptr) {
            return "<none>";
        }
        return std::string(cell->GetFirstText()) + "|" + std::string(cell->GetSecondText());
    }

    std::string Cell(int row, int col) { return std::string(page.GetGrid().GetCellText(row, col)); }

    HWND Item(int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }

    void ChooseView(int view) {
        SendMessageA(Item(IDC_ADAPT_VIEW), CB_SETCURSEL, view, 0);
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADAPT_VIEW, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(Item(IDC_ADAPT_VIEW)));
        PumpMessages();
    }

    FakeMap map;
    CAdaptTablesPage page;
};

TEST_F(AdaptTablesPageTest, UnitWithoutTablesLeavesAnEmptyDisabledPage) {
    Show();
    Put(79, {0});
    Notify(79, kReasonLoaded);
    EXPECT_EQ(0, page.GetGrid().GetRowCount());
    EXPECT_EQ(0, page.GetGrid().GetColumnCount());
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_ADAPT_VIEW)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_ADAPT_CLEAR)));
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_EQ(3, SendMessageA(Item(IDC_ADAPT_VIEW), CB_GETCOUNT, 0, 0));
}

TEST_F(AdaptTablesPageTest, ShowsTheLongTablesSideBySide) {
    LoadTables();
    CGridCtrl& grid = page.GetGrid();
    ASSERT_EQ(3, grid.GetRowCount());
    ASSERT_EQ(4, grid.GetColumnCount());
    EXPECT_EQ("%", Cell(0, 0));
    EXPECT_EQ("2000", Cell(0, 2));
    EXPECT_EQ("4.00", Cell(2, 0));
    EXPECT_EQ("1|-10", Twin(1, 1));
    EXPECT_EQ("6|-5", Twin(2, 3));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_ADAPT_VIEW)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_ADAPT_CLEAR)));
    EXPECT_TRUE(queue.requests.empty()) << "a hidden page reads nothing";
    EXPECT_EQ(std::vector<std::string>{}, LayoutClashes(page.GetSafeHwnd()));
}

TEST_F(AdaptTablesPageTest, SummarizedViewAddsTheMapAndItsBase) {
    LoadTables();
    // Table A's value -3 at row 1, column 2, where the map holds 12 over a base of 5.
    Answer(81, {1, 0, 0, static_cast<BYTE>(-3)});
    ChooseView(CAdaptTablesPage::kViewSummarized);
    EXPECT_EQ("14|12", Twin(2, 3));
    EXPECT_EQ("6|-5", Twin(1, 1));
}

TEST_F(AdaptTablesPageTest, ReadsRowsAlternatelyWhileVisibleAndKeepsThemInTheImage) {
    LoadTables();
    Show();
    EXPECT_EQ((std::vector<int>{81, 1, 0, 3}), LastRead());
    Answer(81, {0, 50, 51, 52});
    EXPECT_EQ("50|-10", Twin(1, 1));
    EXPECT_EQ((std::vector<int>{83, 2, 0, 3}), LastRead());
    // The table element in the working image holds the row as read.
    CAdaptiveTable stored;
    ASSERT_TRUE(stored.Decode(Element(80), 1024));
    EXPECT_EQ(52, stored.GetCell(0, 2));
    EXPECT_EQ(4, stored.GetCell(1, 0));

    Answer(83, {0, 60, 61, 62});
    EXPECT_EQ("50|60", Twin(1, 1));
    EXPECT_EQ((std::vector<int>{81, 1, 1, 3}), LastRead());
    Answer(81, {1, 1, 1, 1});
    Answer(83, {1, 2, 2, 2});
    EXPECT_EQ((std::vector<int>{81, 1, 0, 3}), LastRead()) << "the row wraps at the row count";
}

TEST_F(AdaptTablesPageTest, HidingDuringAReadStoresTheReplyButAsksNoMore) {
    LoadTables();
    Show();
    ASSERT_EQ(1u, queue.requests.size());
    page.ShowWindow(SW_HIDE);
    PumpMessages();
    Answer(81, {1, 7, 8, 9});
    EXPECT_EQ(1u, queue.requests.size());
    EXPECT_FALSE(page.IsReading());
    EXPECT_EQ(9, page.GetTable(0).GetCell(1, 2));
    Show();
    EXPECT_EQ(2u, queue.requests.size()) << "showing the page starts the cycle again";
    EXPECT_EQ((std::vector<int>{81, 1, 0, 3}), LastRead());
}

// However the row read under way is lost, the cycle ends, and showing the page again starts it:
// it must not wait for ever for an answer that will not come.
TEST_F(AdaptTablesPageTest, ALostRowReadEndsTheCycleAndShowingThePageStartsItAgain) {
    struct Case {
        const char* name;
        std::function<void()> lose;
    };

    const Case cases[] = {
        {"the read failed",
         [this] {
             page.PostMessage(WM_DH_ELEMENT_CHANGED, 0, 81 | kReasonTransferred);
             PumpMessages();
         }},
        {"the link went with the queue",
         [this] {
             handler.DataHandler(1, 0);
             PumpMessages();
             ConnectIdle();
         }},
        {"the read was refused",
         [this] {
             page.ShowWindow(SW_HIDE);
             PumpMessages();
             Answer(81, {0, 1, 1, 1});  // the cycle ends while hidden
             queue.refuse = true;
             Show();
             queue.refuse = false;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.ShowWindow(SW_HIDE);
        PumpMessages();
        if (page.IsReading()) {
            Answer(81, {0, 1, 1, 1});  // the cycle of the case before ends while hidden
        }
        LoadTables();
        Show();
        ASSERT_TRUE(page.IsReading());
        c.lose();
        EXPECT_FALSE(page.IsReading());
        queue.requests.clear();
        page.ShowWindow(SW_HIDE);
        PumpMessages();
        Show();
        EXPECT_TRUE(page.IsReading());
        EXPECT_EQ((std::vector<int>{81, 1, 0, 3}), LastRead());
    }
}

TEST_F(AdaptTablesPageTest, AnswersNamingNoRowChangeNothing) {
    LoadTables();
    Show();
    Answer(81, {2, 99, 99, 99});
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_NE(99, page.GetTable(0).GetCell(row, column));
        }
    }
}

TEST_F(AdaptTablesPageTest, WarmUpViewShowsItsBlockAndReadsTablesCAndD) {
    LoadTables();
    ChooseView(CAdaptTablesPage::kViewWarmUp);
    ASSERT_EQ(5, page.GetGrid().GetRowCount());
    ASSERT_EQ(13, page.GetGrid().GetColumnCount());
    // R = (4 - 1) / 2 + 1 = 2, K = (12 - 9) / 2 = 1.
    EXPECT_EQ(
        "\xB0"
        "C",
        Cell(2, 1));
    EXPECT_EQ("%", Cell(3, 1));
    EXPECT_EQ("127", Cell(2, 2));
    EXPECT_EQ("-128", Cell(2, 11));
    EXPECT_EQ("0", Cell(3, 2)) << "100 less the offset 100";
    EXPECT_EQ("7", Cell(3, 5)) << "103 less 96";
    EXPECT_EQ("-10", Cell(4, 2));
    EXPECT_EQ("", Cell(1, 3));
    Show();
    EXPECT_EQ((std::vector<int>{85, 3, 0, 12}), LastRead());
    Answer(85, {0, 110});
    EXPECT_EQ("10", Cell(3, 2));
    EXPECT_EQ((std::vector<int>{87, 4, 0, 12}), LastRead());
    Answer(87, {0, 100});
    EXPECT_EQ((std::vector<int>{85, 3, 0, 12}), LastRead());
}

TEST_F(AdaptTablesPageTest, ClearAsksFirstAndSendsTheCommandOnYes) {
    LoadTables();
    const AfxPrompter previous = AfxSetPrompter([this](const char* text, UINT, const char*) {
        boxes.push_back(text);
        return boxes.size() == 1 ? IDNO : IDYES;
    });
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADAPT_CLEAR, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_ADAPT_CLEAR)));
    PumpMessages();
    EXPECT_TRUE(QueuedElements().empty());
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADAPT_CLEAR, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(IDC_ADAPT_CLEAR)));
    PumpMessages();
    AfxSetPrompter(previous);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Are you sure you want to clear the adaptive tables?", boxes[0]);
    EXPECT_EQ(std::vector<int>{96}, QueuedElements());
}

TEST_F(AdaptTablesPageTest, LiveValuesAndTheirResetOnDisconnect) {
    LoadTables();
    Put(92, {static_cast<BYTE>(-5)});
    Put(34, {0xDC, 0x05});  // 1.5, shown at the scale's end
    page.PostMessage(WM_DH_NEW_DATA, 0, 0);
    PumpMessages();
    EXPECT_EQ("-5 %", WindowText(Item(IDC_ADAPT_CORR_VALUE)));
    EXPECT_EQ("1.20 ", WindowText(Item(IDC_ADAPT_LAMBDA_VALUE)));
    page.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_EQ("0 %", WindowText(Item(IDC_ADAPT_CORR_VALUE)));
    EXPECT_EQ("0.00 ", WindowText(Item(IDC_ADAPT_LAMBDA_VALUE)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_ADAPT_CLEAR)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_ADAPT_VIEW)));
}

}  // namespace
