// The data handler behind the real communicator, driven pass by pass against the
// simulated unit in-process: what connecting, the full read, writing and polling put
// on the wire, into the images and into the posted messages.
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/CRecordingWindow.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CUnitLoopback.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

Bytes Range(const BYTE* image, int offset, std::size_t length) {
    return Bytes(image + offset, image + offset + length);
}

class CDataHandlerWire : public testing::Test {
protected:
    CDataHandlerWire() : handler(std::make_unique<CDataHandler>()) {
        unit.engine.Application().SetLiveMotion(false);
        communicator.SetPort(unit.port);
        communicator.SetClock(clock);
        communicator.SetDataHandler(handler.get());
        handler->SetCommunicator(&communicator);
        handler->SetMainWindow(&mainWindow);
        handler->RegisterWindow(&window);
        communicator.BeginPasses();
    }

    // Finds the unit, reads it whole and leaves the wait state as the main dialog does.
    void ConnectAndRead() {
        communicator.RunPass();
        communicator.RunPass();
        communicator.SetWaitState(0);
    }

    CUnitMemory& Memory() { return unit.engine.Memory(); }

    CUnitLoopback unit;
    CFakeClock clock;
    CCommunicator communicator;
    CRecordingMainWindow mainWindow;
    CRecordingWindow window;
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

}  // namespace
