// The event log and trouble-code pages under Wine, in a stand-in main window and fed by a
// data handler whose unit is connected and idle: the test fills the elements, sends the
// data handler's messages, reads the grids back and checks the requests that the commands
// queue.
#include "diag/CDtcPage.h"
#include "diag/CEventLogPage.h"
#include "forms/GridTipRequest.h"
#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"
#include "tests/datamodel/CRecordingWindow.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;
using Rows = std::vector<std::vector<std::string>>;

constexpr COLORREF kExtantColour = RGB(200, 0, 0);

Bytes PlainRecord(BYTE id, int counter, int lastHours) {
    return {11, id, 1, 0, 2, 3, static_cast<BYTE>(counter), 0, static_cast<BYTE>(lastHours), 0, 5, 6};
}

// First and last occurrence at 800 1/min, 2.5 ms, 90 degrees C.
Bytes ConditionsRecord(BYTE id, int counter, int lastHours) {
    return {21,   id,
            1,    0,
            2,    3,
            0x20, 0x03,
            0xC4, 0x09,
            90,   static_cast<BYTE>(counter),
            0,    static_cast<BYTE>(lastHours),
            0,    5,
            6,    0x20,
            0x03, 0xC4,
            0x09, 90};
}

Bytes Join(std::initializer_list<Bytes> records) {
    Bytes log;
    for (const Bytes& record : records) {
        log.insert(log.end(), record.begin(), record.end());
    }
    return log;
}

// A control's rectangle in its page's client coordinates.
RECT ChildRect(const CWnd& page, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(page.GetSafeHwnd(), id), &rect);
    MapWindowPoints(nullptr, page.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct Placement {
    int id;
    RECT expected;
};

void ExpectPlacements(const CWnd& page, const std::vector<Placement>& placements) {
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.id);
        const RECT actual = ChildRect(page, p.id);
        EXPECT_EQ(actual.left, p.expected.left);
        EXPECT_EQ(actual.top, p.expected.top);
        EXPECT_EQ(actual.right, p.expected.right);
        EXPECT_EQ(actual.bottom, p.expected.bottom);
    }
}

RECT ClientOf(const CWnd& page) {
    RECT client = {};
    GetClientRect(page.GetSafeHwnd(), &client);
    return client;
}

CGridCtrl& GridOf(const CWnd& page, int id) {
    return *static_cast<CGridCtrl*>(CWnd::FromHandlePermanent(GetDlgItem(page.GetSafeHwnd(), id)));
}

Rows GridRows(const CGridCtrl& grid) {
    Rows rows;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < grid.GetColumnCount(); ++column) {
            cells.push_back(static_cast<LPCSTR>(grid.GetCellText(row, column)));
        }
        rows.push_back(cells);
    }
    return rows;
}

class DiagnosisPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        handler.RegisterWindow(&broadcasts);
    }

    void TearDown() override { handler.UnregisterWindow(&broadcasts); }

    void SetUpPage(CScrollPage& page, UINT templateId) {
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        ASSERT_TRUE(page.Create(templateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
        broadcasts.Clear();
        boxes.clear();
    }

    void AnswerBoxes(int answer) {
        AfxSetPrompter([this, answer](const char* text, UINT, const char*) {
            boxes.push_back(text);
            return answer;
        });
    }

    void Fill(int element, const Bytes& bytes) {
        BYTE* image = handler.GetImage(kImageWorking) + handler.GetElementOffset(element);
        std::fill(image, image + handler.GetElementLength(element), 0);
        std::copy(bytes.begin(), bytes.end(), image);
    }

    // The unit confirms the transfer of a command element.
    void Complete(int element) {
        CommRequest request;
        request.descriptor = handler.GetDescriptor(element);
        handler.OnTaskFinished(&request, 1);
        PumpMessages();
    }

    std::vector<UINT_PTR> EventLogStates() const {
        std::vector<UINT_PTR> states;
        for (const PostedMessage& m : broadcasts.MessagesOf(WM_DH_EVENTLOG_CHANGED)) {
            states.push_back(m.wParam);
        }
        return states;
    }

    static bool Enabled(const CWnd& page, int id) {
        return IsWindowEnabled(GetDlgItem(page.GetSafeHwnd(), id)) != FALSE;
    }

    CRecordingWindow broadcasts;
};

class EventLogPageTest : public DiagnosisPageTest {
protected:
    void SetUp() override {
        DiagnosisPageTest::SetUp();
        SetUpPage(page, CEventLogPage::kTemplateId);
    }

    // One live cycle: element 43 holds the records, element 77 the running time.
    void Cycle(const Bytes& log, const Bytes& liveTime = {0, 0, 0, 0}) {
        Fill(43, log);
        Fill(77, liveTime);
        page.PostMessage(WM_DH_NEW_DATA, 0, 0);
        PumpMessages();
    }

    CGridCtrl& Grid() { return GridOf(page, CEventLogPage::kGridId); }

    void ClickHeader(int column) {
        GridNotifyRecord record = {};
        record.hdr.hwndFrom = Grid().GetSafeHwnd();
        record.hdr.idFrom = CEventLogPage::kGridId;
        record.hdr.code = static_cast<UINT>(GRIDN_CLICK);
        record.row = 0;
        record.col = column;
        SendMessageA(page.GetSafeHwnd(), WM_NOTIFY, CEventLogPage::kGridId,
                     reinterpret_cast<LPARAM>(&record));
    }

    std::string RunningTime() const {
        return WindowText(GetDlgItem(page.GetSafeHwnd(), CEventLogPage::kRunningTimeId));
    }

    CEventLogPage page{nullptr};
};

TEST_F(EventLogPageTest, ListsDecodedEventsAndMarksThemPresentFromTheNextCycle) {
    EXPECT_EQ(RunningTime(), "-");
    EXPECT_FALSE(Enabled(page, CEventLogPage::kDeleteButtonId));
    EXPECT_TRUE(Enabled(page, CEventLogPage::kResetButtonId)) << "the link is up";

    const Bytes log = Join({PlainRecord(3, 5, 7), ConditionsRecord(29, 2, 4)});
    Cycle(log, {0x39, 0x30, 34, 56});
    const Rows first = {
        {"\xBB # \xBB", "  Event  ", "  Extant  ", "  Counter  ", "  First time  ", "  Last time  "},
        {"1.", "Low gas pressure", "NO", "2", "0001:02:03", "0004:05:06"},
        {"2.", "No petrol injection signal #3", "NO", "5", "0001:02:03", "0007:05:06"},
    };
    EXPECT_EQ(GridRows(Grid()), first);
    EXPECT_EQ(RunningTime(), "12345:34:56");
    EXPECT_TRUE(Enabled(page, CEventLogPage::kDeleteButtonId));
    EXPECT_EQ(Grid().GetCellBackColour(1, 0), RGB(0xD0, 0xD0, 0xEF));
    EXPECT_EQ(Grid().GetCellBackColour(2, 5), RGB(0xE0, 0xE0, 0xFF));

    Cycle(log);
    EXPECT_EQ(Grid().GetCellText(1, 2), "YES");
    EXPECT_EQ(Grid().GetCellTextColour(1, 2), kExtantColour);
    Cycle(log);
    // A counter that grows while the event is present shows at once.
    Cycle(Join({PlainRecord(3, 6, 8), ConditionsRecord(29, 2, 4)}));
    EXPECT_EQ(Grid().GetCellText(2, 3), "6");
    EXPECT_EQ(Grid().GetCellText(2, 5), "0008:05:06");
    // An empty log keeps the events, none present.
    Cycle({});
    EXPECT_EQ(Grid().GetRowCount(), 3);
    EXPECT_EQ(Grid().GetCellText(1, 2), "NO");
    EXPECT_EQ(Grid().GetCellText(2, 2), "NO");

    EXPECT_EQ(EventLogStates(), (std::vector<UINT_PTR>{2, 3, 2})) << "0x604 only on a change of state";
}

TEST_F(EventLogPageTest, HeaderClicksSortAndReverseTheList) {
    Cycle(Join({PlainRecord(27, 9, 1), ConditionsRecord(29, 2, 2), PlainRecord(3, 5, 3)}));

    struct Case {
        int column;
        std::string header;
        std::vector<std::string> counters;
    };

    const Case cases[] = {
        {3, "\xBB Counter \xBB", {"2", "5", "9"}},
        {3, "\xAB Counter \xAB", {"9", "5", "2"}},
        {0, "\xBB # \xBB", {"9", "2", "5"}},
        {0, "\xAB # \xAB", {"5", "2", "9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        ClickHeader(c.column);
        PumpMessages();
        EXPECT_EQ(Grid().GetCellText(0, c.column), c.header.c_str());
        std::vector<std::string> counters;
        for (int row = 1; row < Grid().GetRowCount(); ++row) {
            counters.push_back(static_cast<LPCSTR>(Grid().GetCellText(row, 3)));
        }
        EXPECT_EQ(counters, c.counters);
    }
    EXPECT_EQ(Grid().GetCellText(0, 3), "  Counter  ");
}

TEST_F(EventLogPageTest, TipsExplainOnlyTheTimesOfEventsWithConditions) {
    Cycle(Join({PlainRecord(27, 9, 1), ConditionsRecord(29, 2, 4)}));
    CString tip;
    LOGFONTA font = {};
    page.GetEventTip(tip, font, 2, 4);
    EXPECT_EQ(std::string(tip),
              "Event: \"Low gas pressure\" \ntime: 0001:02:03\nParameters:\n- rev:  800 1/min\n"
              "- injection time: 2.50 ms\n- engine temperature: 90 \xB0"
              "C");
    EXPECT_EQ(std::string(font.lfFaceName), "Arial");
    page.GetEventTip(tip, font, 2, 5);
    EXPECT_NE(std::string(tip).find("time: 0004:05:06"), std::string::npos);
    for (const int column : {0, 1, 2, 3}) {
        page.GetEventTip(tip, font, 2, column);
        EXPECT_TRUE(tip.IsEmpty()) << column;
    }
    page.GetEventTip(tip, font, 1, 4);
    EXPECT_TRUE(tip.IsEmpty()) << "an event without conditions";
}

TEST_F(EventLogPageTest, CommandsClearTheUnitsLogAndThenTheTable) {
    struct Case {
        int button;
        int element;
        const char* question;
    };

    const Case cases[] = {
        {CEventLogPage::kDeleteButtonId, 42, "Are you sure you want to delete all events?"},
        {CEventLogPage::kResetButtonId, 51, "Are you sure you want to reset diagnosis?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        const Bytes log = Join({PlainRecord(3, 5, 7)});
        Cycle(log);
        Cycle(log);
        queue.requests.clear();
        broadcasts.Clear();

        AnswerBoxes(IDNO);
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        EXPECT_TRUE(queue.requests.empty()) << "No sent the command";

        AnswerBoxes(IDYES);
        boxes.clear();
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        PumpMessages();
        EXPECT_EQ(boxes, std::vector<std::string>{c.question});
        EXPECT_EQ(QueuedElements(), std::vector<int>{c.element});
        EXPECT_EQ(Grid().GetRowCount(), 2) << "the table waits for the unit";

        Complete(c.element);
        EXPECT_EQ(QueuedElements(), (std::vector<int>{c.element, 41}));
        EXPECT_EQ(Grid().GetRowCount(), 1);
        EXPECT_FALSE(Enabled(page, CEventLogPage::kDeleteButtonId));
        EXPECT_EQ(EventLogStates(), std::vector<UINT_PTR>{1});
    }
}

// A command the unit did not take leaves its log as it is: the page neither tells it to drop
// its copy nor empties the table; a failed running-time read shows no new time.
TEST_F(EventLogPageTest, AFailedTransferChangesNothing) {
    const LONG_PTR notices[] = {42 | kReasonTransferred, 51 | kReasonTransferred, 41 | kReasonTransferred,
                                67 | kReasonLoaded};
    const Bytes log = Join({PlainRecord(3, 5, 7)});
    Cycle(log);
    Cycle(log);
    Fill(67, {0x10, 0x00, 7, 8});
    const std::string shownTime = RunningTime();
    for (const LONG_PTR notice : notices) {
        SCOPED_TRACE(LOWORD(notice));
        queue.requests.clear();
        broadcasts.Clear();
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 0, notice);
        PumpMessages();
        EXPECT_TRUE(queue.requests.empty());
        EXPECT_EQ(Grid().GetRowCount(), 2);
        EXPECT_TRUE(Enabled(page, CEventLogPage::kDeleteButtonId));
        EXPECT_TRUE(EventLogStates().empty());
        EXPECT_EQ(RunningTime(), shownTime);
    }
}

TEST_F(EventLogPageTest, LosingTheLinkDisablesBothButtons) {
    Cycle(Join({PlainRecord(3, 5, 7)}));
    ASSERT_TRUE(Enabled(page, CEventLogPage::kDeleteButtonId));
    page.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_FALSE(Enabled(page, CEventLogPage::kDeleteButtonId));
    EXPECT_FALSE(Enabled(page, CEventLogPage::kResetButtonId));
    page.PostMessage(WM_DH_STATUS_CHANGED, 4, 7);
    PumpMessages();
    EXPECT_TRUE(Enabled(page, CEventLogPage::kResetButtonId));
    EXPECT_FALSE(Enabled(page, CEventLogPage::kDeleteButtonId)) << "only decoding enables Delete";
}

TEST_F(EventLogPageTest, ShowsTheTotalRunningTimeWhenLoaded) {
    Fill(67, {0x10, 0x00, 7, 8});
    page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, 67 | kReasonLoaded);
    PumpMessages();
    EXPECT_EQ(RunningTime(), "0016:07:08");
}

TEST_F(EventLogPageTest, PlacesItsControlsByTheClientSize) {
    const RECT client = ClientOf(page);
    const int w = client.right;
    const int h = client.bottom;
    ExpectPlacements(page, {
                               {CEventLogPage::kGridId, {16, 16, w - 16, h - 88}},
                               {CEventLogPage::kDeleteButtonId, {16, h - 72, 216, h - 48}},
                               {CEventLogPage::kResetButtonId, {16, h - 40, 216, h - 16}},
                               {CEventLogPage::kRunningLabelId, {w - 254, h - 72, w - 134, h - 55}},
                               {CEventLogPage::kRunningTimeId, {w - 126, h - 72, w - 16, h - 55}},
                           });
}

class DtcPageTest : public DiagnosisPageTest {
protected:
    void SetUp() override {
        DiagnosisPageTest::SetUp();
        SetUpPage(page, CDtcPage::kTemplateId);
    }

    // Element 119 or 120 with n = 16, m = 16 and the snapshot bytes from ring position 2 on.
    void Load(int element, const Bytes& snapshots) {
        Bytes bytes(1024, 0);
        bytes[0] = 16;
        bytes[33] = 16;
        const int base = 66;
        bytes[base] = 0;
        bytes[base + 1] = 0;  // not wrapped yet
        std::copy(snapshots.begin(), snapshots.end(), bytes.begin() + base + 2);
        std::fill(bytes.begin() + base + 2 + snapshots.size(), bytes.begin() + base + 256, 0xFF);
        Fill(element, bytes);
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | kReasonLoaded);
        PumpMessages();
    }

    CDtcPage page{nullptr};
};

TEST_F(DtcPageTest, PlacesTheTwoListsSideBySide) {
    const RECT client = ClientOf(page);
    const int gridWidth = (client.right - 40) / 2;
    const int gridBottom = 41 + client.bottom - 89;
    ExpectPlacements(page,
                     {
                         {CDtcPage::kStoredLabelId, {16, 16, 16 + gridWidth, 33}},
                         {CDtcPage::kPendingLabelId, {24 + gridWidth, 16, 24 + 2 * gridWidth, 33}},
                         {CDtcPage::kStoredGridId, {16, 41, 16 + gridWidth, gridBottom}},
                         {CDtcPage::kPendingGridId, {24 + gridWidth, 41, 24 + 2 * gridWidth, gridBottom}},
                         {CDtcPage::kDeleteButtonId, {16, gridBottom + 8, 216, gridBottom + 32}},
                     });
}

TEST_F(DtcPageTest, ShowsTheSnapshotsOfBothLists) {
    EXPECT_FALSE(Enabled(page, CDtcPage::kDeleteButtonId));
    Load(119, {0x00, 0x01, 2, 3, 0x82, 0x01, 0x33, 0x56, 0x34, 0x00, 0x02, 0, 0, 0x01, 0x0A, 0x00});
    const Rows stored = {
        {"Time", "#", "MIL", "DTCs"},
        {"0001:02:03", "2", "YES", "P0133, C1634"},
        {"0002:00:00", "1", "NO", "Invalid code: 0x000A"},
    };
    EXPECT_EQ(GridRows(GridOf(page, CDtcPage::kStoredGridId)), stored);
    EXPECT_EQ(GridOf(page, CDtcPage::kStoredGridId).GetCellTextColour(1, 2), kExtantColour);
    EXPECT_TRUE(Enabled(page, CDtcPage::kDeleteButtonId));

    Load(120, {0x00, 0x05, 0, 1, 0x00});
    const Rows pending = {{"Time", "#", "MIL", "DTCs"}, {"0005:00:01", "0", "NO", ""}};
    EXPECT_EQ(GridRows(GridOf(page, CDtcPage::kPendingGridId)), pending);
}

TEST_F(DtcPageTest, DeletingEmptiesBothTablesBeforeTheUnitAnswers) {
    Load(119, {0x00, 0x01, 2, 3, 0x81, 0x01, 0x33});
    Load(120, {0x00, 0x01, 2, 3, 0x81, 0x01, 0x34});
    queue.requests.clear();

    AnswerBoxes(IDNO);
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CDtcPage::kDeleteButtonId, BN_CLICKED), 0);
    EXPECT_EQ(GridOf(page, CDtcPage::kStoredGridId).GetRowCount(), 2);
    EXPECT_TRUE(queue.requests.empty());

    AnswerBoxes(IDYES);
    boxes.clear();
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CDtcPage::kDeleteButtonId, BN_CLICKED), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"Are you sure you want to clear the trouble codes?"});
    EXPECT_EQ(QueuedElements(), std::vector<int>{121});
    EXPECT_EQ(GridOf(page, CDtcPage::kStoredGridId).GetRowCount(), 1);
    EXPECT_EQ(GridOf(page, CDtcPage::kPendingGridId).GetRowCount(), 1);

    page.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_FALSE(Enabled(page, CDtcPage::kDeleteButtonId));
}

TEST_F(DtcPageTest, TipsBreakLongCodeListsIntoLines) {
    Bytes snapshot = {0x00, 0x01, 2, 3, 0x14};  // 20 codes: P0100 ... P0119
    for (int i = 0; i < 20; ++i) {
        snapshot.push_back(0x01);
        snapshot.push_back(static_cast<BYTE>((i / 10) << 4 | (i % 10)));
    }
    Load(119, snapshot);
    const CGridCtrl& grid = GridOf(page, CDtcPage::kStoredGridId);
    CString tip;
    LOGFONTA font = {};
    page.GetCodesTip(grid, 1, 3, tip, font);
    const std::string text(tip);
    ASSERT_EQ(text.find("P0100, P0101"), 0u);
    size_t lineStart = 0;
    int lines = 0;
    for (size_t end = text.find('\n');; end = text.find('\n', lineStart)) {
        const size_t stop = end == std::string::npos ? text.size() : end;
        EXPECT_LT(stop - lineStart, 80u);
        ++lines;
        if (end == std::string::npos) {
            break;
        }
        lineStart = end + 1;
    }
    EXPECT_GT(lines, 1);
    EXPECT_EQ(std::string(font.lfFaceName), "Arial");
    page.GetCodesTip(grid, 1, 0, tip, font);
    EXPECT_TRUE(tip.IsEmpty());
    page.GetCodesTip(grid, 0, 3, tip, font);
    EXPECT_TRUE(tip.IsEmpty());

    // The grid's own request (0x611) names the cell under the mouse.
    CGridCtrl& storedGrid = GridOf(page, CDtcPage::kStoredGridId);
    RECT cell = {};
    ASSERT_TRUE(storedGrid.GetCellRect(1, 3, &cell));
    SendMessageA(storedGrid.GetSafeHwnd(), WM_MOUSEMOVE, 0,
                 MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    PumpMessages();
    GridTipRequest request;
    SendMessageA(page.GetSafeHwnd(), WM_GRID_TIP_REQUEST, reinterpret_cast<WPARAM>(&storedGrid),
                 reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(std::string(request.text), text);
    EXPECT_EQ(std::string(request.font.lfFaceName), "Arial");
}

}  // namespace
