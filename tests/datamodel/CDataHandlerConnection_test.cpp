// The connection side: status changes, the full read and the live polls it queues,
// completions, the busy unit, the end of the live cycle and the version settings.
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "tests/datamodel/DataHandlerFixture.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

class CDataHandlerConnection : public DataHandlerFixture {
protected:
    std::vector<int> QueuedRows() const {
        std::vector<int> rows;
        for (const QueuedRequest& r : queue.requests) {
            rows.push_back(r.row);
        }
        return rows;
    }
};

TEST_F(CDataHandlerConnection, ConnectingQueuesTheFullReadAndOnePollPerLiveBlock) {
    CRecordingWindow window;
    handler->RegisterWindow(&window);
    handler->DataHandler(1, 0);
    handler->DataHandler(2, 7);

    EXPECT_EQ(window.Messages(),
              (std::vector<PostedMessage>{{WM_DH_STATUS_CHANGED, 1, 0}, {WM_DH_STATUS_CHANGED, 2, 7}}));

    struct Expected {
        int element;
        int kind;
        int row;
        const BYTE* destination;
    };

    const Expected expected[] = {
        {DATA_STATUS_ENGINE_STATUS, kKindOrdinary, 7, Working() + 2172},
        {kElementReadAllCommand, kKindOrdinary, 25, nullptr},
        {-1, kKindOrdinary, kRowFullRead, handler->GetImage(kImageUnit)},
        {26, kKindCyclic, 29, Working() + 2177},
        {29, kKindCyclic, 30, Working() + 2229},
        {30, kKindCyclic, 7, Working() + 2172},
        {43, kKindCyclic, 26, Working() + 1144},
        {95, kKindCyclic, 35, Working() + 7613},
    };
    ASSERT_EQ(queue.requests.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(queue.requests[i].element, expected[i].element);
        EXPECT_EQ(queue.requests[i].kind, expected[i].kind);
        EXPECT_EQ(queue.requests[i].row, expected[i].row);
        EXPECT_EQ(queue.requests[i].destination, expected[i].destination);
    }
    EXPECT_EQ(queue.requests[2].destinationSize, static_cast<std::size_t>(kImageBytes));
}

TEST_F(CDataHandlerConnection, OnlyComingUpQueuesAFullRead) {
    struct Step {
        int status;
        std::size_t queued;  // requests queued by this step
        std::size_t posted;  // 0x601 posted by this step
    };

    const Step steps[] = {{1, 0, 1}, {1, 0, 0}, {2, 8, 1}, {2, 0, 0},
                          {4, 0, 1}, {3, 0, 1}, {4, 8, 1}, {1, 0, 1}};
    CRecordingWindow window;
    handler->RegisterWindow(&window);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        queue.requests.clear();
        window.Clear();
        handler->DataHandler(steps[i].status, 3);
        EXPECT_EQ(queue.requests.size(), steps[i].queued);
        EXPECT_EQ(window.Messages().size(), steps[i].posted);
    }
}

TEST_F(CDataHandlerConnection, WhileWaitingForTheUserOnlyTheTransferChoiceFollowsTheLink) {
    queue.waitState = 1;
    handler->DataHandler(2, 7);
    handler->DataHandler(1, 0);
    handler->DataHandler(4, 7);
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_EQ(prompter.adjustments, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(handler->GetStatus(), 4);
}

TEST_F(CDataHandlerConnection, EngineStatusDecidesWhetherTheUnitIsBusy) {
    struct Case {
        BYTE jobByte;
        bool busy;
    };

    const Case cases[] = {{255, false}, {201, false}, {200, true}, {0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.jobByte));
        mainWindow.posted.Clear();
        handler->DataHandler(2, 7);
        ReadEngineStatus(c.jobByte);
        EXPECT_EQ(mainWindow.posted.MessagesOf(WM_DH_UNIT_BUSY).size(), c.busy ? 1u : 0u);
        EXPECT_EQ(handler->GetImage(kImageUnit)[2172 + 3], 0) << "images 1 and 2 do not follow element 30";
        queue.requests.clear();
        const BYTE value = 1;
        handler->WriteData(0, &value);
        EXPECT_EQ(queue.requests.size(), c.busy ? 0u : 1u);
    }
}

// The engine status is polled in every live cycle; a job that ends there lets writes through
// again, whether the live cycle's end or the closing busy dialog sees it first.
TEST_F(CDataHandlerConnection, BusyStateFollowsThePolledEngineStatusBackToIdle) {
    struct Case {
        const char* name;
        BYTE polledJobByte;
        bool closeBusyDialog;  // else the live cycle ends
        bool idle;
    };

    const Case cases[] = {
        {"job ended, live cycle", 254, false, true},
        {"job ended, busy dialog", 255, true, true},
        {"job goes on", 200, false, false},
        {"job goes on, link lost under the busy dialog", 120, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewHandler();
        handler->DataHandler(2, 7);
        ReadEngineStatus(100);
        Working()[kEngineStatusOffset + 3] = c.polledJobByte;
        if (c.closeBusyDialog) {
            handler->FlushFCR();
        } else {
            handler->OnLiveCycleEnd();
        }
        queue.requests.clear();
        const BYTE value = 1;
        handler->WriteData(0, &value);
        EXPECT_EQ(queue.requests.size(), c.idle ? 1u : 0u);
    }
}

TEST_F(CDataHandlerConnection, FullReadOfAnIdleUnitEndsWithOneFullReadMessage) {
    ConnectIdle();
    Finish(-1);
    EXPECT_EQ(mainWindow.posted.Messages(), (std::vector<PostedMessage>{{WM_DH_FULL_READ_DONE, 0, 0}}));
    EXPECT_EQ(queue.waitStatesSet, std::vector<int>{1});
    handler->FlushFCR();
    EXPECT_EQ(mainWindow.posted.Messages().size(), 1u) << "nothing was held";
}

TEST_F(CDataHandlerConnection, FullReadOfABusyUnitIsHeldUntilTheBusyDialogCloses) {
    handler->DataHandler(2, 7);
    ReadEngineStatus(150);
    mainWindow.posted.Clear();
    Finish(-1);
    EXPECT_TRUE(mainWindow.posted.Messages().empty());
    EXPECT_TRUE(queue.waitStatesSet.empty());
    handler->FlushFCR();
    EXPECT_EQ(mainWindow.posted.Messages(), (std::vector<PostedMessage>{{WM_DH_FULL_READ_DONE, 0, 0}}));
    EXPECT_EQ(queue.waitStatesSet, std::vector<int>{1});
    handler->FlushFCR();
    EXPECT_EQ(mainWindow.posted.Messages().size(), 1u);
}

TEST_F(CDataHandlerConnection, FinishedTransferReachesOneKindOfSubscriberAndTheUnitImages) {
    struct Case {
        const char* name;
        int kind;
        int success;
        LONG_PTR reason;
        bool withdrawn;
    };

    // A failure reaches the same subscribers with wParam 0, and leaves the images alone; a
    // withdrawn request, dropped unserved, reaches nobody.
    const Case cases[] = {
        {"ordinary", kKindOrdinary, 1, 0x40000, false}, {"flagged", kKindFlagged, 1, 0x80000, false},
        {"failed", kKindOrdinary, 0, 0x40000, false},   {"flagged failed", kKindFlagged, 0, 0x80000, false},
        {"withdrawn", kKindOrdinary, 0, 0x40000, true}, {"flagged withdrawn", kKindFlagged, 0, 0x80000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewHandler();
        CRecordingWindow transferred;
        CRecordingWindow flagged;
        CRecordingWindow changed;
        handler->Subscribe(&transferred, 5, kFlagTransferred);
        handler->Subscribe(&flagged, 5, kFlagFlaggedDone);
        handler->Subscribe(&changed, 5, kFlagChanged | kFlagLoaded);
        Working()[8] = 0x12;
        Working()[9] = 0x34;
        Working()[10] = 0x56;  // element 47, not finished
        if (c.withdrawn) {
            handler->GetDescriptor(5)->WithdrawRequests();
        }
        Finish(5, c.kind, c.success);
        const bool done = c.success != 0;
        for (int image : {kImageUnit, kImageLastKnown}) {
            const BYTE* bytes = handler->GetImage(image);
            EXPECT_EQ(bytes[8], done ? 0x12 : 0);
            EXPECT_EQ(bytes[9], done ? 0x34 : 0);
            EXPECT_EQ(bytes[10], 0);
        }
        EXPECT_EQ(handler->GetImage(kImageFile)[8], 0);
        std::vector<PostedMessage> expected;
        if (!c.withdrawn) {
            expected.push_back({WM_DH_ELEMENT_CHANGED, static_cast<UINT_PTR>(c.success), 5 | c.reason});
        }
        EXPECT_EQ((c.kind == kKindFlagged ? flagged : transferred).Messages(), expected);
        EXPECT_TRUE((c.kind == kKindFlagged ? transferred : flagged).Messages().empty());
        EXPECT_TRUE(changed.Messages().empty());
        EXPECT_EQ(handler->HasWriteDone() != FALSE, done);
    }
}

TEST_F(CDataHandlerConnection, FinishedCommandOrLiveElementIsNoSettingTransfer) {
    Finish(kElementReadAllCommand);
    Finish(26);
    EXPECT_FALSE(handler->HasWriteDone());
    Finish(0);
    EXPECT_TRUE(handler->HasWriteDone());
    handler->ResetWriteDoneFlag();
    EXPECT_FALSE(handler->HasWriteDone());
}

TEST_F(CDataHandlerConnection, LiveCycleEndTellsEveryWindowAndStopsAt253) {
    CRecordingWindow first;
    CRecordingWindow second;
    handler->RegisterWindow(&first);
    handler->RegisterWindow(&second);
    EXPECT_TRUE(handler->OnLiveCycleEnd());
    Working()[2172 + 4] = 252;
    EXPECT_TRUE(handler->OnLiveCycleEnd());
    Working()[2172 + 4] = 253;
    EXPECT_FALSE(handler->OnLiveCycleEnd());
    EXPECT_TRUE(handler->OnLiveCycleEnd()) << "a stop is taken once, not again until element 30 is read anew";
    EXPECT_EQ(first.MessagesOf(WM_DH_NEW_DATA).size(), 4u);
    EXPECT_EQ(second.Messages(), first.Messages());
}

TEST_F(CDataHandlerConnection, RestoreReadsTheUnitAgain) {
    ConnectIdle();
    handler->RequestRestore();
    EXPECT_EQ(QueuedRows(), (std::vector<int>{25, kRowFullRead}));
    EXPECT_FALSE(handler->HasConfiguration());
}

TEST_F(CDataHandlerConnection, ReadSupportFollowsTheElementsReadRow) {
    queue.supportedRows = {35};
    EXPECT_EQ(handler->IsReadSupported(95), 1);
    EXPECT_EQ(handler->IsReadSupported(29), 0);
    EXPECT_EQ(handler->IsReadSupported(kElementCount), 0);
}

TEST_F(CDataHandlerConnection, SettingDescriptorsAreTheSettingsInIndexOrder) {
    const std::vector<CDataDescriptor*> settings = handler->GetSettingDescriptors();
    ASSERT_FALSE(settings.empty());
    int last = -1;
    for (CDataDescriptor* d : settings) {
        EXPECT_EQ(d->GetAccess(), kAccessSetting);
        EXPECT_GT(d->GetID(), last);
        last = d->GetID();
    }
    EXPECT_EQ(settings.front()->GetID(), 0);
    EXPECT_EQ(settings.back()->GetID(), 122);
}

TEST_F(CDataHandlerConnection, VersionSettingsFollowTheUnitsVersion) {
    struct Case {
        const char* name;
        BYTE version[3];
        BYTE pump;
        BYTE lubrication;
        BYTE expectedPump;
        BYTE expectedLubrication;
        bool written;
    };

    const Case cases[] = {
        {"old unit clears both", {2, 10, 6}, 2, 5, 0, 0, true},
        {"old build clears one", {3, 10, 5}, 0, 5, 0, 0, true},
        {"old unit already clear", {3, 9, 9}, 0, 0, 0, 0, false},
        {"new unit gets defaults", {3, 10, 6}, 0, 0, 3, 7, true},
        {"new unit keeps its own", {4, 12, 7}, 2, 5, 2, 5, false},
        {"new unit fills one", {4, 12, 7}, 1, 0, 1, 7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewHandler();
        ConnectIdle();
        BYTE* unit = handler->GetImage(kImageUnit);
        unit[2267 + 16 + 2] = c.version[0];
        unit[2267 + 16 + 3] = c.version[1];
        unit[2311] = c.version[2];
        Working()[31] = c.pump;
        Working()[30] = c.lubrication;
        handler->AdjustVersionSettings();
        EXPECT_EQ(Working()[31], c.expectedPump);
        EXPECT_EQ(Working()[30], c.expectedLubrication);
        EXPECT_EQ(queue.requests.empty(), !c.written);
    }
}

}  // namespace
