// The data handler behind the real communicator, driven pass by pass against a
// scripted unit: what connecting and writing put on the wire.
#include "link/CCommandTable.h"
#include "link/CCommunicator.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/CRecordingWindow.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CScriptedPort.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr BYTE kCodePing = 1;
constexpr BYTE kCodeEngineStatus = 24;

// A unit that answers the ping as version 1.30, the engine status as idle, and every
// other command with its echo and zeros of the row's reply length (an empty list
// for counted replies).
Bytes Answer(const Bytes& written) {
    const BYTE code = written[1];
    if (code == kCodePing) {
        return Frame({0x55, 0x81, 0x1E, 0x01});
    }
    Bytes reply = {0x55, static_cast<BYTE>(code | 0x80)};
    if (code == kCodeEngineStatus) {
        reply.insert(reply.end(), {0x11, 0x22, 0x33, 255, 0x44});
        return Frame(reply);
    }
    const CCommandTable table;
    for (int row = 0; row < CCommandTable::kRowCount; ++row) {
        const CommandRow& command = table.Get(row);
        if (command.code == code) {
            if (command.replyLength > 0) {
                reply.insert(reply.end(), static_cast<std::size_t>(command.replyLength), 0);
            } else if (command.replyLength < 0) {
                reply.push_back(0);  // an empty counted list
            }
            break;
        }
    }
    return Frame(reply);
}

class CDataHandlerWire : public testing::Test {
protected:
    CDataHandlerWire() : handler(std::make_unique<CDataHandler>()) {
        port.SetPorts({7});
        port.SetResponder([](int, const Bytes& written) { return Answer(written); });
        communicator.SetPort(port);
        communicator.SetClock(clock);
        communicator.SetDataHandler(handler.get());
        handler->SetCommunicator(&communicator);
        handler->SetMainWindow(&mainWindow);
        handler->RegisterWindow(&window);
        communicator.BeginPasses();
    }

    std::vector<Bytes> WrittenSince(std::size_t first) const {
        std::vector<Bytes> frames;
        const auto& written = port.Written();
        for (std::size_t i = first; i < written.size(); ++i) {
            frames.push_back(written[i].bytes);
        }
        return frames;
    }

    CScriptedPort port;
    CFakeClock clock;
    CCommunicator communicator;
    CRecordingMainWindow mainWindow;
    CRecordingWindow window;
    std::unique_ptr<CDataHandler> handler;
};

TEST_F(CDataHandlerWire, ConnectingReadsTheEngineStatusAndSendsTheReadAllCommandFirst) {
    communicator.RunPass();
    EXPECT_EQ(window.MessagesOf(WM_DH_STATUS_CHANGED).back(), (PostedMessage{WM_DH_STATUS_CHANGED, 2, 7}));
    const std::size_t mark = port.Written().size();
    communicator.RunPass();
    const std::vector<Bytes> frames = WrittenSince(mark);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], Frame({0xAA, kCodePing, 0x1E, 0x01}));
    EXPECT_EQ(frames[1], Frame({0xAA, kCodeEngineStatus}));
    EXPECT_EQ(frames[2], Frame({0xAA, 80}));
    const BYTE* engineStatus = handler->GetImage(kImageWorking) + 2172;
    EXPECT_EQ(std::vector<BYTE>(engineStatus, engineStatus + 5),
              (std::vector<BYTE>{0x11, 0x22, 0x33, 255, 0x44}));
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_FULL_READ_DONE).size(), 1u);
    EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_UNIT_BUSY).size(), 0u);
    EXPECT_FALSE(window.MessagesOf(WM_DH_NEW_DATA).empty());
}

TEST_F(CDataHandlerWire, AWrittenSettingReachesTheUnitWithItsWholeBlock) {
    communicator.RunPass();
    communicator.RunPass();
    communicator.SetWaitState(0);  // the main dialog finished with the full read
    CRecordingWindow transferred;
    handler->Subscribe(&transferred, 3, kFlagTransferred);
    const BYTE rpm = 0x2A;
    handler->WriteData(3, &rpm);
    const std::size_t mark = port.Written().size();
    communicator.RunPass();  // the queue moves to the worker at the end of a pass
    communicator.RunPass();
    const std::vector<Bytes> frames = WrittenSince(mark);
    Bytes expected = {0xAA, 60};
    expected.resize(2 + 35, 0);
    expected[2 + 6] = 0x2A;
    EXPECT_EQ(std::count(frames.begin(), frames.end(), Frame(expected)), 1);
    EXPECT_EQ(handler->GetImage(kImageUnit)[6], 0x2A);
    EXPECT_EQ(transferred.Messages(), (std::vector<PostedMessage>{{WM_DH_ELEMENT_CHANGED, 1, 3 | 0x40000}}));
}

}  // namespace
