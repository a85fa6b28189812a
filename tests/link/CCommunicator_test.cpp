// The communicator's passes against scripted ports and a recording sink: the port
// scan, status decisions, order of service, repeats, closing and completions.
#include "link/CCommunicator.h"

#include "classlib/core/CEvent.h"
#include "link/CCommandTable.h"
#include "link/CDataDescriptor.h"
#include "link/ExchangeResult.h"
#include "link/ICommunicatorSink.h"
#include "tests/calib/CLogCapture.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CScriptedPort.h"
#include "tests/link/CWaitableCount.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

// Whether a thread other than the caller would have to wait for the lock.
bool IsHeldForOtherThreads(CCriticalSection& lock) {
    bool taken = false;
    std::thread other([&] {
        taken = lock.TryLock() != FALSE;
        if (taken) {
            lock.Unlock();
        }
    });
    other.join();
    return !taken;
}

struct Status {
    int status;
    int port;

    bool operator==(const Status& o) const { return status == o.status && port == o.port; }
};

std::ostream& operator<<(std::ostream& out, const Status& s) {
    return out << "{" << s.status << ", COM" << s.port << "}";
}

class CRecordingSink : public ICommunicatorSink {
public:
    void DataHandler(int status, int portNumber) override { statuses.push_back({status, portNumber}); }

    void OnTaskFinished(CommRequest* request, int success) override {
        finished.push_back({request->row, success});
        if (request->descriptor != nullptr) {
            lockedDuringCompletion = IsHeldForOtherThreads(request->descriptor->GetLock());
        }
    }

    bool OnLiveCycleEnd() override {
        ++cycleEnds;
        return liveCycleGoesOn;
    }

    std::vector<CDataDescriptor*> GetSettingDescriptors() override { return settings; }

    std::vector<Status> statuses;
    std::vector<std::pair<int, int>> finished;  // row, success
    int cycleEnds = 0;
    bool liveCycleGoesOn = true;
    bool lockedDuringCompletion = false;
    std::vector<CDataDescriptor*> settings;
};

// A unit on one port: answers the ping with a version and every command with its
// echo and zero data of the row's reply length. Listed codes can be made to fail.
class FakeUnit {
public:
    FakeUnit(int port, BYTE minor = 30, BYTE answerId = 0x55) : m_port(port), m_minor(minor), m_id(answerId) {
        const CCommandTable table;
        for (int row = 0; row < CCommandTable::kRowCount; ++row) {
            const CommandRow& command = table.Get(row);
            if ((command.code & kCompositeCodeBit) == 0) {
                replyLengths[static_cast<BYTE>(command.code)] = command.replyLength;
            }
        }
        replyLengths[101] = 6;  // the loader's identification
        replyLengths[98] = 2;   // the loader's state and room
    }

    Bytes Answer(int port, const Bytes& frame) {
        if (port != m_port || !alive) {
            return {};
        }
        const BYTE code = frame[1];
        if (code == 0x01) {
            return Frame({m_id, 0x81, m_minor, 1});
        }
        if (failuresLeft[code] > 0) {
            --failuresLeft[code];
            return Frame({m_id, 0xE7});
        }
        Bytes reply{m_id, static_cast<BYTE>(code | 0x80)};
        const int length = replyLengths[code];
        if (length < 0) {
            reply.push_back(0);  // an empty counted list
        } else {
            reply.resize(2 + static_cast<std::size_t>(length), 0x5A);
        }
        return Frame(reply);
    }

    std::map<BYTE, int> replyLengths;
    std::map<BYTE, int> failuresLeft;
    bool alive = true;

private:
    int m_port;
    BYTE m_minor;
    BYTE m_id;
};

class CommunicatorTest : public ::testing::Test {
protected:
    CommunicatorTest() : unit(3) {
        port.SetPorts({1, 2, 3});
        port.SetResponder([this](int p, const Bytes& f) { return unit.Answer(p, f); });
        comm.SetPort(port);
        comm.SetClock(clock);
        comm.SetDataHandler(&sink);
        logPath = ::testing::TempDir() + "comm_interrupted.log";
        std::remove(logPath.c_str());
        comm.SetInterruptedLogPath(logPath);
        comm.BeginPasses();
        sink.statuses.clear();
    }

    ~CommunicatorTest() override { std::remove(logPath.c_str()); }

    // The command codes written to the unit's port since the last call, pings left out.
    std::vector<int> SentCodes() {
        std::vector<int> codes;
        for (const WrittenFrame& f : port.Written()) {
            if (f.port == 3 && f.bytes[1] != 0x01) {
                codes.push_back(f.bytes[1]);
            }
        }
        port.ClearWritten();
        return codes;
    }

    void Connect() {
        comm.RunPass();  // scan: finds the unit, pings it again, serves
        comm.RunPass();
        port.ClearWritten();
        sink.statuses.clear();
    }

    CFakeClock clock;
    CScriptedPort port;
    FakeUnit unit;
    CRecordingSink sink;
    CCommunicator comm;
    std::string logPath;
};

}  // namespace

TEST_F(CommunicatorTest, ReportsNotConnectedAndWaitsWhenNoPortExists) {
    port.SetPorts({});
    comm.RunPass();
    comm.RunPass();
    EXPECT_EQ((std::vector<Status>{{1, 0}, {1, 0}}), sink.statuses);
    const DWORD before = clock.TotalSleptMs();
    comm.RunPass();
    EXPECT_EQ(200u, clock.TotalSleptMs() - before);
}

TEST_F(CommunicatorTest, FindsTheUnitOnTheThirdPortAfterTryingTheSilentOnes) {
    comm.RunPass();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), port.OpenedPorts());
    EXPECT_EQ((std::vector<Status>{{2, 3}}), sink.statuses);
    const Bytes ping{0xAA, 0x01, 0x1E, 0x01, 0xB4};
    int pingsToUnit = 0;
    for (const WrittenFrame& f : port.Written()) {
        EXPECT_EQ(ping, f.bytes);
        pingsToUnit += f.port == 3 ? 1 : 0;
    }
    EXPECT_EQ(2, pingsToUnit);
}

TEST_F(CommunicatorTest, SkipsAPortThatCannotBeOpened) {
    port.FailOpening(1);
    comm.RunPass();
    EXPECT_EQ((Status{2, 3}), sink.statuses.back());
}

// Without a unit every port fails on every pass: some cannot be opened, one fails to
// write, one fails to read. An hour of passes writes each failure's line once and nothing
// else; a failure that ends, or changes, then writes how often its line came back.
TEST_F(CommunicatorTest, AnHourOfScanningWithoutAUnitWritesEachFailingPortOnce) {
    CLogCapture log;
    std::vector<int> ports;
    for (int number = 5; number <= 8; ++number) {
        ports.push_back(number);
        port.FailOpening(number);
    }
    ports.push_back(9);
    port.FailWritingOn(9);
    ports.push_back(10);
    port.FailReadingOn(10);
    port.SetPorts(ports);
    const DWORD start = clock.TotalSleptMs();
    unsigned long passes = 0;
    while (clock.TotalSleptMs() - start < 3600u * 1000u) {
        comm.RunPass();
        ++passes;
    }
    EXPECT_EQ(log.Messages(), (std::vector<std::string>{
                                  "CCommunicator: COM5 skipped: serial port error 5.",
                                  "CCommunicator: COM6 skipped: serial port error 5.",
                                  "CCommunicator: COM7 skipped: serial port error 5.",
                                  "CCommunicator: COM8 skipped: serial port error 5.",
                                  "CFrameExchange: writing the frame failed: serial port error 31.",
                                  "CFrameExchange: reading a byte failed: serial port error 31.",
                              }));
    const std::vector<std::string> lines = log.MessagesStartingWith("CCommunicator: COM");

    port.AllowOpening(5);
    comm.RunPass();
    comm.RunPass();
    const std::vector<std::string> after = log.MessagesStartingWith("CCommunicator: COM");
    ASSERT_EQ(after.size(), lines.size() + 1);
    EXPECT_EQ(after.back(), "CCommunicator: COM5 skipped: serial port error 5. Repeated " +
                                std::to_string(passes - 1) + " times.");
}

TEST_F(CommunicatorTest, DecidesTheStatusFromTheVersionAndServesOnlyCompatibleUnits) {
    struct Case {
        const char* name;
        BYTE minor;
        BYTE answerId;
        int status;
    } cases[] = {
        {"1.30", 30, 0x55, kStatusConnected},
        {"1.39", 39, 0x55, kStatusConnected},
        {"1.40", 40, 0x55, kStatusIncompatible},
        {"loader 1.10", 10, 0x66, kStatusUpdateMode},
        {"loader 1.20", 20, 0x66, kStatusIncompatibleUpdate},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScriptedPort ports;
        FakeUnit fake(3, c.minor, c.answerId);
        ports.SetPorts({3});
        ports.SetResponder([&](int p, const Bytes& f) { return fake.Answer(p, f); });
        CRecordingSink recorder;
        CCommunicator communicator;
        communicator.SetPort(ports);
        communicator.SetClock(clock);
        communicator.SetDataHandler(&recorder);
        communicator.BeginPasses();
        communicator.QueueRequest(nullptr, 0, 1, nullptr, nullptr);
        for (int pass = 0; pass < 3; ++pass) {
            communicator.RunPass();
        }
        EXPECT_EQ((Status{c.status, 3}), recorder.statuses.back());
        // Queued before the unit was found, the request is failed; one queued for a
        // found unit is served only when the unit is compatible.
        communicator.QueueRequest(nullptr, 0, 2, nullptr, nullptr);
        communicator.RunPass();
        communicator.RunPass();
        std::vector<std::pair<int, int>> expected{{1, 0}};
        if (c.status == kStatusConnected) {
            expected.push_back({2, 1});
        }
        EXPECT_EQ(expected, recorder.finished);
    }
}

TEST_F(CommunicatorTest, ServesQueuedRequestsInOrderWithTheirBytesThenThePolls) {
    Connect();
    BYTE live[44];
    BYTE ident[16];
    comm.QueueRequest(nullptr, kRequestCyclic, 29, nullptr, live);  // P1: command 50
    comm.QueueRequest(nullptr, kRequestCyclic, 3, nullptr, ident);  // P2: command 22
    comm.RunPass();                                                 // moves P1, P2 to the working list
    BYTE value = 0x42;
    comm.QueueRequest(nullptr, 0, 8, &value, nullptr);  // A: command 25 with 0x42
    value = 0x17;                                       // the request carries its own copy
    const BYTE text[] = {2, 'h', 'i'};
    comm.QueueRequest(nullptr, 0, 37, text, nullptr);  // B: command 16, counted
    SentCodes();
    comm.RunPass();  // serves P1, P2; moves A, B
    EXPECT_EQ((std::vector<int>{50, 22}), SentCodes());
    comm.RunPass();  // working list P1, P2, A, B is served as A, B, P1, P2
    std::vector<Bytes> frames;
    for (const WrittenFrame& f : port.Written()) {
        if (f.bytes[1] != 0x01) {
            frames.push_back(f.bytes);
        }
    }
    ASSERT_EQ(4u, frames.size());
    EXPECT_EQ(Frame({0xAA, 25, 0x42}), frames[0]);
    EXPECT_EQ(Frame({0xAA, 16, 2, 'h', 'i'}), frames[1]);
    EXPECT_EQ(50, frames[2][1]);
    EXPECT_EQ(22, frames[3][1]);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{8, 1}, {37, 1}}), sink.finished);
    port.ClearWritten();
    comm.RunPass();
    EXPECT_EQ((std::vector<int>{50, 22}), SentCodes());
    EXPECT_EQ(0x5A, live[0]);
}

TEST_F(CommunicatorTest, ReportsEveryServingPassAndItsCycleEnd) {
    Connect();
    comm.RunPass();
    EXPECT_EQ((std::vector<Status>{{2, 3}}), sink.statuses);
    EXPECT_EQ(3, sink.cycleEnds);
}

TEST_F(CommunicatorTest, RefusesRowsOutsideTheTable) {
    EXPECT_FALSE(comm.QueueRequest(nullptr, 0, -1, nullptr, nullptr));
    EXPECT_FALSE(comm.QueueRequest(nullptr, 0, 50, nullptr, nullptr));
    EXPECT_FALSE(comm.QueueRequest(nullptr, 0, 8, nullptr, nullptr));  // a write without data
}

TEST_F(CommunicatorTest, KeepsRequestsQueuedInWaitStateAndSendsOnlyPings) {
    Connect();
    comm.SetWaitState(1);
    comm.QueueRequest(nullptr, 0, 1, nullptr, nullptr);
    comm.RunPass();
    comm.RunPass();
    EXPECT_TRUE(SentCodes().empty());
    EXPECT_EQ((std::vector<Status>{{2, 3}, {2, 3}}), sink.statuses);
    comm.SetWaitState(0);
    comm.RunPass();
    comm.RunPass();
    EXPECT_EQ((std::vector<int>{20}), SentCodes());
}

TEST_F(CommunicatorTest, ReportsAJammedConnectionOnlyWhenRepeatsExceedExchanges) {
    Connect();

    struct Case {
        const char* name;
        int failures;
        std::vector<Status> expected;
    } cases[] = {
        {"two repeats in two exchanges", 2, {{2, 3}}},
        {"three repeats in two exchanges", 3, {{2, 3}, {4, 3}}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        comm.QueueRequest(nullptr, 0, 1, nullptr, nullptr);
        comm.RunPass();  // moves the request
        sink.statuses.clear();
        unit.failuresLeft[20] = c.failures;
        comm.RunPass();
        EXPECT_EQ(c.expected, sink.statuses);
    }
}

TEST_F(CommunicatorTest, ClosesThePortAfterSeventeenFailuresAndCompletesTheRestAsFailed) {
    Connect();
    comm.QueueRequest(nullptr, 0, 1, nullptr, nullptr);
    comm.QueueRequest(nullptr, 0, 2, nullptr, nullptr);
    comm.RunPass();
    unit.failuresLeft[20] = 17;
    comm.RunPass();
    EXPECT_EQ(17u, SentCodes().size());
    EXPECT_EQ((Status{1, 3}), sink.statuses.back());
    EXPECT_TRUE(sink.finished.empty());
    std::ifstream log(logPath, std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0u, contents.find("----====****====----\n\n"));
    EXPECT_NE(std::string::npos, contents.find("Rx (-25): '55 E7 B2'"));

    unit.alive = false;
    comm.RunPass();  // finds the port closed
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 0}, {2, 0}}), sink.finished);
}

TEST_F(CommunicatorTest, ReportsTheDropWhenTheUnitIsFoundAgainAtOnce) {
    Connect();
    unit.alive = false;
    comm.RunPass();  // 17 silent pings close the port
    unit.alive = true;
    comm.RunPass();  // finds it again in the same scan
    EXPECT_EQ((std::vector<Status>{{1, 0}, {2, 3}}), sink.statuses);
}

TEST_F(CommunicatorTest, FailsRequestsQueuedForAUnitThatWentAway) {
    Connect();
    unit.alive = false;
    comm.RunPass();
    comm.QueueRequest(nullptr, 0, 1, nullptr, nullptr);
    unit.alive = true;
    comm.RunPass();
    comm.RunPass();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 0}}), sink.finished);
    EXPECT_TRUE(SentCodes().empty());
}

TEST_F(CommunicatorTest, DropsThePollsWhenTheLiveCycleEndsTheLink) {
    Connect();
    BYTE live[44];
    comm.QueueRequest(nullptr, kRequestCyclic, 29, nullptr, live);
    comm.RunPass();
    sink.liveCycleGoesOn = false;
    sink.statuses.clear();
    comm.RunPass();
    EXPECT_EQ((std::vector<Status>{{2, 3}, {1, 3}}), sink.statuses);
    sink.liveCycleGoesOn = true;
    SentCodes();
    comm.RunPass();
    EXPECT_TRUE(SentCodes().empty());
}

TEST_F(CommunicatorTest, DropsTheTablesPollWhileTheUnitHasNoTables) {
    Connect();
    BYTE obd[10];
    comm.QueueRequest(nullptr, kRequestCyclic, 35, nullptr, obd);
    comm.RunPass();
    comm.RunPass();
    comm.RunPass();
    EXPECT_TRUE(SentCodes().empty());
}

TEST_F(CommunicatorTest, HoldsTheElementLockThroughTheExchangeAndReleasesIt) {
    Connect();
    CDataDescriptor element;
    CDataDescriptor settingA;
    CDataDescriptor settingB;
    sink.settings = {&settingA, &settingB};
    comm.QueueRequest(&element, 0, 1, nullptr, nullptr);
    comm.QueueRequest(nullptr, 0, 2, nullptr, nullptr);
    comm.RunPass();
    comm.RunPass();
    EXPECT_TRUE(sink.lockedDuringCompletion);
    EXPECT_FALSE(IsHeldForOtherThreads(element.GetLock()));
    EXPECT_FALSE(IsHeldForOtherThreads(settingA.GetLock()));
    EXPECT_FALSE(IsHeldForOtherThreads(settingB.GetLock()));
}

// Withdrawn requests are dropped unserved and completed as failed wherever they wait,
// and their caller's buffer is never written; requests queued after it are served.
TEST_F(CommunicatorTest, DropsTheWithdrawnRequestsOfAnElement) {
    struct Case {
        const char* name;
        int passesBeforeWithdrawal;  // 0: still incoming, 1: on the working list
    };

    for (const Case& c : {Case{"incoming", 0}, Case{"on the working list", 1}}) {
        SCOPED_TRACE(c.name);
        Connect();
        sink.finished.clear();
        CDataDescriptor element;
        BYTE reply[16] = {};
        comm.QueueRequest(&element, 0, 2, nullptr, reply);  // command 21, 16 bytes back
        for (int pass = 0; pass < c.passesBeforeWithdrawal; ++pass) {
            comm.RunPass();
        }
        SentCodes();
        element.WithdrawRequests();
        BYTE later[16] = {};
        comm.QueueRequest(&element, 0, 3, nullptr, later);  // command 22, queued afterwards
        comm.RunPass();
        comm.RunPass();
        EXPECT_EQ((std::vector<int>{22}), SentCodes());
        EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 0}, {3, 1}}), sink.finished);
        EXPECT_EQ(0, reply[0]);
        EXPECT_EQ(0x5A, later[0]);
    }
}

TEST_F(CommunicatorTest, FreesQueuedRequestsWithoutCompletionsWhenDestroyed) {
    {
        CCommunicator communicator;
        communicator.SetDataHandler(&sink);
        communicator.QueueRequest(nullptr, 0, 1, nullptr, nullptr);
        communicator.QueueRequest(nullptr, kRequestCyclic, 29, nullptr, nullptr);
    }
    EXPECT_TRUE(sink.finished.empty());
}

TEST_F(CommunicatorTest, RunsAndStopsItsWorkerThread) {
    CScriptedPort ports;
    ports.SetPorts({});
    CCommunicator communicator;
    communicator.SetPort(ports);
    communicator.SetDataHandler(&sink);
    communicator.StartThread();
    EXPECT_EQ(1, communicator.StopThread());
    ASSERT_FALSE(sink.statuses.empty());
    EXPECT_EQ((Status{0, 0}), sink.statuses[0]);
}

namespace {

// Holds the worker inside its port scan until released, as a port call that never
// returns would.
class CStallingPorts : public CScriptedPort {
public:
    void ListPorts(std::vector<int>& ports) override {
        m_scans.AddAndHold();
        ports.clear();
    }

    bool WaitForScans(int count) { return m_scans.WaitFor(count); }

    int Scans() { return m_scans.Value(); }

    void Release() { m_scans.Release(); }

private:
    CWaitableCount m_scans;
};

}  // namespace

// Where a kill cannot end the worker, a start neither waits for it without end nor runs a
// second worker on the same object; once the old one has ended, a start runs a new one.
TEST_F(CommunicatorTest, AStartGivesUpOnAnOldWorkerThatDoesNotEnd) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows ends the worker where it stands.";
#endif
    CStallingPorts ports;
    CCommunicator communicator;
    communicator.SetPort(ports);
    communicator.SetDataHandler(&sink);
    communicator.StartThread();
    ASSERT_TRUE(ports.WaitForScans(1));
    EXPECT_EQ(1, communicator.KillThread());
    std::future<void> starting =
        std::async(std::launch::async, [&communicator] { communicator.StartThread(); });
    const auto bound = std::chrono::milliseconds(CCommunicator::kStopWaitMs) + std::chrono::seconds(10);
    EXPECT_EQ(starting.wait_for(bound), std::future_status::ready) << "the start waits without end";
    EXPECT_EQ(1, ports.Scans());
    ports.Release();
    starting.wait();
    EXPECT_EQ(1, communicator.StopThread());
    communicator.StartThread();
    EXPECT_TRUE(ports.WaitForScans(2));
    EXPECT_EQ(1, communicator.StopThread());
}

namespace {

// Stands still in its first report of no link, as a data handler that never returns
// would; records the other reports, which come from either thread.
class CStuckSink : public ICommunicatorSink {
public:
    void DataHandler(int status, int) override {
        if (status == kStatusNotConnected && !m_stuck.exchange(true)) {
            m_entered.SetEvent();
            m_never.Lock();
            return;
        }
        std::lock_guard<std::mutex> guard(m_lock);
        m_statuses.push_back(status);
        m_changed.notify_all();
    }

    void OnTaskFinished(CommRequest*, int) override {}

    bool OnLiveCycleEnd() override { return true; }

    std::vector<CDataDescriptor*> GetSettingDescriptors() override { return {}; }

    bool WaitUntilStuck() { return m_entered.Lock(10000) != FALSE; }

    // Waits until the recorded reports begin with these.
    bool WaitForStatuses(const std::vector<int>& statuses) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::seconds(10), [&] {
            return m_statuses.size() >= statuses.size() &&
                   std::equal(statuses.begin(), statuses.end(), m_statuses.begin());
        });
    }

private:
    std::atomic<bool> m_stuck{false};
    CEvent m_entered;
    CEvent m_never;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<int> m_statuses;  // guarded by m_lock
};

}  // namespace

// The worker is killed inside a call to the data handler: the kill's report of no link
// and the next start reach the data handler all the same.
TEST(CommunicatorKill, AWorkerKilledInsideTheDataHandlerLeavesItFree) {
#ifndef _WIN32
    GTEST_SKIP() << "Only Windows ends the worker where it stands.";
#endif
    CScriptedPort ports;
    ports.SetPorts({});
    CStuckSink sink;
    CCommunicator communicator;
    communicator.SetPort(ports);
    communicator.SetDataHandler(&sink);
    communicator.StartThread();
    ASSERT_TRUE(sink.WaitUntilStuck());
    std::future<int> killing =
        std::async(std::launch::async, [&communicator] { return communicator.KillThread(); });
    ASSERT_EQ(killing.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "the kill waits without end";
    EXPECT_EQ(0, killing.get());
    communicator.StartThread();
    // The first start's, the kill's, the second start's, then the new worker's scan.
    EXPECT_TRUE(sink.WaitForStatuses({kStatusNone, kStatusNone, kStatusNone, kStatusNotConnected}));
    EXPECT_EQ(1, communicator.StopThread());
}

// The worker is held in its port scan when the communicator goes: the destruction returns
// after its bound, and the worker, released later, ends on the state it kept without
// reaching the data handler, which has gone meanwhile (the sanitizers see any such call).
TEST(CommunicatorShutdown, GivesUpOnAWorkerThatDoesNotEnd) {
    constexpr DWORD kStopWaitMs = 200;
    // The worker may use the port until its thread ends, past this test's scope.
    static CStallingPorts& ports = *new CStallingPorts();
    auto sink = std::make_unique<CRecordingSink>();
    auto communicator = std::make_unique<CCommunicator>(kStopWaitMs);
    communicator->SetPort(ports);
    communicator->SetDataHandler(sink.get());
    communicator->StartThread();
    ASSERT_TRUE(ports.WaitForScans(1));
    std::future<void> destroying = std::async(std::launch::async, [&communicator] { communicator.reset(); });
    const bool destroyed = destroying.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    EXPECT_TRUE(destroyed) << "the destruction waits without end";
    if (destroyed) {
        sink.reset();
    }
    ports.Release();
    destroying.wait();
}

namespace {

// Counts the writes, which the worker makes on its own thread, and lets the test wait for them.
class CCountingWritesPort : public CScriptedPort {
public:
    DWORD Write(const void* buffer, DWORD count) override {
        m_writes.Add();
        return CScriptedPort::Write(buffer, count);
    }

    bool WaitForWrites(int count) { return m_writes.WaitFor(count); }

    int Writes() { return m_writes.Value(); }

private:
    CWaitableCount m_writes;
};

}  // namespace

TEST(CommunicatorShutdown, WritesThePendingRepeatCountsWhenTheWorkerEnds) {
    CLogCapture log;
    CCountingWritesPort ports;
    ports.SetPorts({9});
    ports.FailWritingOn(9);
    CCommunicator communicator;
    communicator.SetPort(ports);
    communicator.StartThread();
    ASSERT_TRUE(ports.WaitForWrites(3));
    ASSERT_EQ(1, communicator.StopThread());
    const int writes = ports.Writes();
    ASSERT_GE(writes, 3);
    const std::string line = "CFrameExchange: writing the frame failed: serial port error 31.";
    EXPECT_EQ(
        log.MessagesStartingWith("CFrameExchange:"),
        (std::vector<std::string>{line, line + " Repeated " + std::to_string(writes - 1) + " times."}));
}
