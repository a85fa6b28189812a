// The OBD-II page under Wine, in a stand-in main window and fed by a data handler whose unit
// is connected and idle: the test plays the unit, answering each request that the page
// writes into element 97 with a reply text in element 99, and reads the page back.
#include "diag/CObdPage.h"

#include "grid/CGridCtrl.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"
#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

class ObdPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        ASSERT_TRUE(page.Create(CObdPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
    }

    void TearDown() override { page.DestroyWindow(); }

    void Fill(int element, const Bytes& bytes) {
        BYTE* image = handler.GetImage(kImageWorking) + handler.GetElementOffset(element);
        std::fill(image, image + handler.GetElementLength(element), 0);
        std::copy(bytes.begin(), bytes.end(), image);
    }

    void Complete(int element) {
        CommRequest request;
        request.descriptor = handler.GetDescriptor(element);
        handler.OnTaskFinished(&request, 1);
        PumpMessages();
    }

    void Offer(BYTE value) {
        Fill(CObdPage::kOfferElement, {value});
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, CObdPage::kOfferElement | kReasonLoaded);
        PumpMessages();
    }

    // The request text that the page last queued for element 97, without its CR; empty when
    // the last request is not such a write.
    std::string WrittenRequest() const {
        if (queue.requests.empty() || queue.requests.back().element != CObdPage::kRequestElement) {
            return "";
        }
        const BYTE* source = queue.requests.back().source;
        std::string text(reinterpret_cast<const char*>(source + 1), source[0]);
        EXPECT_EQ(text.back(), '\r');
        text.pop_back();
        return text;
    }

    // The unit passes the request on and, once asked for element 99, hands back the reply.
    void Answer(const std::string& request, const Bytes& replyElement) {
        ASSERT_EQ(WrittenRequest(), request);
        queue.requests.clear();
        Complete(CObdPage::kRequestElement);
        ASSERT_EQ(QueuedElements(), std::vector<int>{CObdPage::kReplyElement});
        queue.requests.clear();
        Fill(CObdPage::kReplyElement, replyElement);
        Complete(CObdPage::kReplyElement);
    }

    void Answer(const std::string& request, const std::string& reply) {
        Bytes element = {static_cast<BYTE>(reply.size())};
        element.insert(element.end(), reply.begin(), reply.end());
        Answer(request, element);
    }

    std::string Text(int id) const { return WindowText(GetDlgItem(page.GetSafeHwnd(), id)); }

    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(page.GetSafeHwnd(), id)) != FALSE; }

    CGridCtrl& Grid(int id) { return *static_cast<CGridCtrl*>(page.GetDlgItem(id)); }

    std::vector<std::string> Column(int id, int column, int firstRow = 0) {
        CGridCtrl& grid = Grid(id);
        std::vector<std::string> texts;
        for (int row = firstRow; row < grid.GetRowCount(); ++row) {
            texts.push_back(std::string(grid.GetCellText(row, column)));
        }
        return texts;
    }

    std::vector<std::string> FreezeRow(int row) {
        CGridCtrl& grid = Grid(IDC_OBD_FREEZE_GRID);
        return {std::string(grid.GetCellText(row, 0)), std::string(grid.GetCellText(row, 1)),
                std::string(grid.GetCellText(row, 2))};
    }

    void SelectCode(int gridId, int row) {
        GridNotifyRecord record = {};
        record.hdr.hwndFrom = Grid(gridId).GetSafeHwnd();
        record.hdr.idFrom = static_cast<UINT_PTR>(gridId);
        record.hdr.code = static_cast<UINT>(GRIDN_SELCHANGED);
        record.row = row;
        SendMessageA(page.GetSafeHwnd(), WM_NOTIFY, gridId, reinterpret_cast<LPARAM>(&record));
    }

    void Click(int id) {
        SendMessageA(GetDlgItem(page.GetSafeHwnd(), id), BM_CLICK, 0, 0);
        PumpMessages();
    }

    CObdPage page{nullptr};
};

// Readiness monitors of the scan below: B 07, C 65, D 04.
const char* const kSupported[] = {"YES", "YES", "YES", "YES", "NO", "YES", "NO", "NO", "YES", "YES", "NO"};
const char* const kCompleted[] = {"YES", "YES", "YES", "YES", "YES", "NO", "YES", "YES", "YES", "YES", "YES"};

TEST_F(ObdPageTest, StartsBlankWithItsTextsAndWaitsForAUnitThatOffersObd) {
    EXPECT_EQ(Text(IDC_OBD_MIL), "-");
    EXPECT_EQ(Text(IDC_OBD_COUNT), "-");
    EXPECT_EQ(Text(IDC_OBD_VIN), "-");
    EXPECT_EQ(Text(IDC_OBD_TYPE), "-");
    for (int i = 0; i < CObdPage::kMonitorCount; ++i) {
        EXPECT_EQ(Text(IDC_OBD_MONITOR_SUPPORT + i), "-");
        EXPECT_EQ(Text(IDC_OBD_MONITOR_COMPLETE + i), "-");
    }
    EXPECT_EQ(Grid(IDC_OBD_STORED_GRID).GetRowCount(), 0);
    EXPECT_EQ(Grid(IDC_OBD_PENDING_GRID).GetRowCount(), 0);
    EXPECT_EQ(FreezeRow(0), (std::vector<std::string>{"PID", "Description", "Value"}));
    EXPECT_EQ(Grid(IDC_OBD_FREEZE_GRID).GetRowCount(), 1);
    EXPECT_EQ(Text(IDC_OBD_MONITOR_LABEL + 4), "Heated Catalyst:");
    EXPECT_EQ(Text(IDC_OBD_STORED_GROUP), "stored DTCs");
    EXPECT_EQ(Text(IDC_OBD_COUNT_LABEL), "Number of DTCs:");
    EXPECT_TRUE(LayoutClashes(page.GetSafeHwnd()).empty());

    EXPECT_FALSE(Enabled(IDC_OBD_UPDATE));
    EXPECT_FALSE(Enabled(IDC_OBD_CLEAR));
    EXPECT_FALSE(page.StartScan()) << "the unit has not said that it offers OBD";
    EXPECT_TRUE(queue.requests.empty());

    Offer(1);
    EXPECT_TRUE(Enabled(IDC_OBD_UPDATE));
    EXPECT_TRUE(Enabled(IDC_OBD_CLEAR));
    Offer(0);
    EXPECT_FALSE(Enabled(IDC_OBD_UPDATE));
    EXPECT_FALSE(Enabled(IDC_OBD_CLEAR));

    SetWindowTextA(GetDlgItem(page.GetSafeHwnd(), IDC_OBD_TYPE_LABEL), "x");
    page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
    PumpMessages();
    EXPECT_EQ(Text(IDC_OBD_TYPE_LABEL), "OBD Type:");
}

TEST_F(ObdPageTest, ShowsWhatAScanOfTheCarReads) {
    Offer(1);
    ASSERT_TRUE(page.StartScan());
    EXPECT_FALSE(page.StartScan()) << "one scan at a time";
    Answer("0100", "41 00 A8 10 00 10\r\r>");
    Answer("0900", "49 00 01 40 00 00 00\r>");
    Answer("0101", "41 01 82 07 65 04\r>");
    EXPECT_EQ(Text(IDC_OBD_MIL), "ON");
    EXPECT_EQ(Text(IDC_OBD_COUNT), "2");
    for (int i = 0; i < CObdPage::kMonitorCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Text(IDC_OBD_MONITOR_SUPPORT + i), kSupported[i]);
        EXPECT_EQ(Text(IDC_OBD_MONITOR_COMPLETE + i), kCompleted[i]);
    }
    Answer("011C", "41 1C 06\r>");
    EXPECT_EQ(Text(IDC_OBD_TYPE), "EOBD (Europe)");
    Answer("0902",
           "49 02 01 00 00 00 57\r49 02 02 56 57 5A 5A\r49 02 03 5A 31 4B 5A\r"
           "49 02 04 31 32 33 34\r49 02 05 35 36 37 38\r>");
    EXPECT_EQ(Text(IDC_OBD_VIN), "WVWZZZ1KZ12345678");
    Answer("03", "43 01 33 02 01\r43 C1 00 FF FF\r>");
    EXPECT_EQ(Column(IDC_OBD_STORED_GRID, 0),
              (std::vector<std::string>{"P0133", "P0201", "U0100", "Invalid code: 0xFFFF"}));
    Answer("07", "47 03 00 00 00\r>");
    EXPECT_EQ(Column(IDC_OBD_PENDING_GRID, 0), std::vector<std::string>{"P0300"});
    Answer("0202", "42 02 01 33\r>");
    EXPECT_EQ(Text(IDC_OBD_FREEZE_CODE), "P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)");
    Answer("0203", "42 03 02 00\r>");
    Answer("020C", "42 0C 1A F8\r>");
    EXPECT_EQ(page.GetScanState(), 9);
    Answer("021C", "42 1C 06\r>");
    EXPECT_EQ(page.GetScanState(), 0);
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_EQ(Grid(IDC_OBD_FREEZE_GRID).GetRowCount(), 4);
    EXPECT_EQ(FreezeRow(1), (std::vector<std::string>{"03", "Fuel system status", "Closed loop, Unused"}));
    EXPECT_EQ(FreezeRow(2), (std::vector<std::string>{"0C", "Engine RPM", "1726 1/min"}));
    EXPECT_EQ(FreezeRow(3), (std::vector<std::string>{"1C", "-", "06"}));

    SelectCode(IDC_OBD_STORED_GRID, 0);
    EXPECT_EQ(Text(IDC_OBD_STORED_DESCRIPTION), "P0133\r\nO2 Sensor Circuit Slow Response (Bank 1 Sensor 1)");
    SelectCode(IDC_OBD_STORED_GRID, 3);
    EXPECT_EQ(Text(IDC_OBD_STORED_DESCRIPTION), "Invalid code: 0xFFFF");
    SelectCode(IDC_OBD_PENDING_GRID, 0);
    EXPECT_EQ(Text(IDC_OBD_PENDING_DESCRIPTION), "P0300\r\nRandom/Multiple Cylinder Misfire Detected");
    SelectCode(IDC_OBD_PENDING_GRID, -1);
    EXPECT_EQ(Text(IDC_OBD_PENDING_DESCRIPTION), "");
}

TEST_F(ObdPageTest, AsksAgainUntilTheReplyIsReadyAndEndsOnARefusal) {
    Offer(1);
    ASSERT_TRUE(page.StartScan());
    Answer("0100", Bytes{1, 0});
    EXPECT_EQ(QueuedElements(), std::vector<int>{CObdPage::kReplyElement}) << "not ready: element 99 again";
    EXPECT_EQ(page.GetScanState(), 1);
    queue.requests.clear();
    Fill(CObdPage::kReplyElement, {1, 7});
    Complete(CObdPage::kReplyElement);
    EXPECT_EQ(page.GetScanState(), 0);
    EXPECT_TRUE(queue.requests.empty());

    struct Row {
        const char* name;
        std::string reply;
    };

    const Row rows[] = {
        {"no prompt", "41 00 A8 10 00 10\r"},
        {"wrong echo", "41 20 A8 10 00 10\r>"},
        {"short bitmap", "41 00 A8\r>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(page.StartScan());
        Answer("0100", row.reply);
        EXPECT_EQ(page.GetScanState(), 0);
        EXPECT_TRUE(queue.requests.empty());
    }
}

// A transfer of element 97 or 99 that fails, or a reply that never gets ready, must not leave
// the scan running with nothing to wait for.
TEST_F(ObdPageTest, AFailedTransferOrAReplyThatNeverGetsReadyEndsTheScan) {
    Offer(1);
    for (const int element : {CObdPage::kRequestElement, CObdPage::kReplyElement}) {
        SCOPED_TRACE(element);
        ASSERT_TRUE(page.StartScan());
        if (element == CObdPage::kReplyElement) {
            Complete(CObdPage::kRequestElement);
        }
        queue.requests.clear();
        CommRequest request;
        request.descriptor = handler.GetDescriptor(element);
        handler.OnTaskFinished(&request, 0);
        PumpMessages();
        EXPECT_EQ(page.GetScanState(), 0);
        EXPECT_TRUE(queue.requests.empty());
    }

    ASSERT_TRUE(page.StartScan());
    Complete(CObdPage::kRequestElement);
    Fill(CObdPage::kReplyElement, {1, 0});
    int polls = 0;
    for (; polls <= CObdScanner::kMaxNotReadyPolls && page.GetScanState() != 0; ++polls) {
        queue.requests.clear();
        Complete(CObdPage::kReplyElement);
    }
    EXPECT_EQ(page.GetScanState(), 0);
    EXPECT_EQ(polls, CObdScanner::kMaxNotReadyPolls + 1);
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(ObdPageTest, ALostLinkEndsTheScanAndLateAnswersAreDropped) {
    Offer(1);
    ASSERT_TRUE(page.StartScan());
    page.PostMessage(WM_DH_STATUS_CHANGED, 4, 7);
    PumpMessages();
    EXPECT_EQ(page.GetScanState(), 1) << "a jammed link is still up";
    handler.DataHandler(1, 7);
    PumpMessages();
    EXPECT_EQ(page.GetScanState(), 0);
    queue.requests.clear();
    Complete(CObdPage::kRequestElement);
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_FALSE(page.StartScan()) << "no link";
}

TEST_F(ObdPageTest, UpdateShowsTheSampleAndClearEmptiesTheStoredCodes) {
    Offer(1);
    Click(IDC_OBD_UPDATE);
    const std::vector<std::string> sample = {
        "Invalid code: 0xFFFF", "B0900", "P3410", "P0120", "C1634", "B0900"};
    EXPECT_EQ(Column(IDC_OBD_STORED_GRID, 0), sample);
    EXPECT_EQ(Column(IDC_OBD_PENDING_GRID, 0), sample);
    EXPECT_EQ(Text(IDC_OBD_MIL), "ON");
    const std::vector<std::string> pids = Column(IDC_OBD_FREEZE_GRID, 0, 1);
    ASSERT_EQ(pids.size(), 0x5Fu - 0x03u + 1);
    EXPECT_EQ(pids.front(), "03");
    EXPECT_EQ(pids.back(), "5F");
    EXPECT_EQ(FreezeRow(1 + 0x05 - 0x03), (std::vector<std::string>{"05", "Engine coolant temperature",
                                                                    "-36 \xB0"
                                                                    "C"}));
    EXPECT_EQ(FreezeRow(1 + 0x0C - 0x03), (std::vector<std::string>{"0C", "Engine RPM", "320 1/min"}));
    EXPECT_EQ(FreezeRow(1 + 0x1C - 0x03)[2], "04 FF 78 01 B8 99") << "refused: the bytes";
    SelectCode(IDC_OBD_STORED_GRID, 3);
    EXPECT_EQ(Text(IDC_OBD_STORED_DESCRIPTION),
              "P0120\r\nThrottle/Pedal Position Sensor/Switch A Circuit Malfunction");

    Click(IDC_OBD_CLEAR);
    EXPECT_EQ(Grid(IDC_OBD_STORED_GRID).GetRowCount(), 0);
    EXPECT_EQ(Grid(IDC_OBD_PENDING_GRID).GetRowCount(), 0);
    EXPECT_EQ(Grid(IDC_OBD_FREEZE_GRID).GetRowCount(), 1);
    EXPECT_EQ(Text(IDC_OBD_MIL), "-");
    EXPECT_EQ(Text(IDC_OBD_STORED_DESCRIPTION), "");
    SelectCode(IDC_OBD_STORED_GRID, 0);
    EXPECT_EQ(Text(IDC_OBD_STORED_DESCRIPTION), "") << "the stored list is empty";

    Click(IDC_OBD_UPDATE);
    EXPECT_EQ(Grid(IDC_OBD_STORED_GRID).GetRowCount(), 6);
    EXPECT_EQ(Grid(IDC_OBD_PENDING_GRID).GetRowCount(), 12) << "Clear keeps the pending list";
}

}  // namespace
