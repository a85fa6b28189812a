// Element access and notification: the write road, requests by block mode, refusals,
// broadcasts and the comparison of images.
#include "link/CDataHandler.h"

#include "classlib/core/CEvent.h"
#include "link/DataHandlerMessages.h"
#include "tests/datamodel/DataHandlerFixture.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int kSettingsRow = 17;  // writes the settings block at offset 0
constexpr int kIndexedRow = 20;   // writes one event action: index byte, value

class CDataHandlerAccess : public DataHandlerFixture {
protected:
    // A new handler wired to the fakes, at this status; a job byte of -1 leaves the engine
    // status unread.
    void StartAt(int status, int jobByte) {
        NewHandler();
        handler->DataHandler(status, 7);
        if (jobByte >= 0) {
            ReadEngineStatus(static_cast<BYTE>(jobByte));
        }
    }
};

// A write that is not queued is held: the main window shows, once, that edits wait.
TEST_F(CDataHandlerAccess, WriteQueuesOnlyWhileConnectedAndTheUnitIsIdle) {
    struct Case {
        const char* name;
        int status;
        int jobByte;  // -1: the engine status was never read
        bool queued;
        bool refuse = false;  // the communicator refuses the request
    };

    const Case cases[] = {
        {"not connected", 1, 255, false},     {"connected, idle", 2, 255, true},
        {"jammed, idle", 4, 255, true},       {"connected, busy", 2, 200, false},
        {"busy state unknown", 2, -1, false}, {"incompatible", 3, 255, false},
        {"update mode", 5, 255, false},       {"idle at 201", 2, 201, true},
        {"refused", 2, 255, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mainWindow.editsHeldMarks.clear();
        StartAt(c.status, c.jobByte);
        queue.refuse = c.refuse;
        CRecordingWindow changed;
        CRecordingWindow transferred;
        handler->Subscribe(&changed, 3, kFlagChanged);
        handler->Subscribe(&transferred, 3, kFlagTransferred | kFlagLoaded | kFlagFlaggedDone);
        queue.requests.clear();

        const BYTE value = 12;
        handler->WriteData(3, &value);

        EXPECT_EQ(Working()[6], 12) << "element 3 lies at offset 6";
        EXPECT_EQ(changed.Messages(), (std::vector<PostedMessage>{{WM_DH_ELEMENT_CHANGED, 1, 3 | 0x20000}}));
        EXPECT_TRUE(transferred.Messages().empty());
        ASSERT_EQ(queue.requests.size(), c.queued ? 1u : 0u);
        if (c.queued) {
            EXPECT_EQ(queue.requests[0].row, kSettingsRow);
            EXPECT_EQ(queue.requests[0].kind, kKindOrdinary);
            EXPECT_EQ(queue.requests[0].source, Working()) << "the whole block from its start";
            EXPECT_EQ(queue.requests[0].destination, nullptr);
        }
        const BYTE other = 13;
        handler->WriteData(4, &other);
        EXPECT_EQ(mainWindow.editsHeldMarks, c.queued ? std::vector<bool>{} : std::vector<bool>{true});
        queue.refuse = false;
    }
}

TEST_F(CDataHandlerAccess, IndexedWritePutsThePrefixBeforeTheValue) {
    ConnectIdle();
    const BYTE value = 0xAA;
    handler->WriteData(10, &value);  // event action with index 9 at 1062
    ASSERT_EQ(queue.requests.size(), 1u);
    EXPECT_EQ(queue.requests[0].row, kIndexedRow);
    EXPECT_EQ(queue.requests[0].source, Working() + 1062);
    EXPECT_EQ(Working()[1062], 9);
    EXPECT_EQ(Working()[1063], 0xAA);
}

TEST_F(CDataHandlerAccess, MapWriteWithoutAUsableBoxQueuesNothing) {
    ConnectIdle();
    BYTE map[1024] = {};
    const BYTE inverted[4] = {3, 0, 2, 0};
    handler->WriteData(kElementCorrectionMap, map, nullptr);
    handler->WriteData(kElementCorrectionMap, map, inverted);
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(CDataHandlerAccess, BadElementsAndMissingDataChangeNothing) {
    ConnectIdle();
    CRecordingWindow window;
    for (int element = 0; element < kElementCount; ++element) {
        handler->Subscribe(&window, element, kFlagChanged);
    }
    const std::vector<BYTE> before(Working(), Working() + kImageBytes);
    BYTE big[2048] = {};

    struct Case {
        const char* name;
        int element;
        const BYTE* source;
    };

    const Case cases[] = {
        {"index past the table", kElementCount, big},
        {"negative index", -1, big},
        {"file-only element", kElementMeasurements, big},
        {"element without offset", 116, big},
        {"no source for data", 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handler->WriteData(c.element, c.source);
        handler->WriteDataLocal(c.element, c.source);
        handler->ReadData(c.element, big);
        if (c.element < 0 || c.element >= kElementCount) {
            EXPECT_EQ(handler->RequestRead(c.element, nullptr), kRequestRefused);
        }
    }
    EXPECT_EQ(std::vector<BYTE>(Working(), Working() + kImageBytes), before);
    EXPECT_TRUE(window.Messages().empty());
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(CDataHandlerAccess, CommandWithoutDataIsSentWithANullSource) {
    ConnectIdle();
    handler->WriteData(96, nullptr);
    ASSERT_EQ(queue.requests.size(), 1u);
    EXPECT_EQ(queue.requests[0].row, 36);
}

TEST_F(CDataHandlerAccess, WriteDataLocalNeitherQueuesNorRetitles) {
    ConnectIdle();
    CRecordingWindow window;
    handler->Subscribe(&window, 7, kFlagChanged);
    const BYTE value = 5;
    handler->WriteDataLocal(7, &value);
    EXPECT_EQ(Working()[35], 5);
    EXPECT_EQ(window.Messages(), (std::vector<PostedMessage>{{WM_DH_ELEMENT_CHANGED, 1, 7 | 0x20000}}));
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_EQ(mainWindow.titleUpdates, 0);
}

TEST_F(CDataHandlerAccess, WriteRetitlesTheMainWindowWithoutAModifiedMarkWhenThereIsNoConfiguration) {
    const BYTE value = 1;
    handler->WriteData(0, &value);
    EXPECT_EQ(mainWindow.modifiedMarks, std::vector<bool>{false});
    EXPECT_EQ(mainWindow.titleUpdates, 1);
}

TEST_F(CDataHandlerAccess, RequestsNameTheirRowsKindsAndDestinations) {
    handler->DataHandler(1, 0);
    EXPECT_EQ(handler->RequestRead(95, nullptr), 1);
    EXPECT_EQ(handler->RequestCommand(121, nullptr), 1);
    EXPECT_TRUE(queue.requests.empty()) << "nothing while not connected";

    ConnectIdle();
    const BYTE rowRequest[3] = {1, 2, 32};
    BYTE answer[16] = {};
    EXPECT_EQ(handler->RequestRead(95, nullptr), 2);
    EXPECT_EQ(handler->RequestRead(81, rowRequest), 2);
    EXPECT_EQ(handler->RequestCommand(121, nullptr), 2);
    EXPECT_EQ(handler->RequestWriteFrom(116, rowRequest, answer), 2);
    EXPECT_EQ(handler->RequestReadTo(118, rowRequest, answer), 2);
    EXPECT_EQ(handler->RequestCommand(113, nullptr), kRequestRefused);  // no write row
    ASSERT_EQ(queue.requests.size(), 5u);
    const QueuedRequest& obd = queue.requests[0];
    EXPECT_EQ(obd.row, 35);
    EXPECT_EQ(obd.destination, Working() + 7613);
    EXPECT_EQ(obd.destinationSize, static_cast<std::size_t>(kImageBytes - 7613));
    EXPECT_EQ(queue.requests[1].row, 34);
    EXPECT_EQ(queue.requests[1].source, rowRequest);
    EXPECT_EQ(queue.requests[2].row, 49);
    EXPECT_EQ(queue.requests[2].kind, kKindFlagged);
    EXPECT_EQ(queue.requests[3].row, 46);
    EXPECT_EQ(queue.requests[3].destination, answer);
    EXPECT_EQ(queue.requests[4].row, 47);
    EXPECT_EQ(queue.requests[4].destination, answer);
}

// A page waits for the completion of what was queued; a refusal must not look like a queueing.
TEST_F(CDataHandlerAccess, RequestsTheCommunicatorRefusesAreReportedAsRefused) {
    ConnectIdle();
    queue.refuse = true;
    const BYTE rowRequest[3] = {1, 2, 32};
    BYTE answer[16] = {};
    EXPECT_EQ(handler->RequestRead(81, rowRequest), kRequestRefused);
    EXPECT_EQ(handler->RequestCommand(121, nullptr), kRequestRefused);
    EXPECT_EQ(handler->RequestWriteFrom(116, rowRequest, answer), kRequestRefused);
    EXPECT_EQ(handler->RequestReadTo(118, rowRequest, answer), kRequestRefused);
    EXPECT_FALSE(CDataHandler::IsQueued(kRequestRefused));
}

TEST_F(CDataHandlerAccess, ReadCountedBlockStaysInsideItsElement) {
    BYTE* row = Working() + 3352;  // element 81, 33 bytes
    BYTE out[64] = {};
    row[0] = 16;
    row[32] = 0x77;
    handler->ReadCountedBlock(81, out, 0);
    EXPECT_EQ(out[32], 0x77);
    std::fill(out, out + 64, 0);
    row[0] = 17;  // 35 bytes would pass the element
    handler->ReadCountedBlock(81, out, 0);
    EXPECT_EQ(out[0], 0);
}

TEST_F(CDataHandlerAccess, BroadcastsReachEachRegisteredWindowOnce) {
    CRecordingWindow first;
    CRecordingWindow second;
    handler->RegisterWindow(&first);
    handler->RegisterWindow(&first);
    handler->RegisterWindow(&second);
    handler->BroadcastLanguageChanged();
    handler->UnregisterWindow(&second);
    handler->BroadcastEventLogChanged(3);
    EXPECT_EQ(first.Messages(),
              (std::vector<PostedMessage>{{WM_DH_LANGUAGE_CHANGED, 0, 0}, {WM_DH_EVENTLOG_CHANGED, 3, 0}}));
    EXPECT_EQ(second.Messages(), (std::vector<PostedMessage>{{WM_DH_LANGUAGE_CHANGED, 0, 0}}));
}

TEST_F(CDataHandlerAccess, CompareImagesFollowsTheSettingRules) {
    struct Case {
        const char* name;
        int offset;
        BYTE first;
        BYTE second;
        bool differ;
        std::vector<int> listed;
    };

    const Case cases[] = {
        {"plain setting", 3, 1, 2, true, {0}},
        {"second byte of a word", 9, 1, 2, true, {5}},
        {"load minimum is ignored", 28, 1, 2, false, {}},
        {"cylinders are ignored", 29, 1, 2, false, {}},
        {"tank valve high nibble", 1, 0x10, 0x20, false, {}},
        {"tank valve low nibble", 1, 0x11, 0x12, true, {45}},
        {"pump type 0 and 3", 31, 0, 3, false, {}},
        {"pump type 1 and 3", 31, 1, 3, true, {}},
        {"lubrication 7 and 0", 30, 7, 0, false, {}},
        {"lubrication 5 and 7", 30, 5, 7, true, {}},
        {"live value", 2229, 1, 2, false, {}},
        {"identity", 2267, 1, 2, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> first(kImageBytes, 0);
        std::vector<BYTE> second(kImageBytes, 0);
        first[static_cast<std::size_t>(c.offset)] = c.first;
        second[static_cast<std::size_t>(c.offset)] = c.second;
        std::vector<CDataDescriptor*> differences;
        EXPECT_EQ(handler->CompareImages(first.data(), second.data(), &differences), c.differ);
        std::vector<int> listed;
        for (CDataDescriptor* d : differences) {
            listed.push_back(d->GetID());
        }
        EXPECT_EQ(listed, c.listed);
    }
}

TEST_F(CDataHandlerAccess, ChangedElementsGoOutOncePerBlockAndOncePerIndex) {
    ConnectIdle();
    BYTE* unit = handler->GetImage(kImageUnit);
    // The same 2 x 3 map in both images, with one cell changed in the working one.
    for (BYTE* image : {unit, Working()}) {
        image[36] = 2;
        image[36 + 5] = 3;
        image[36 + 12 + 4] = 40;
    }
    Working()[36 + 12 + 4] = 41;  // cell (x 1, y 1): 3 > 2, so at x * 3 + y
    std::vector<CDataDescriptor*> differences;
    for (int element : {0, 1, 44, 9, 10, kElementCorrectionMap, 35, 36}) {
        differences.push_back(handler->GetDescriptor(element));
    }
    handler->WriteChangedElements(differences);
    std::vector<int> rows;
    for (const QueuedRequest& r : queue.requests) {
        rows.push_back(r.row);
    }
    EXPECT_EQ(rows, (std::vector<int>{kSettingsRow, kIndexedRow, kIndexedRow, kRowWriteBox, 22}));
    const BYTE* box = queue.requests[3].source;
    EXPECT_EQ(std::vector<BYTE>(box, box + 5), (std::vector<BYTE>{1, 1, 1, 1, 41}));
    EXPECT_EQ(queue.requests[2].source, Working() + 1062);
}

TEST_F(CDataHandlerAccess, MapIsNotPushedWhenItsAxesChanged) {
    ConnectIdle();
    BYTE* unit = handler->GetImage(kImageUnit);
    unit[36] = 2;
    unit[36 + 5] = 3;
    Working()[36] = 2;
    Working()[36 + 5] = 4;
    Working()[36 + 20] = 9;
    handler->WriteChangedElements({handler->GetDescriptor(kElementCorrectionMap)});
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(CDataHandlerAccess, MeasurementsKeepTheirTimeInMicroseconds) {
    handler->AddMeasurement(2500, 3.2567, -4);
    handler->AddMeasurement(800, 0.0009, 7);
    CPtrList list;
    handler->CopyMeasurements(list);
    ASSERT_EQ(list.GetCount(), 2);
    const auto* first = static_cast<const ConfigMeasurement*>(list.GetHead());
    EXPECT_EQ(first->rpm, 2500);
    EXPECT_EQ(first->injectionUs, 3256);
    EXPECT_EQ(first->value, -4);
    EXPECT_EQ(static_cast<const ConfigMeasurement*>(list.GetTail())->injectionUs, 0);
    handler->ClearMeasurements();
    CPtrList empty;
    handler->CopyMeasurements(empty);
    EXPECT_TRUE(empty.IsEmpty());
}

// A loaded time comes back in milliseconds (times 0.001) and is stored again on a save: every
// time a file can hold must survive that unchanged (4007 us is 4.00699... ms as a double).
TEST_F(CDataHandlerAccess, EveryStoredTimeSurvivesTheTripThroughMilliseconds) {
    std::vector<LONG> changed;
    for (LONG us = 0; us <= 0xffff; ++us) {
        handler->ClearMeasurements();
        handler->AddMeasurement(1000, us * 0.001, 1);
        CPtrList list;
        handler->CopyMeasurements(list);
        const LONG back = static_cast<const ConfigMeasurement*>(list.GetHead())->injectionUs;
        if (back != us) {
            changed.push_back(us);
        }
    }
    EXPECT_TRUE(changed.empty()) << changed.size() << " times changed, the first " << changed.front();
}

TEST_F(CDataHandlerAccess, SettingLocksAreFoundByTheirOwners) {
    EXPECT_EQ(handler->FindSettingByLock(&handler->GetDescriptor(122)->GetLock()), 122);
    EXPECT_EQ(handler->FindSettingByLock(&handler->GetDescriptor(30)->GetLock()), -1);
}

// A window whose post takes a while (the poster's thread is preempted inside it) and
// that notes a post still running after its owner destroyed it.
class CSlowWindow : public IMessageTarget {
public:
    void PostMessage(UINT, UINT_PTR, LONG_PTR) override {
        posting.SetEvent();
        never.Lock(200);
        postedAfterDestruction += destroyed ? 1 : 0;
    }

    CEvent posting{FALSE, TRUE};
    CEvent never{FALSE, TRUE};
    std::atomic<bool> destroyed{false};
    std::atomic<int> postedAfterDestruction{0};
};

TEST_F(CDataHandlerAccess, AWindowThatUnregisteredIsNeverPostedToAfterwards) {
    struct Case {
        const char* name;
        std::function<void(CDataHandler&, IMessageTarget*)> listen;
        std::function<void(CDataHandler&)> post;  // from the communicator's thread
        std::function<void(CDataHandler&, IMessageTarget*)> leave;
    };

    const BYTE value = 5;
    const Case cases[] = {
        {"broadcast", [](CDataHandler& h, IMessageTarget* w) { h.RegisterWindow(w); },
         [](CDataHandler& h) { h.BroadcastLanguageChanged(); },
         [](CDataHandler& h, IMessageTarget* w) { h.UnregisterWindow(w); }},
        {"element subscribers", [](CDataHandler& h, IMessageTarget* w) { h.Subscribe(w, 3, kFlagChanged); },
         [&value](CDataHandler& h) { h.WriteDataLocal(3, &value); },
         [](CDataHandler& h, IMessageTarget* w) { h.Unsubscribe(w, 3, kFlagChanged); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSlowWindow window;
        c.listen(*handler, &window);
        std::thread poster([&] { c.post(*handler); });
        ASSERT_TRUE(window.posting.Lock(5000));
        c.leave(*handler, &window);
        window.destroyed = true;
        poster.join();
        EXPECT_EQ(0, window.postedAfterDestruction);
    }
}

}  // namespace
