// The communicator under Wine with the real serial port: the scan past two silent
// ports to the simulated unit, service and polls on the wire, loss and return of the
// unit, version answers, failures that close the port with their interrupted.log
// block, and the watchdog with the kill of a worker stuck in an exchange.
#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CSingleLock.h"
#include "link/CCommunicator.h"
#include "link/CDataDescriptor.h"
#include "link/CLogger.h"
#include "link/CRepeatedLines.h"
#include "link/CSerialPort.h"
#include "link/CSystemClock.h"
#include "link/CWatchDog.h"
#include "link/ExchangeResult.h"
#include "tests/link/CBlockingPort.h"
#include "tests/link/CCountingWindow.h"
#include "tests/link/CStatusRecorder.h"
#include "tests/link/CUnitSim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

// Scans of up to three ports with silent pings take well under this.
constexpr DWORD kConnectTimeoutMs = 15000;
constexpr DWORD kServeTimeoutMs = 5000;
const std::string kPingLine = "RX AA 01 1E 01 B4";
const std::string kSeparator = "----====****====----";

void SleepMs(DWORD ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Milliseconds on a steady clock.
long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The RX lines of the transcript from line `from` on.
std::vector<std::string> RequestsSince(std::size_t from) {
    const std::vector<std::string> lines = CUnitSim::Transcript();
    std::vector<std::string> requests;
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].compare(0, 3, "RX ") == 0) {
            requests.push_back(lines[i]);
        }
    }
    return requests;
}

// Waits, at most limitMs, until the unit has received the request at least count times
// since the transcript's line from.
bool WaitForRequests(std::size_t from, const std::string& request, long count, long long limitMs) {
    const long long start = NowMs();
    for (;;) {
        const std::vector<std::string> requests = RequestsSince(from);
        if (std::count(requests.begin(), requests.end(), request) >= count) {
            return true;
        }
        if (NowMs() - start > limitMs) {
            return false;
        }
        SleepMs(20);
    }
}

// Whether a thread other than the caller would have to wait for the lock.
bool IsHeldForOtherThreads(CCriticalSection& lock) {
    bool taken = false;
    std::thread other([&] {
        taken = lock.Lock(500) != FALSE;
        if (taken) {
            lock.Unlock();
        }
    });
    other.join();
    return !taken;
}

// Log lines of the process-wide logger, kept for the test to search.
class CLineStore {
public:
    void Add(const std::string& line) {
        CSingleLock guard(&m_lock, TRUE);
        m_lines.push_back(line);
    }

    std::size_t CountContaining(const std::string& part) {
        CSingleLock guard(&m_lock, TRUE);
        return static_cast<std::size_t>(
            std::count_if(m_lines.begin(), m_lines.end(),
                          [&](const std::string& l) { return l.find(part) != std::string::npos; }));
    }

private:
    CCriticalSection m_lock;
    std::vector<std::string> m_lines;
};

class CStoringPipe : public ILogPipe {
public:
    explicit CStoringPipe(std::shared_ptr<CLineStore> store) : m_store(std::move(store)) {}

    bool Write(const std::string& text) override {
        m_store->Add(text);
        return true;
    }

    void Close() override {}

private:
    std::shared_ptr<CLineStore> m_store;
};

class CommunicatorOnComPorts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(0, CUnitSim::Port()) << "run through tests/link/with-link-units";
        for (const char* line :
             {"clear-faults", "echo off", "mode normal", "version 1.30", "loader-version 1.10"}) {
            Control(line);
        }
        m_logPath = ::testing::TempDir() + "zarvo-link-interrupted.log";
        std::remove(m_logPath.c_str());
        m_logs = std::make_shared<CLineStore>();
        CLogger& logger = CLogger::Instance();
        logger.SetPipeFactory(
            [store = m_logs](const std::string&) { return std::make_unique<CStoringPipe>(store); });
        logger.Configure(3, "MERIVAN", "zylmor_merivan", ".");
    }

    void TearDown() override {
        Stop();
        std::remove(m_logPath.c_str());
    }

    void Control(const std::string& line) {
        std::string error;
        ASSERT_TRUE(CUnitSim::SendControl(line, error)) << error;
    }

    void Start(IPort* port = nullptr) {
        m_comm = std::make_unique<CCommunicator>();
        if (port != nullptr) {
            m_comm->SetPort(*port);
        }
        m_comm->SetDataHandler(&m_sink);
        m_comm->SetInterruptedLogPath(m_logPath);
        m_comm->StartThread();
    }

    void Stop() {
        if (m_comm && m_comm->StopThread() == 0) {
            ADD_FAILURE() << "the worker did not stop in time";
            m_comm->KillThread();
        }
        m_comm.reset();
    }

    void Connect(IPort* port = nullptr) {
        Start(port);
        ASSERT_TRUE(m_sink.WaitForStatus(kStatusConnected, CUnitSim::Port(), kConnectTimeoutMs));
    }

    CStatusRecorder m_sink;
    std::unique_ptr<CCommunicator> m_comm;
    std::string m_logPath;
    std::shared_ptr<CLineStore> m_logs;
};

}  // namespace

TEST_F(CommunicatorOnComPorts, FindsTheUnitBehindTwoSilentPortsServesInOrderPollsAndReconnects) {
    const int unit = CUnitSim::Port();
    const std::vector<int> silent = CUnitSim::SilentPorts();
    ASSERT_EQ(2u, silent.size());
    std::vector<int> listed;
    EnumerateComPorts(listed);
    const auto position = [&](int port) {
        return std::find(listed.begin(), listed.end(), port) - listed.begin();
    };
    EXPECT_LT(position(silent[0]), position(silent[1]));
    EXPECT_LT(position(silent[1]), position(unit));
    ASSERT_LT(position(unit), static_cast<long>(listed.size())) << "the unit's port is not listed";

    ASSERT_NO_FATAL_FAILURE(Connect());
    for (const CStatusRecorder::Status& s : m_sink.Statuses()) {
        EXPECT_TRUE(s.port == 0 || s.port == unit) << "status " << s.status << " at COM" << s.port;
    }

    const std::size_t mark = CUnitSim::Transcript().size();
    BYTE live[44] = {};
    const BYTE fuel = 0xAA;
    const BYTE text[] = {3, 'A', 'T', '\r'};
    const BYTE adaptation = 0xFF;
    // The poll goes last: the running worker may take the queue between any two of these
    // calls, and a poll taken alone would be served before the one-shot requests. The
    // reordering of a pass that holds both is checked against the fake port.
    ASSERT_TRUE(m_comm->QueueRequest(nullptr, 0, 8, &fuel, nullptr));               // command 25
    ASSERT_TRUE(m_comm->QueueRequest(nullptr, 0, 37, text, nullptr));               // command 16, counted
    ASSERT_TRUE(m_comm->QueueRequest(nullptr, 0, 38, &adaptation, nullptr));        // command 18
    ASSERT_TRUE(m_comm->QueueRequest(nullptr, kRequestCyclic, 29, nullptr, live));  // command 50
    ASSERT_TRUE(m_sink.WaitForFinished(3, kServeTimeoutMs));
    EXPECT_EQ((std::vector<std::pair<int, int>>{{8, 1}, {37, 1}, {38, 1}}), m_sink.Finished());
    const std::string poll = CUnitSim::FrameLine("RX", {0xAA, 50});
    ASSERT_TRUE(WaitForRequests(mark, poll, 5, kServeTimeoutMs)) << "the unit is not polled";
    std::vector<std::string> requests = RequestsSince(mark);
    requests.erase(std::remove(requests.begin(), requests.end(), kPingLine), requests.end());
    ASSERT_GE(requests.size(), 5u);
    EXPECT_EQ(CUnitSim::FrameLine("RX", {0xAA, 25, 0xAA}), requests[0]);
    EXPECT_EQ(CUnitSim::FrameLine("RX", {0xAA, 16, 3, 'A', 'T', '\r'}), requests[1]);
    EXPECT_EQ(CUnitSim::FrameLine("RX", {0xAA, 18, 0xFF}), requests[2]);
    for (std::size_t i = 3; i < requests.size(); ++i) {
        EXPECT_EQ(poll, requests[i]) << "request " << i;
    }
    // From the pass after the one-shot requests on, every pass is one ping and one poll.
    std::vector<std::string> wire = RequestsSince(mark);
    const auto lastRequest = std::find(wire.begin(), wire.end(), requests[2]);
    ASSERT_NE(wire.end(), lastRequest);
    const auto nextPing = std::find(lastRequest, wire.end(), kPingLine);
    int passes = 0;
    for (auto it = nextPing; it + 1 < wire.end(); it += 2, ++passes) {
        ASSERT_EQ(kPingLine, *it);
        ASSERT_EQ(poll, *(it + 1));
    }
    EXPECT_GE(passes, 3);

    const std::size_t beforeUnplug = m_sink.Statuses().size();
    const long long unplugged = NowMs();
    Control("unplug");
    ASSERT_TRUE(m_sink.WaitForStatus(kStatusNotConnected, CStatusRecorder::kAnyPort, 5000, beforeUnplug));
    EXPECT_LE(NowMs() - unplugged, 5000);
    const std::size_t beforeReplug = m_sink.Statuses().size();
    Control("replug");
    EXPECT_TRUE(m_sink.WaitForStatus(kStatusConnected, unit, kConnectTimeoutMs, beforeReplug));
}

TEST_F(CommunicatorOnComPorts, DecidesTheStatusFromTheUnitsVersion) {
    struct Case {
        const char* name;
        std::vector<const char*> control;
        int status;
        int ping;
        const char* trace;
    } cases[] = {
        {"normal 1.30", {"version 1.30"}, kStatusConnected, kPingConnected, nullptr},
        {"normal 1.39", {"version 1.39"}, kStatusConnected, kPingConnected, nullptr},
        {"normal 1.40",
         {"version 1.40"},
         kStatusIncompatible,
         kPingIncompatible,
         "Ping(): Incompatible Version: 1.40"},
        // A loader without a valid application stays a loader; an idle one would be told to leave.
        {"loader 1.10",
         {"loader-version 1.10", "mode loader", "loader-state 5"},
         kStatusUpdateMode,
         kPingUpdateMode,
         nullptr},
        {"loader 1.20",
         {"loader-version 1.20", "mode loader"},
         kStatusIncompatibleUpdate,
         kPingIncompatibleUpdate,
         "Ping(): Incompatible Version (update): 1.20"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* line : c.control) {
            Control(line);
        }
        const std::size_t from = m_sink.Statuses().size();
        Start();
        EXPECT_TRUE(m_sink.WaitForStatus(c.status, CUnitSim::Port(), kConnectTimeoutMs, from));
        Stop();

        // The same ping by hand, for the line the trace gets.
        CSerialPort port;
        port.Open(CUnitSim::Port(), 9600, kParityNone, 8, kStopBitsOne, kFlowNone, false);
        port.SetTimeouts(kNormalTimeouts);
        CCommTrace trace(CSystemClock::Instance());
        CRepeatedLines failures(2000);
        CFrameExchange exchange(port, CSystemClock::Instance(), trace, failures);
        EXPECT_EQ(c.ping, exchange.Ping(kSenderIdNormal));
        if (c.trace != nullptr) {
            ASSERT_FALSE(trace.IsEmpty());
            EXPECT_NE(std::string::npos, trace.Lines().back().find(c.trace)) << trace.Lines().back();
        }
        Control("mode normal");
        Control("version 1.30");
    }
}

TEST_F(CommunicatorOnComPorts, ReportsAJammedPassWhenRepeatsOutnumberExchanges) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Control("fault bad-checksum cmd 20 times 3");
    const std::size_t from = m_sink.Statuses().size();
    BYTE reply[2] = {};
    ASSERT_TRUE(m_comm->QueueRequest(nullptr, 0, 1, nullptr, reply));  // command 20
    ASSERT_TRUE(m_sink.WaitForFinished(1, kServeTimeoutMs));
    EXPECT_EQ((std::pair<int, int>{1, 1}), m_sink.Finished()[0]);
    ASSERT_TRUE(m_sink.WaitForStatus(kStatusJammed, CUnitSim::Port(), kServeTimeoutMs, from));
    // Only that pass: the next one is connected again.
    const std::vector<CStatusRecorder::Status> statuses = m_sink.Statuses();
    std::size_t jammed = from;
    while (statuses[jammed].status != kStatusJammed) {
        ++jammed;
    }
    EXPECT_TRUE(m_sink.WaitForStatus(kStatusConnected, CUnitSim::Port(), kServeTimeoutMs, jammed + 1));
}

TEST_F(CommunicatorOnComPorts, ClosesThePortAfterSeventeenFailuresAndTrimsInterruptedLog) {
    // Earlier blocks that fill the log to just under its limit; the new block passes it.
    std::string earlier;
    for (int block = 0; earlier.size() < 0x100000 - 200; ++block) {
        earlier +=
            kSeparator + "\n\nearlier block " + std::to_string(block) + std::string(1000, '.') + "\n\n\n";
    }
    earlier.resize(0x100000 - 200);
    {
        std::ofstream file(m_logPath, std::ios::binary);
        file << earlier;
    }
    ASSERT_NO_FATAL_FAILURE(Connect());
    Control("fault error cmd 20 times 17");
    const std::size_t from = m_sink.Statuses().size();
    BYTE reply[2] = {};
    ASSERT_TRUE(m_comm->QueueRequest(nullptr, 0, 1, nullptr, reply));
    ASSERT_TRUE(m_sink.WaitForStatus(kStatusNotConnected, CStatusRecorder::kAnyPort, kServeTimeoutMs, from));
    ASSERT_TRUE(m_sink.WaitForFinished(1, kServeTimeoutMs));
    EXPECT_EQ((std::pair<int, int>{1, 0}), m_sink.Finished()[0]);
    EXPECT_TRUE(m_sink.WaitForStatus(kStatusConnected, CUnitSim::Port(), kConnectTimeoutMs, from));

    const std::string log = ReadFile(m_logPath);
    EXPECT_LE(log.size(), 0x100000u);
    EXPECT_EQ(0u, log.find(kSeparator + "\n\n"));
    EXPECT_EQ(std::string::npos, log.find("earlier block 0.")) << "the oldest block was kept";
    const std::size_t newest = log.rfind(kSeparator);
    ASSERT_NE(std::string::npos, newest);
    const std::string block = log.substr(newest);
    EXPECT_EQ(17u, CountOf(block, "] Tx: 'AA 14 BE'\n"));
    EXPECT_EQ(17u, CountOf(block, "] Rx (-25): '55 E7 B2'\n"));
    EXPECT_EQ(block.size() - 2, block.rfind("\n\n"));
}

TEST_F(CommunicatorOnComPorts, WatchdogReportsAWorkerStuckInAnExchangeOnceAndKillReleasesItsLocks) {
    CBlockingPort port;
    CCountingWindow window;
    CWatchDog watchDog;
    watchDog.SetMainWindow(&window);
    ASSERT_NO_FATAL_FAILURE(Connect(&port));
    m_comm->SetWatchDog(&watchDog);
    watchDog.StartThread(m_comm.get());
    SleepMs(CWatchDog::kTimeoutMs + 500);
    EXPECT_EQ(0, window.DeadMessages()) << "the watchdog fired while heartbeats came";

    CDataDescriptor element;
    BYTE reply[2] = {};
    port.BlockAfterCommand(20);
    ASSERT_TRUE(m_comm->QueueRequest(&element, 0, 1, nullptr, reply));
    ASSERT_TRUE(port.WaitUntilBlocked(kServeTimeoutMs));
    const long long blocked = NowMs();
    EXPECT_TRUE(IsHeldForOtherThreads(element.GetLock()));
    EXPECT_TRUE(window.WaitForDeadMessages(1));
    EXPECT_GE(NowMs() - blocked, CWatchDog::kTimeoutMs - 200);
    SleepMs(1000);
    EXPECT_EQ(1, window.DeadMessages());
    EXPECT_EQ(1u, m_logs->CountContaining(",100,"));
    EXPECT_EQ(1u, m_logs->CountContaining("WatchDogThread: communicator thread is dead."));

    const std::size_t from = m_sink.Statuses().size();
    EXPECT_EQ(0, m_comm->KillThread());
    EXPECT_FALSE(IsHeldForOtherThreads(element.GetLock()));
    EXPECT_TRUE(m_sink.WaitForStatus(kStatusNone, 0, 0, from));
    EXPECT_EQ(1u, m_logs->CountContaining("CCommunicator::KillThread(): done."));
    port.Release();

    // As the main dialog does on 0x700: a new worker, which the watchdog watches again.
    const std::size_t beforeRestart = m_sink.Statuses().size();
    m_comm->StartThread();
    EXPECT_TRUE(m_sink.WaitForStatus(kStatusConnected, CUnitSim::Port(), kConnectTimeoutMs, beforeRestart));
    Stop();
    watchDog.StopThread();
    EXPECT_EQ(1, window.DeadMessages());
}
