// The data handler behind the real communicator, driven pass by pass against the
// simulated unit in-process: what connecting, the full read, writing and polling put
// on the wire, into the images and into the posted messages.
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/EnglishTexts.h"
#include "tests/datafiles/CScriptedUser.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/DataHandlerFixture.h"
#include "tests/datamodel/CRecordingWindow.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CUnitLoopback.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace {

Bytes Range(const BYTE* image, int offset, std::size_t length) {
    return Bytes(image + offset, image + offset + length);
}

constexpr int kPassLimit = 20;
constexpr std::size_t kVersionSecondByte = 19;  // in the identity: 3.10.6 is 3, 10 and byte 44's 6
constexpr std::size_t kVersionThirdByte = 44;

class CDataHandlerWire : public testing::Test {
protected:
    CDataHandlerWire() : handler(std::make_unique<CDataHandler>()) {
        unit.engine.Application().SetLiveMotion(false);
        communicator.SetPort(unit.port);
        communicator.SetClock(clock);
        communicator.SetDataHandler(handler.get());
        handler->SetCommunicator(&communicator);
        handler->SetMainWindow(&mainWindow);
        handler->SetUserPrompter(&user);
        handler->RegisterWindow(&window);
        communicator.BeginPasses();
    }

    // Finds the unit, reads it whole and leaves the wait state as the main dialog does.
    void ConnectAndRead() {
        communicator.RunPass();
        communicator.RunPass();
        communicator.SetWaitState(0);
    }

    std::size_t FullReadsDone() const { return mainWindow.posted.MessagesOf(WM_DH_FULL_READ_DONE).size(); }

    // What the main dialog does with the end of a full read.
    void TakeFullRead() {
        handler->CheckConnectedUnit();
        communicator.SetWaitState(0);
    }

    // Runs passes, handling each full read as the main dialog does, until the condition
    // holds; false when it does not within the pass limit.
    bool RunUntil(const std::function<bool()>& condition) {
        std::size_t handled = FullReadsDone();
        for (int pass = 0; pass < kPassLimit && !condition(); ++pass) {
            communicator.RunPass();
            for (; handled < FullReadsDone(); ++handled) {
                TakeFullRead();
            }
        }
        return condition();
    }

    bool LinkIs(UINT_PTR status) const {
        const std::vector<PostedMessage> statuses = window.MessagesOf(WM_DH_STATUS_CHANGED);
        return !statuses.empty() && statuses.back().wParam == status;
    }

    // The unit is read and its data taken, as after a first connection.
    void ConnectAndTake() {
        ASSERT_TRUE(RunUntil([&] { return FullReadsDone() == 1; }));
        ASSERT_TRUE(RunUntil([&] { return communicator.GetWaitState() == 0; }));
    }

    void PullCable() {
        unit.plugged = false;
        ASSERT_TRUE(RunUntil([&] { return LinkIs(1); })) << "the unit was not found gone";
    }

    // The cable goes back in; returns when the unit's data were read and handled.
    void PlugCable() {
        unit.plugged = true;
        const std::size_t reads = FullReadsDone();
        ASSERT_TRUE(RunUntil([&] { return FullReadsDone() > reads; })) << "the unit was not read again";
    }

    void SetVersion(BYTE second) {
        Memory().SetByte(UnitBlock::Identity, CUnitMemory::kFirmwareVersionOffset, 3);
        Memory().SetByte(UnitBlock::Identity, kVersionSecondByte, second);
        Memory().SetByte(UnitBlock::Identity, kVersionThirdByte, 6);
    }

    CUnitMemory& Memory() { return unit.engine.Memory(); }

    // How often the user was told that edits were not sent.
    long NotSentNotices() const {
        const std::vector<std::string> texts = user.Texts();
        return std::count(texts.begin(), texts.end(), std::string(GetEnglishText(IDS_EDITS_NOT_SENT)));
    }

    CUnitLoopback unit;
    CFakeClock clock;
    CCommunicator communicator;
    CRecordingMainWindow mainWindow;
    CRecordingWindow window;
    CScriptedUser user;
    std::unique_ptr<CDataHandler> handler;
};

TEST_F(CDataHandlerWire, ConnectingSendsTheSpecifiedSequenceAndReadsTheUnitWhole) {
    communicator.RunPass();
    EXPECT_EQ(window.MessagesOf(WM_DH_STATUS_CHANGED),
              (std::vector<PostedMessage>{{WM_DH_STATUS_CHANGED, 2, 7}}));
    const std::size_t mark = unit.port.Written().size();
    communicator.RunPass();
    const std::vector<BYTE> codes = unit.CodesSince(mark);
    // Engine status, read-all command, the probe, then the reads of the full read.
    const std::vector<BYTE> head = {24, 80, 19, 52, 47, 33, 90, 2, 90, 94};
    ASSERT_GE(codes.size(), head.size());
    EXPECT_EQ(std::vector<BYTE>(codes.begin(), codes.begin() + static_cast<std::ptrdiff_t>(head.size())),
              head);
    // The closing bank selection, then the polls in element order.
    const auto polls = std::find(codes.rbegin(), codes.rend(), BYTE{19}).base();
    ASSERT_NE(polls, codes.end());
    EXPECT_EQ(std::vector<BYTE>(polls, polls + 3), (std::vector<BYTE>{50, 52, 24}));
    EXPECT_EQ(codes.back(), 47);

    const BYTE* unitImage = handler->GetImage(kImageUnit);
    EXPECT_EQ(Range(unitImage, 0, 35), Memory().Block(UnitBlock::Settings));
    EXPECT_EQ(Range(unitImage, 2267, 60), Memory().Block(UnitBlock::Identity));
    EXPECT_EQ(Range(unitImage, 1140, 4), Memory().Block(UnitBlock::SensorTypes));
    const std::vector<PostedMessage> progress = mainWindow.posted.MessagesOf(WM_DH_FULL_READ_PROGRESS);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.back(), (PostedMessage{WM_DH_FULL_READ_PROGRESS, 0, 0}));
    EXPECT_EQ(progress[progress.size() - 2], (PostedMessage{WM_DH_FULL_READ_PROGRESS, 1, 1000}));
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_FULL_READ_DONE).size(), 1u);
    EXPECT_TRUE(mainWindow.posted.MessagesOf(WM_DH_UNIT_BUSY).empty());
}

TEST_F(CDataHandlerWire, ABusyUnitBringsTheBusyMessageAndHoldsTheEndOfTheFullRead) {
    unit.engine.Application().StartBusyJob({100});
    ConnectAndRead();
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_UNIT_BUSY).size(), 1u);
    EXPECT_TRUE(mainWindow.posted.MessagesOf(WM_DH_FULL_READ_DONE).empty());
    handler->FlushFCR();
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_FULL_READ_DONE).size(), 1u);
}

TEST_F(CDataHandlerWire, AWrittenSettingReachesTheUnitsMemory) {
    ConnectAndRead();
    CRecordingWindow changed;
    CRecordingWindow transferred;
    handler->Subscribe(&changed, 3, kFlagChanged);
    handler->Subscribe(&transferred, 3, kFlagTransferred);
    const BYTE rpm = 0x2A;
    handler->WriteData(3, &rpm);
    EXPECT_EQ(changed.Messages(), (std::vector<PostedMessage>{{WM_DH_ELEMENT_CHANGED, 1, 3 | 0x20000}}));
    communicator.RunPass();  // the queue moves to the worker at the end of a pass
    communicator.RunPass();
    EXPECT_EQ(Memory().Byte(UnitBlock::Settings, 6), 0x2A);
    EXPECT_EQ(handler->GetImage(kImageUnit)[6], 0x2A);
    EXPECT_EQ(transferred.Messages(), (std::vector<PostedMessage>{{WM_DH_ELEMENT_CHANGED, 1, 3 | 0x40000}}));
}

TEST_F(CDataHandlerWire, TwoMapBoxesWrittenBackToBackBothReachTheUnit) {
    ConnectAndRead();
    std::vector<BYTE> map(1024);
    handler->ReadData(kElementCorrectionMap, map.data());
    BYTE box[5] = {1, 2, 1, 2, 0x31};
    handler->WriteData(kElementCorrectionMap, map.data(), box);
    box[0] = box[2] = 3;  // the page reuses its record for the next box
    box[4] = 0x33;
    handler->WriteData(kElementCorrectionMap, map.data(), box);
    communicator.RunPass();
    communicator.RunPass();
    EXPECT_EQ(Memory().Table(0).Cell(1, 2), 0x31);
    EXPECT_EQ(Memory().Table(0).Cell(3, 2), 0x33);
}

TEST_F(CDataHandlerWire, EveryLivePassPostsNewDataOnce) {
    ConnectAndRead();
    const std::size_t before = window.MessagesOf(WM_DH_NEW_DATA).size();
    Memory().SetByte(UnitBlock::LiveBlock1, 0, 0x12);
    communicator.RunPass();
    communicator.RunPass();
    EXPECT_EQ(window.MessagesOf(WM_DH_NEW_DATA).size(), before + 2);
    EXPECT_EQ(handler->GetImage(kImageWorking)[2177], 0x12);
}

TEST_F(CDataHandlerWire, NoWriteGoesOutWhileTheUnitIsBusy) {
    unit.engine.Application().StartBusyJob({100, 100, 100, 100});
    ConnectAndRead();
    const BYTE rpm = 0x2B;
    const std::size_t mark = unit.port.Written().size();
    handler->WriteData(3, &rpm);
    communicator.RunPass();
    communicator.RunPass();
    const std::vector<BYTE> codes = unit.CodesSince(mark);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), BYTE{60}), 0);
}

// The job the unit was busy with at connection ends in the polled engine status; from then
// on edits reach the unit again.
TEST_F(CDataHandlerWire, AUnitBusyAtConnectionTakesEditsOnceItsJobHasEnded) {
    unit.engine.Application().StartBusyJob({100, 150});
    communicator.RunPass();
    communicator.RunPass();  // the engine status says busy; the full read is held; the poll shows 150
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_UNIT_BUSY).size(), 1u);
    EXPECT_EQ(FullReadsDone(), 0u);
    communicator.RunPass();  // the poll shows the job ended
    handler->FlushFCR();     // as the busy dialog does when it sees the end
    ASSERT_EQ(FullReadsDone(), 1u);
    TakeFullRead();

    const BYTE rpm = 0x2B;
    handler->WriteData(3, &rpm);
    communicator.RunPass();
    communicator.RunPass();
    EXPECT_EQ(Memory().Byte(UnitBlock::Settings, 6), 0x2B);
}

// A stop lasts one status read; the stale byte must not end the next cycle too.
TEST_F(CDataHandlerWire, AStopOfTheLiveCycleDropsTheLinkOnceAndReadsTheUnitOnce) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndTake());
    const std::size_t statusesBefore = window.MessagesOf(WM_DH_STATUS_CHANGED).size();
    const std::size_t readsBefore = FullReadsDone();
    unit.engine.Application().PulseLiveCycleEnd();
    for (int pass = 0; pass < 8; ++pass) {
        RunUntil([] { return false; });
    }
    std::vector<UINT_PTR> statuses;
    const std::vector<PostedMessage> messages = window.MessagesOf(WM_DH_STATUS_CHANGED);
    for (std::size_t i = statusesBefore; i < messages.size(); ++i) {
        statuses.push_back(messages[i].wParam);
    }
    EXPECT_EQ(statuses, (std::vector<UINT_PTR>{1, 2}));
    EXPECT_EQ(FullReadsDone(), readsBefore + 1);
}

TEST_F(CDataHandlerWire, AnEditMadeWhileTheCableIsPulledReachesTheUnitWhenItIsFoundAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndTake());
    ASSERT_NO_FATAL_FAILURE(PullCable());
    const BYTE rpm = 0x2C;
    handler->WriteData(3, &rpm);
    ASSERT_NO_FATAL_FAILURE(PlugCable());
    ASSERT_TRUE(RunUntil([&] { return Memory().Byte(UnitBlock::Settings, 6) == 0x2C; }))
        << "the edit did not reach the unit";
}

// The unit comes back busy with a job; an edit made meanwhile waits on the laptop, shown as
// waiting, and reaches the unit once the job has ended and the unit was read.
TEST_F(CDataHandlerWire, AnEditMadeWhileTheUnitIsBusyReachesTheUnitWhenItsJobHasEnded) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndTake());
    ASSERT_NO_FATAL_FAILURE(PullCable());
    unit.engine.Application().StartBusyJob({100, 100, 100});
    unit.plugged = true;
    ASSERT_TRUE(RunUntil([&] { return !mainWindow.posted.MessagesOf(WM_DH_UNIT_BUSY).empty(); }));
    const BYTE rpm = 0x2D;
    handler->WriteData(3, &rpm);
    EXPECT_EQ(mainWindow.editsHeldMarks, std::vector<bool>{true});

    // The busy dialog closes once the polled engine status shows the job has ended.
    ASSERT_TRUE(
        RunUntil([&] { return handler->GetImage(kImageWorking)[kEngineStatusOffset + 3] > kBusyStatusMax; }));
    const std::size_t reads = FullReadsDone();
    handler->FlushFCR();
    ASSERT_EQ(FullReadsDone(), reads + 1);
    TakeFullRead();
    ASSERT_TRUE(RunUntil([&] { return Memory().Byte(UnitBlock::Settings, 6) == 0x2D; }))
        << "the edit did not reach the unit";
    EXPECT_EQ(mainWindow.editsHeldMarks, (std::vector<bool>{true, false}));
    EXPECT_EQ(NotSentNotices(), 0);
}

// Loading a file replaces an edit still waiting for the unit: the user hears that it was
// not sent.
TEST_F(CDataHandlerWire, AnEditStillHeldWhenAFileIsLoadedIsReportedAsNotSent) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndTake());
    const std::string path = testing::TempDir() + "held_edit_test.zcf";
    ASSERT_EQ(handler->SaveConfigFile(path.c_str()), 1);
    ASSERT_NO_FATAL_FAILURE(PullCable());
    const BYTE rpm = 0x2F;
    handler->WriteData(3, &rpm);
    ASSERT_GE(handler->LoadConfigFile(path.c_str()), 0);
    EXPECT_EQ(NotSentNotices(), 1);
    ASSERT_GE(mainWindow.editsHeldMarks.size(), 2u);
    EXPECT_FALSE(mainWindow.editsHeldMarks[1]) << "the mark goes with the edit";
    EXPECT_NE(handler->GetImage(kImageWorking)[6], 0x2F);
    std::remove(path.c_str());
}

// Another unit across the version boundary of elements 122 and 102, or the same unit after a
// firmware update (which always brings the question), is connected while the first data are
// held. Whatever the user answers, nothing reaches the unit before the answer, and only
// "Memory -> MCU" writes the held data, adjusted to its version.
class CDataHandlerWireNewUnit : public CDataHandlerWire,
                                public testing::WithParamInterface<std::tuple<int, bool>> {
protected:
    int Answer() const { return std::get<0>(GetParam()); }

    // While the cable is pulled: the unit is replaced or its firmware updated, below 3.10.6.
    void ChangeUnit() {
        SetVersion(9);
        if (std::get<1>(GetParam())) {
            handler->ForceNewUnitPrompt();
        } else {
            Memory().SetByte(UnitBlock::Identity, 0, 'B');
        }
    }
};

TEST_P(CDataHandlerWireNewUnit, ANewUnitGetsTheHeldSettingsOnlyWhenTheUserSendsThem) {
    const Bytes first(35, 0x2A);
    const Bytes second(35, 0x11);
    Memory().SetBlock(UnitBlock::Settings, first);
    SetVersion(10);
    ASSERT_NO_FATAL_FAILURE(ConnectAndTake());

    ASSERT_NO_FATAL_FAILURE(PullCable());
    Memory().SetBlock(UnitBlock::Settings, second);
    ChangeUnit();
    user.direction = Answer();
    ASSERT_NO_FATAL_FAILURE(PlugCable());
    ASSERT_EQ(user.directionQuestions.size(), 1u);
    for (int pass = 0; pass < 3; ++pass) {
        communicator.RunPass();
    }

    Bytes expected = second;
    if (Answer() == kTransferToUnit) {
        expected = first;
        expected[30] = 0;  // elements 102 and 122, cleared below version 3.10.6
        expected[31] = 0;
    }
    EXPECT_EQ(Memory().Block(UnitBlock::Settings), expected);
    if (Answer() == kTransferFromUnit) {
        EXPECT_EQ(Range(handler->GetImage(kImageWorking), 0, 35), second);
    }
}

// An edit made while the cable was pulled goes to the changed unit only with "Memory -> MCU";
// any other answer tells the user that it was not sent.
TEST_P(CDataHandlerWireNewUnit, AnEditHeldForAChangedUnitIsSentOrReportedAsNotSent) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndTake());
    ASSERT_NO_FATAL_FAILURE(PullCable());
    const BYTE rpm = 0x2E;
    ASSERT_NE(Memory().Byte(UnitBlock::Settings, 6), rpm);
    handler->WriteData(3, &rpm);
    ChangeUnit();
    user.direction = Answer();
    ASSERT_NO_FATAL_FAILURE(PlugCable());
    for (int pass = 0; pass < 3; ++pass) {
        communicator.RunPass();
    }

    const bool sent = Answer() == kTransferToUnit;
    EXPECT_EQ(Memory().Byte(UnitBlock::Settings, 6) == rpm, sent);
    EXPECT_EQ(NotSentNotices(), sent ? 0 : 1);
    EXPECT_EQ(mainWindow.editsHeldMarks, (std::vector<bool>{true, false}));
}

INSTANTIATE_TEST_SUITE_P(Answers,
                         CDataHandlerWireNewUnit,
                         testing::Combine(testing::Values(kTransferFromUnit, kTransferCancel, kTransferToUnit),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<int, bool>>& info) {
                             const int answer = std::get<0>(info.param);
                             const std::string unit =
                                 std::get<1>(info.param) ? "SameUnitUpdated_" : "OtherUnit_";
                             return unit + (answer == kTransferFromUnit ? std::string("McuToMemory")
                                            : answer == kTransferCancel ? std::string("Cancel")
                                                                        : std::string("MemoryToMcu"));
                         });

}  // namespace
