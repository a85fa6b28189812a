// The data handler behind the real communicator thread and serial port under Wine,
// against the simulated unit on a COM port: what connecting and the full read put on
// the wire (a golden transcript), the messages they post, the unit's memory in image 1,
// one firmware upload through the loader and back to the normal unit, and edits that reach
// the unit after it was busy or away, made before or while it was.
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "link/CUpdateModeStep.h"
#include "link/DataHandlerMessages.h"
#include "tests/datafiles/CScriptedUser.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/CRecordingWindow.h"
#include "tests/link/CUnitSim.h"
#include "tests/support/TableLayout.h"
#include "tools/unitsim/CControlCommand.h"
#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

constexpr int kWaitMs = 30000;
const std::string kPingLine = "RX AA 01 1E 01 B4";
// Set to 1 to write the golden transcript from this run instead of comparing with it.
const char* const kUpdateGoldenVariable = "ZARVO_UPDATE_GOLDEN";
const char* const kLastControlLine = "version 1.30";
const char* const kLastControlNote = "# application version 1.30";

// Memory the unit is given before it is read, so that image 1 cannot match by chance.
const std::vector<std::string> kMemoryLines = {
    "block settings 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D "
    "2E 2F 30 31 32 33",
    "block sensor-types 02 01 03 04",
    "block base-percent 0C",
    "block patch-version 02 07 01 2C",
    "block patch-date E8 07 0B 1D",
    "cell 0 1 2 5A",
    "cell 0 15 3 A5",
    "table 1 6 9",
    "cell 1 5 8 77",
    "cell 2 0 0 99",
};

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kWaitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string GoldenPath() {
    return ZARVO_DATAMODEL_GOLDEN_DIR "/connect-and-full-read.transcript";
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        lines.push_back(line);
    }
    return lines;
}

// The transcript lines from `mark` on without the ping pairs at its end: passes that
// only ping, as in the wait state, leave their number to timing.
std::vector<std::string> WithoutTrailingPings(const std::vector<std::string>& lines, std::size_t mark) {
    std::vector<std::string> kept(lines.begin() + static_cast<std::ptrdiff_t>(mark), lines.end());
    while (kept.size() >= 2 && kept[kept.size() - 2] == kPingLine && kept.back().compare(0, 3, "TX ") == 0) {
        kept.resize(kept.size() - 2);
    }
    return kept;
}

Bytes At(const BYTE* image, int offset, std::size_t length) {
    return Bytes(image + offset, image + offset + length);
}

// The data bytes of the requests with this command in the transcript lines from `mark`.
std::vector<Bytes> RequestData(const std::vector<std::string>& lines, std::size_t mark, int code) {
    std::vector<Bytes> requests;
    for (std::size_t i = mark; i < lines.size(); ++i) {
        if (lines[i].compare(0, 3, "RX ") != 0) {
            continue;
        }
        std::istringstream words(lines[i].substr(3));
        Bytes frame;
        unsigned int value = 0;
        while (words >> std::hex >> value) {
            frame.push_back(static_cast<BYTE>(value));
        }
        if (frame.size() >= 3 && frame[1] == code) {
            requests.emplace_back(frame.begin() + 2, frame.end() - 1);
        }
    }
    return requests;
}

class DataHandlerOnComPort : public testing::Test {
protected:
    DataHandlerOnComPort() : mirror(mirrorTranscript, UnitSettings{}) {}

    void SetUp() override {
        ASSERT_NE(0, CUnitSim::Port()) << "run through tools/unitsim/with-unitsim";
        handler.SetUserPrompter(&user);
        for (const char* line : {"clear-faults", "echo off", "mode normal", "loader-version 1.10", "live off",
                                 "loader-room 128", "loader-erase 0"}) {
            Control(line);
        }
        handler.SetCommunicator(&communicator);
        handler.SetMainWindow(&mainWindow);
        handler.RegisterWindow(&window);
        communicator.SetDataHandler(&handler);
    }

    void TearDown() override {
        if (communicator.StopThread() == 0) {
            ADD_FAILURE() << "the worker did not stop in time";
            communicator.KillThread();
        }
        handler.UnregisterWindow(&window);
    }

    // Sends a control line to the unit and applies it to the in-process mirror, whose
    // memory then stands for the unit's.
    void Control(const std::string& line) {
        std::string error;
        ASSERT_TRUE(CUnitSim::SendControl(line, error)) << error;
        ControlCommand command;
        ASSERT_TRUE(CControlCommand::Parse(line, command, error)) << line << ": " << error;
        CControlCommand::ApplyToEngine(command, mirror);
    }

    std::size_t CountOf(const CRecordingWindow& target, UINT message) const {
        return target.MessagesOf(message).size();
    }

    // The unit reads its control file when it wakes up, so its notes of the lines sent
    // so far land in the transcript at a time of their own. The note of a last line
    // tells that all of them are in force; the transcript of the test starts after it.
    void SettleControlLines() {
        const std::size_t before = CUnitSim::Transcript().size();
        Control(kLastControlLine);
        ASSERT_TRUE(WaitUntil([&] {
            const std::vector<std::string> lines = CUnitSim::Transcript();
            return lines.size() > before && lines.back() == kLastControlNote;
        })) << "the unit did not take its control lines";
        mark = CUnitSim::Transcript().size();
    }

    // Starts the worker and waits for the end of the first full read.
    void ConnectAndRead() {
        ASSERT_NO_FATAL_FAILURE(SettleControlLines());
        communicator.StartThread();
        ASSERT_TRUE(WaitUntil([&] { return CountOf(mainWindow.posted, WM_DH_FULL_READ_DONE) >= 1; }))
            << "no full read ended";
    }

    // The transcript once the serving pass after the full read is over: waits until a
    // ping follows it.
    std::vector<std::string> TranscriptOfConnection() {
        std::vector<std::string> lines;
        const bool settled = WaitUntil([&] {
            lines = CUnitSim::Transcript();
            return WithoutTrailingPings(lines, mark).size() + mark < lines.size();
        });
        EXPECT_TRUE(settled) << "no ping followed the full read";
        return WithoutTrailingPings(lines, mark);
    }

    // Plays the main dialog and its busy dialog on this thread until the condition holds:
    // a full read held for a busy unit is let through once a live cycle's engine status
    // shows the job's end, and each end of a full read is checked and the wait state cleared.
    bool ServeUntil(const std::function<bool()>& condition) {
        return WaitUntil([&] {
            const std::size_t cycles = CountOf(window, WM_DH_NEW_DATA);
            if (CountOf(mainWindow.posted, WM_DH_UNIT_BUSY) > busyHandled && cycles > cyclesSeen &&
                JobEnded()) {
                ++busyHandled;
                handler.FlushFCR();
            }
            cyclesSeen = cycles;
            for (; readsHandled < CountOf(mainWindow.posted, WM_DH_FULL_READ_DONE); ++readsHandled) {
                handler.CheckConnectedUnit();
                communicator.SetWaitState(0);
            }
            return condition();
        });
    }

    bool JobEnded() {
        BYTE status[5] = {};
        handler.ReadData(DATA_STATUS_ENGINE_STATUS, status);
        return status[3] > 200 && status[3] != 240 && status[3] != 241;
    }

    bool LinkIs(UINT_PTR status) const {
        const std::vector<PostedMessage> statuses = window.MessagesOf(WM_DH_STATUS_CHANGED);
        return !statuses.empty() && statuses.back().wParam == status;
    }

    // Once the edit of element 3 was transferred, reads the unit's settings back into the
    // working image and returns what the unit holds for it.
    BYTE UnitsValueOfElementThree() {
        EXPECT_TRUE(ServeUntil([&] { return CountOf(transfers, WM_DH_ELEMENT_CHANGED) >= 1; }))
            << "the edit was not sent";
        EXPECT_EQ(handler.RequestRead(3, nullptr), 2);
        EXPECT_TRUE(ServeUntil([&] { return CountOf(transfers, WM_DH_ELEMENT_CHANGED) >= 2; }))
            << "the settings were not read back";
        BYTE value = 0;
        handler.ReadData(3, &value);
        return value;
    }

    void ExpectUnitMemoryInImageOne() {
        const BYTE* image = handler.GetImage(kImageUnit);
        CUnitMemory& memory = mirror.Memory();

        const struct {
            const char* name;
            int offset;
            UnitBlock block;
        } blocks[] = {{"settings", 0, UnitBlock::Settings},
                      {"base percent", 35, UnitBlock::BasePercent},
                      {"sensor types", 1140, UnitBlock::SensorTypes},
                      {"identity", 2267, UnitBlock::Identity},
                      {"patch version", 8200, UnitBlock::PatchVersion},
                      {"patch date", 8204, UnitBlock::PatchDate}};

        for (const auto& b : blocks) {
            SCOPED_TRACE(b.name);
            const std::vector<uint8_t>& expected = memory.Block(b.block);
            EXPECT_EQ(At(image, b.offset, expected.size()), Bytes(expected.begin(), expected.end()));
        }
        EXPECT_EQ(image[2327], 1);  // the unit has tables

        const struct {
            int bank;
            int offset;
        } tables[] = {{0, 36}, {1, 2328}, {2, 3385}, {3, 4442}, {4, 5499}};

        for (const auto& t : tables) {
            SCOPED_TRACE(t.bank);
            const Bytes expected = TableLayout(memory.Table(t.bank));
            EXPECT_EQ(At(image, t.offset, expected.size()), expected);
        }

        // The logs as far as their heads and first rows; how much more is read
        // depends on the chain of records.
        const struct {
            int bank;
            int offset;
        } logs[] = {{5, 8211}, {6, 9235}};

        for (const auto& l : logs) {
            SCOPED_TRACE(l.bank);
            const CUnitTable& log = memory.Table(l.bank);
            const Bytes layout = TableLayout(log);
            const std::size_t head = 2 + 2 * static_cast<std::size_t>(log.Columns() + log.Rows());
            const std::size_t firstRow = head + static_cast<std::size_t>(log.Columns());
            EXPECT_EQ(At(image, l.offset, firstRow),
                      Bytes(layout.begin(), layout.begin() + static_cast<std::ptrdiff_t>(firstRow)));
        }
        // Support ranges of four bytes follow one another while bit 0 of a range's last byte is set.
        const std::vector<uint8_t>& ranges = memory.Block(UnitBlock::SupportedIds);
        Bytes expected(32, 0);
        for (std::size_t range = 0; range < 8; ++range) {
            std::copy(ranges.begin() + static_cast<std::ptrdiff_t>(range * 4),
                      ranges.begin() + static_cast<std::ptrdiff_t>(range * 4 + 4),
                      expected.begin() + static_cast<std::ptrdiff_t>(range * 4));
            if ((ranges[range * 4 + 3] & 1) == 0) {
                break;
            }
        }
        EXPECT_EQ(At(image, 8168, 32), expected);
    }

    CTranscript mirrorTranscript;
    CUnitEngine mirror;
    std::size_t mark = 0;
    CCommunicator communicator;
    CDataHandler handler;
    CRecordingMainWindow mainWindow;
    CRecordingWindow window;
    CRecordingWindow transfers;  // element 3's finished transfers
    CScriptedUser user;
    std::size_t busyHandled = 0;
    std::size_t cyclesSeen = 0;
    std::size_t readsHandled = 0;
};

TEST_F(DataHandlerOnComPort, ConnectingSendsTheGoldenSequenceAndReadsTheUnitsMemoryIntoImageOne) {
    for (const std::string& line : kMemoryLines) {
        Control(line);
    }
    ASSERT_NO_FATAL_FAILURE(ConnectAndRead());
    const std::vector<std::string> transcript = TranscriptOfConnection();

    const char* update = std::getenv(kUpdateGoldenVariable);
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream golden(GoldenPath(), std::ios::binary | std::ios::trunc);
        for (const std::string& line : transcript) {
            golden << line << "\n";
        }
        ASSERT_TRUE(golden.good()) << "could not write " << GoldenPath();
    } else {
        const std::vector<std::string> golden = ReadLines(GoldenPath());
        ASSERT_FALSE(golden.empty()) << "no golden transcript at " << GoldenPath();
        EXPECT_EQ(transcript, golden);
    }

    const int port = CUnitSim::Port();
    const std::vector<PostedMessage> statuses = window.MessagesOf(WM_DH_STATUS_CHANGED);
    EXPECT_EQ(statuses, (std::vector<PostedMessage>{{WM_DH_STATUS_CHANGED, 2, port}}));

    const std::vector<PostedMessage> progress = mainWindow.posted.MessagesOf(WM_DH_FULL_READ_PROGRESS);
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress.front(), (PostedMessage{WM_DH_FULL_READ_PROGRESS, 1, 0}));
    EXPECT_EQ(progress[progress.size() - 2], (PostedMessage{WM_DH_FULL_READ_PROGRESS, 1, 1000}));
    EXPECT_EQ(progress.back(), (PostedMessage{WM_DH_FULL_READ_PROGRESS, 0, 0}));
    for (std::size_t i = 1; i + 1 < progress.size(); ++i) {
        EXPECT_EQ(progress[i].wParam, 1u) << "at " << i;
        EXPECT_LE(progress[i - 1].lParam, progress[i].lParam) << "at " << i;
    }
    EXPECT_EQ(CountOf(mainWindow.posted, WM_DH_FULL_READ_DONE), 1u);
    EXPECT_EQ(communicator.GetWaitState(), 1);

    ExpectUnitMemoryInImageOne();
}

TEST_F(DataHandlerOnComPort, AnUpdateUploadsTheImageBlockByBlockAndTheUnitAnswersAsANormalUnitAfterwards) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndRead());
    communicator.SetWaitState(0);  // as the main dialog does once it has handled the full read
    const int port = CUnitSim::Port();

    handler.RequestUpdateMode();
    ASSERT_TRUE(WaitUntil([&] { return communicator.GetMode() == kModeUpdateIdle; }));
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<PostedMessage> s = window.MessagesOf(WM_DH_STATUS_CHANGED);
        return !s.empty() && s.back() == PostedMessage{WM_DH_STATUS_CHANGED, 5, port};
    })) << "the unit was not reported in update mode";

    Bytes firmware(300);
    for (std::size_t i = 0; i < firmware.size(); ++i) {
        firmware[i] = static_cast<BYTE>(i * 7 + 3);
    }
    CByteArray image;
    image.SetSize(static_cast<INT_PTR>(firmware.size()));
    std::copy(firmware.begin(), firmware.end(), image.GetData());
    const std::size_t uploadMark = CUnitSim::Transcript().size();
    ASSERT_TRUE(handler.StartFirmwareUpload(image));
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<PostedMessage> p = mainWindow.posted.MessagesOf(WM_DH_UPDATE_PROGRESS);
        return !p.empty() && p.back() == PostedMessage{WM_DH_UPDATE_PROGRESS, kUpdateReportDone, 1000};
    })) << "the upload did not end";

    // Blocks of 128, 128 and 44 bytes while the loader writes, then the closing report.
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_UPDATE_PROGRESS),
              (std::vector<PostedMessage>{{WM_DH_UPDATE_PROGRESS, kUpdateReportWriting, 426},
                                          {WM_DH_UPDATE_PROGRESS, kUpdateReportWriting, 853},
                                          {WM_DH_UPDATE_PROGRESS, kUpdateReportWriting, 1000},
                                          {WM_DH_UPDATE_PROGRESS, kUpdateReportDone, 1000}}));
    const std::vector<std::string> lines = CUnitSim::Transcript();
    EXPECT_EQ(RequestData(lines, uploadMark, 96), (std::vector<Bytes>{{firmware[0], firmware[1]}}));
    Bytes uploaded;
    std::vector<std::size_t> blockSizes;
    for (const Bytes& block : RequestData(lines, uploadMark, 97)) {
        ASSERT_FALSE(block.empty());
        ASSERT_EQ(block[0] + 1u, block.size());
        blockSizes.push_back(block[0]);
        uploaded.insert(uploaded.end(), block.begin() + 1, block.end());
    }
    EXPECT_EQ(blockSizes, (std::vector<std::size_t>{128, 128, 44, 0}));
    EXPECT_EQ(uploaded, firmware);

    const std::size_t beforeLeaving = window.MessagesOf(WM_DH_STATUS_CHANGED).size();
    const std::size_t readsBefore = CountOf(mainWindow.posted, WM_DH_FULL_READ_DONE);
    handler.RequestLeaveUpdateMode();
    ASSERT_TRUE(WaitUntil([&] { return CountOf(mainWindow.posted, WM_DH_FULL_READ_DONE) > readsBefore; }))
        << "the unit was not read again after leaving update mode";
    EXPECT_EQ(communicator.GetMode(), kModeNormal);
    const std::vector<PostedMessage> statuses = window.MessagesOf(WM_DH_STATUS_CHANGED);
    ASSERT_GT(statuses.size(), beforeLeaving);
    EXPECT_EQ(statuses[beforeLeaving].wParam, 2u);
    // The new firmware's version, one minor number up, in the identity read afterwards.
    const BYTE* identity = handler.GetImage(kImageUnit) + 2267;
    EXPECT_EQ(identity[CUnitMemory::kFirmwareVersionOffset], 1);
    EXPECT_EQ(identity[CUnitMemory::kFirmwareVersionOffset + 1], 31);
}

TEST_F(DataHandlerOnComPort, AUnitBusyAtConnectionFinishesItsJobAndTakesTheEditMadeAfterwards) {
    Control("busy 100 150 200");
    ASSERT_NO_FATAL_FAILURE(SettleControlLines());
    communicator.StartThread();
    ASSERT_TRUE(ServeUntil([&] { return readsHandled == 1 && communicator.GetWaitState() == 0; }))
        << "the full read held for the busy unit never ended";
    EXPECT_EQ(CountOf(mainWindow.posted, WM_DH_UNIT_BUSY), 1u);

    handler.Subscribe(&transfers, 3, kFlagTransferred);
    const BYTE rpm = 0x5A;
    handler.WriteData(3, &rpm);
    EXPECT_EQ(UnitsValueOfElementThree(), rpm);
    handler.Unsubscribe(&transfers, 3, kFlagTransferred);
}

// The unit comes back busy with a job that lasts a dozen status reads, long enough for the
// edit to be made while it runs.
TEST_F(DataHandlerOnComPort, AnEditMadeWhileTheUnitIsBusyIsShownAsWaitingAndSentWhenTheJobHasEnded) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndRead());
    ASSERT_TRUE(ServeUntil([&] { return readsHandled == 1; }));
    Control("unplug");
    ASSERT_TRUE(ServeUntil([&] { return LinkIs(1); })) << "the unit was not found gone";
    Control("busy 100 100 100 100 100 100 100 100 100 100 150 200");
    Control("replug");
    ASSERT_TRUE(WaitUntil([&] { return CountOf(mainWindow.posted, WM_DH_UNIT_BUSY) == 1; }))
        << "the unit was not found busy";

    handler.Subscribe(&transfers, 3, kFlagTransferred);
    const BYTE rpm = 0x5C;
    handler.WriteData(3, &rpm);
    EXPECT_EQ(mainWindow.editsHeldMarks, std::vector<bool>{true});
    EXPECT_EQ(UnitsValueOfElementThree(), rpm);
    EXPECT_EQ(mainWindow.editsHeldMarks, (std::vector<bool>{true, false}));
    handler.Unsubscribe(&transfers, 3, kFlagTransferred);
}

TEST_F(DataHandlerOnComPort, AnEditMadeWhileTheCableIsPulledIsSentWhenTheUnitIsFoundAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndRead());
    ASSERT_TRUE(ServeUntil([&] { return readsHandled == 1; }));
    Control("unplug");
    ASSERT_TRUE(ServeUntil([&] { return LinkIs(1); })) << "the unit was not found gone";

    handler.Subscribe(&transfers, 3, kFlagTransferred);
    const BYTE rpm = 0x5B;
    handler.WriteData(3, &rpm);
    Control("replug");
    ASSERT_TRUE(ServeUntil([&] { return readsHandled == 2; })) << "the unit was not read again";
    EXPECT_EQ(UnitsValueOfElementThree(), rpm);
    handler.Unsubscribe(&transfers, 3, kFlagTransferred);
}

}  // namespace
