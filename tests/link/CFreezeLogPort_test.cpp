// The replay port: parsing of recordings, answers in turn, the default ping answer
// and the delays it imitates.
#include "link/CFreezeLogPort.h"

#include "link/CCommunicator.h"
#include "link/ExchangeResult.h"
#include "link/ICommunicatorSink.h"
#include "tests/link/CFakeClock.h"

#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

std::string WriteRecording(const char* name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

Bytes ReadAll(CFreezeLogPort& port) {
    Bytes out;
    BYTE b = 0;
    while (port.Read(&b, 1) == 1) {
        out.push_back(b);
    }
    return out;
}

}  // namespace

TEST(CFreezeLogPort, ParsesHexGroupsMostSignificantFirst) {
    struct Case {
        const char* line;
        Bytes expected;
    } cases[] = {
        {"AA 14 be", {0xAA, 0x14, 0xBE}},
        {"AA14BE", {0xAA, 0x14, 0xBE}},
        {"abc", {0x0A, 0xBC}},
        {"Rx: '55 94'", {0x55, 0x94}},
        {"0102030405", {0x01, 0x02, 0x03, 0x04, 0x05}},
        {"", {}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.expected, CFreezeLogPort::ParseHexLine(c.line));
    }
}

TEST(CFreezeLogPort, AnswersARecordedRequestWithItsAnswersInTurn) {
    CFakeClock clock;
    const std::string path = WriteRecording("freeze_turns.log",
                                            "Request:\nAA 14 BE\nAnswer:\n55 94 01 C0\n"
                                            "Request:\nAA 14 BE\nAnswer:\n55 94 02 C3\n");
    CFreezeLogPort port(path, clock);
    const BYTE request[] = {0xAA, 0x14, 0xBE};
    const Bytes x{0x55, 0x94, 0x01, 0xC0};
    const Bytes y{0x55, 0x94, 0x02, 0xC3};
    for (const Bytes& expected : {x, y, x}) {
        EXPECT_EQ(3u, port.Write(request, 3));
        EXPECT_EQ(expected, ReadAll(port));
    }
    std::remove(path.c_str());
}

TEST(CFreezeLogPort, AnswersUnknownRequestsWithAPingAnswerAndSleepsLikeTheLine) {
    CFakeClock clock;
    CFreezeLogPort port(::testing::TempDir() + "no-freeze.log", clock);
    std::vector<int> ports;
    port.ListPorts(ports);
    EXPECT_EQ((std::vector<int>{1, 3}), ports);
    const BYTE ping[] = {0xAA, 0x01, 0x1E, 0x01, 0xB4};
    const DWORD before = clock.TotalSleptMs();
    port.Write(ping, 5);
    EXPECT_EQ(41u, clock.TotalSleptMs() - before);
    BYTE b = 0;
    port.Read(&b, 1);
    EXPECT_EQ(41u, clock.TotalSleptMs() - before);
    EXPECT_EQ(0x55, b);
}

TEST(CFreezeLogPort, LetsTheCommunicatorFindAUnitOnPortOne) {
    struct Sink : ICommunicatorSink {
        void DataHandler(int status, int port) override { last = {status, port}; }

        void OnTaskFinished(CommRequest*, int) override {}

        bool OnLiveCycleEnd() override { return true; }

        std::vector<CDataDescriptor*> GetSettingDescriptors() override { return {}; }

        std::pair<int, int> last{-1, -1};
    } sink;

    CFakeClock clock;
    CFreezeLogPort port(::testing::TempDir() + "no-freeze.log", clock);
    CCommunicator comm;
    comm.SetPort(port);
    comm.SetClock(clock);
    comm.SetDataHandler(&sink);
    comm.BeginPasses();
    comm.RunPass();
    EXPECT_EQ((std::pair<int, int>{kStatusConnected, 1}), sink.last);
}
