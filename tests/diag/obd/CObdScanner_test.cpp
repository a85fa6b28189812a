// The OBD-II scan against a scripted car: the order of its requests, what each reply leaves
// in the scanner, and the replies that end it early.
#include "diag/CObdScanner.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Step = CObdScanner::Step;

// A car that answers each request text (without its carriage return) from a script; a
// freeze-frame PID without a line of its own answers with two bytes 12 34.
struct ScriptedCar {
    std::map<std::string, std::string> replies;

    std::string Answer(const std::string& request) const {
        const auto found = replies.find(request);
        if (found != replies.end()) {
            return found->second;
        }
        if (request.size() == 4 && request.compare(0, 2, "02") == 0) {
            return "42 " + request.substr(2) + " 12 34\r>";
        }
        return "NO DATA\r>";
    }
};

struct ScanRecord {
    std::vector<std::string> requests;
    std::vector<Step> steps;
    std::vector<std::vector<BYTE>> rows;
};

ScanRecord Scan(CObdScanner& scanner, const ScriptedCar& car) {
    ScanRecord run;
    scanner.Start();
    while (scanner.IsScanning()) {
        std::string request = scanner.GetRequestText();
        EXPECT_EQ(request.back(), '\r');
        request.pop_back();
        run.requests.push_back(request);
        const Step step = scanner.OnReply(car.Answer(request));
        run.steps.push_back(step);
        if (step == Step::FreezeRow) {
            std::vector<BYTE> row = {static_cast<BYTE>(scanner.GetRowPid())};
            row.insert(row.end(), scanner.GetRowData().begin(), scanner.GetRowData().end());
            run.rows.push_back(row);
        }
        if (run.requests.size() > 300) {
            ADD_FAILURE() << "the scan does not end";
            break;
        }
    }
    return run;
}

// A car with PIDs 01, 03, 05, 0C and 1C in the first range, no further range, mode 09 PID 02,
// two stored codes over two lines, one pending code and a freeze frame for P0133.
ScriptedCar TypicalCar() {
    return {{
        {"0100", "41 00 A8 10 00 10\r\r>"},
        {"0900", "49 00 01 40 00 00 00\r>"},
        {"0101", "41 01 82 07 65 04\r>"},
        {"011C", "41 1C 06\r>"},
        {"0902",
         "49 02 01 00 00 00 57\r49 02 02 56 57 5A 5A\r49 02 03 5A 31 4B 5A\r"
         "49 02 04 31 32 33 34\r49 02 05 35 36 37 38\r>"},
        {"03", "43 01 33 02 01\r43 C1 00 00 00\r>"},
        {"07", "47 03 00 00 00\r>"},
        {"0202", "42 02 01 33\r>"},
        {"020C", "42 0C 1A F8\r>"},
    }};
}

TEST(CObdScanner, WalksTheWholeSequenceOfATypicalCar) {
    CObdScanner scanner;
    const ScanRecord run = Scan(scanner, TypicalCar());
    EXPECT_EQ(run.requests, (std::vector<std::string>{"0100", "0900", "0101", "011C", "0902", "03", "07",
                                                      "0202", "0203", "020C", "021C"}))
        << "PID 05 is left out of the freeze frame, PID 01 is not asked there";
    EXPECT_EQ(run.steps,
              (std::vector<Step>{Step::PidBitmap, Step::Mode09Bitmap, Step::Monitors, Step::Standard,
                                 Step::Vin, Step::StoredCodes, Step::PendingCodes, Step::FreezeCode,
                                 Step::FreezeRow, Step::FreezeRow, Step::FreezeRow}));
    EXPECT_FALSE(scanner.IsScanning());
    EXPECT_EQ(scanner.GetBitmapCount(), 1);
    EXPECT_EQ(scanner.GetPidBitmaps().ranges[0], 0xA8100010u);
    EXPECT_EQ(scanner.GetMode09Bitmap(), 0x40000000u);

    const CObdScanner::Monitors& monitors = scanner.GetMonitors();
    EXPECT_TRUE(monitors.mil);
    EXPECT_EQ(monitors.codeCount, 2);
    EXPECT_EQ(monitors.continuous, 0x07);
    EXPECT_EQ(monitors.supported, 0x65);
    EXPECT_EQ(monitors.incomplete, 0x04);
    EXPECT_EQ(scanner.GetStandard(), 0x06);
    EXPECT_EQ(scanner.GetVin(), "WVWZZZ1KZ12345678");
    EXPECT_EQ(scanner.GetFreezeCode(), 0x3301);
    EXPECT_EQ(run.rows,
              (std::vector<std::vector<BYTE>>{{0x03, 0x12, 0x34}, {0x0C, 0x1A, 0xF8}, {0x1C, 0x12, 0x34}}));
}

TEST(CObdScanner, JoinsTheCodesOfEveryLineAndReplacesThemPerList) {
    CObdScanner scanner;
    ScriptedCar car = TypicalCar();
    std::vector<std::vector<WORD>> lists;
    scanner.Start();
    while (scanner.IsScanning()) {
        std::string request = scanner.GetRequestText();
        request.pop_back();
        const Step step = scanner.OnReply(car.Answer(request));
        if (step == Step::StoredCodes || step == Step::PendingCodes) {
            lists.push_back(scanner.GetCodes());
        }
    }
    EXPECT_EQ(lists, (std::vector<std::vector<WORD>>{{0x3301, 0x0102, 0x00C1}, {0x0003}}));
}

TEST(CObdScanner, ReadsFurtherRangesWhileTheLastBitSaysSo) {
    ScriptedCar car = TypicalCar();
    car.replies["0100"] = "41 00 FF FF FF FF\r>";
    car.replies["0120"] = "41 20 FF FF FF FF\r>";
    car.replies["0140"] = "41 40 FF FF FF FF\r>";
    car.replies["0160"] = "41 60 FF FF FF FF\r>";
    car.replies["0202"] = "42 02 01 33\r>";
    CObdScanner scanner;
    const ScanRecord run = Scan(scanner, car);
    ASSERT_GE(run.requests.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(run.requests.begin(), run.requests.begin() + 5),
              (std::vector<std::string>{"0100", "0120", "0140", "0160", "0900"}))
        << "four ranges at most";
    EXPECT_EQ(scanner.GetBitmapCount(), 4);

    // Every bit set: the freeze frame asks exactly the PIDs of the mask, in ascending order.
    std::vector<int> asked;
    for (const std::vector<BYTE>& row : run.rows) {
        asked.push_back(row[0]);
    }
    std::vector<int> expected;
    for (const auto& span : {std::make_pair(0x02, 0x04), std::make_pair(0x06, 0x1E),
                             std::make_pair(0x22, 0x40), std::make_pair(0x53, 0x5F)}) {
        for (int pid = span.first; pid <= span.second; ++pid) {
            expected.push_back(pid);
        }
    }
    EXPECT_EQ(asked, expected);
}

TEST(CObdScanner, SkipsWhatTheCarDoesNotOffer) {
    ScriptedCar car = TypicalCar();
    car.replies["0100"] = "41 00 00 00 00 00\r>";
    car.replies["0900"] = "49 00 01 00 00 00 00\r>";
    CObdScanner scanner;
    const ScanRecord run = Scan(scanner, car);
    EXPECT_EQ(run.requests, (std::vector<std::string>{"0100", "0900", "03", "07", "0202"}))
        << "a freeze frame without supported PIDs ends after its code";
    EXPECT_EQ(scanner.GetVin(), "");
}

TEST(CObdScanner, EndsWithoutFreezeFrameWhenItsCodeIsZero) {
    ScriptedCar car = TypicalCar();
    car.replies["0202"] = "42 02 00 00\r>";
    CObdScanner scanner;
    const ScanRecord run = Scan(scanner, car);
    EXPECT_EQ(run.requests.back(), "0202");
    EXPECT_EQ(run.steps.back(), Step::FreezeCode);
    EXPECT_EQ(scanner.GetFreezeCode(), 0);
}

TEST(CObdScanner, EndsTheScanOnARefusedReply) {
    struct Row {
        const char* name;
        const char* request;
        const char* reply;
    };

    const Row rows[] = {
        {"no prompt", "0100", "41 00 A8 00 00 10\r"},
        {"not hexadecimal", "0100", "SEARCHING...\r41 00 A8 00 00 10\r>"},
        {"wrong echo", "0100", "41 20 A8 00 00 10\r>"},
        {"one line of another mode", "03", "43 01 33\r47 01 00\r>"},
        {"short bitmap", "0100", "41 00 A8 00 00\r>"},
        {"mode 09 bitmap without its count", "0900", "49 00 40 00 00 00\r>"},
        {"short monitor status", "0101", "41 01 82 07 65\r>"},
        {"no standard byte", "011C", "41 1C\r>"},
        {"short VIN", "0902", "49 02 01 00 00 00 57\r>"},
        {"short freeze-frame code", "0202", "42 02 01\r>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedCar car = TypicalCar();
        car.replies[row.request] = row.reply;
        CObdScanner scanner;
        const ScanRecord run = Scan(scanner, car);
        EXPECT_EQ(run.requests.back(), row.request);
        EXPECT_EQ(run.steps.back(), Step::Failed);
        EXPECT_FALSE(scanner.IsScanning());
    }
}

// Each request may be answered "not ready" a bounded number of times; a reply resets the count.
TEST(CObdScanner, GivesUpAReplyThatNeverGetsReady) {
    CObdScanner scanner;
    EXPECT_FALSE(scanner.OnNotReady()) << "idle";
    scanner.Start();
    for (int poll = 1; poll < CObdScanner::kMaxNotReadyPolls; ++poll) {
        ASSERT_TRUE(scanner.OnNotReady()) << poll;
    }
    ASSERT_EQ(scanner.OnReply("41 00 BE 1F A8 13\r>"), Step::PidBitmap);
    for (int poll = 1; poll <= CObdScanner::kMaxNotReadyPolls; ++poll) {
        ASSERT_TRUE(scanner.OnNotReady()) << poll;
    }
    EXPECT_FALSE(scanner.OnNotReady());
    EXPECT_FALSE(scanner.IsScanning());
}

TEST(CObdScanner, TakesNoReplyWhileIdleAndStartsAfresh) {
    CObdScanner scanner;
    EXPECT_EQ(scanner.OnReply("41 00 FF FF FF FF\r>"), Step::Failed);
    EXPECT_EQ(scanner.GetBitmapCount(), 0);

    Scan(scanner, TypicalCar());
    ASSERT_EQ(scanner.GetBitmapCount(), 1);
    scanner.Start();
    EXPECT_EQ(scanner.GetState(), 1);
    EXPECT_EQ(scanner.GetRequestText(), "0100\r");
    EXPECT_EQ(scanner.GetBitmapCount(), 0);
    EXPECT_EQ(scanner.GetVin(), "");
    scanner.Stop();
    EXPECT_EQ(scanner.OnReply("41 00 FF FF FF FF\r>"), Step::Failed);
    EXPECT_EQ(scanner.GetBitmapCount(), 0);
}

}  // namespace
