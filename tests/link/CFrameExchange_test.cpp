// The frame exchange against a scripted far end: bytes on the wire, result codes,
// repeats-free single exchanges, trace lines and buffer limits.
#include "link/CFrameExchange.h"

#include "link/CRepeatedLines.h"
#include "link/ExchangeResult.h"
#include "link/FrameChecksum.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CScriptedPort.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const std::string kStamp = "[2024-05-06 07:08:09.010] ";

class FrameExchangeTest : public ::testing::Test {
protected:
    FrameExchangeTest() : trace(clock), exchange(port, clock, trace, failures) {
        port.Open(7, 9600, 2, 8, 0, 0, false);
    }

    // Answers every frame with the given bytes.
    void AnswerWith(const Bytes& reply) {
        port.SetResponder([reply](int, const Bytes&) { return reply; });
    }

    FrameRequest Request(WORD code,
                         int requestLength,
                         int replyLength,
                         const Bytes& source,
                         Bytes& destination) {
        FrameRequest r;
        r.code = code;
        r.requestLength = requestLength;
        r.replyLength = replyLength;
        r.source = source.empty() ? nullptr : source.data();
        r.sourceSize = source.size();
        r.destination = destination.empty() ? nullptr : destination.data();
        r.destinationSize = destination.size();
        return r;
    }

    std::string LastTrace() { return trace.Lines().empty() ? std::string() : trace.Lines().back(); }

    CFakeClock clock;
    CScriptedPort port;
    CCommTrace trace;
    CRepeatedLines failures{2000};
    CFrameExchange exchange;
};

}  // namespace

TEST(FrameChecksum, MatchesKnownFrames) {
    const Bytes frames[] = {
        {0xAA, 0x01, 0x1E, 0x01, 0xB4}, {0x55, 0x81, 0x1E, 0x01, 0xCB}, {0x55, 0xE7, 0xB2},
        {0x99, 0x01, 0x0A, 0x01, 0x93}, {0xAA, 0x19, 0xAA, 0x19},
    };
    for (const Bytes& f : frames) {
        SCOPED_TRACE(CCommTrace::FormatBytes(f.data(), static_cast<int>(f.size())));
        EXPECT_TRUE(CheckChecksum(f.data(), static_cast<int>(f.size())));
        Bytes copy = f;
        copy.back() ^= 0x01;
        EXPECT_FALSE(CheckChecksum(copy.data(), static_cast<int>(copy.size())));
        SetChecksum(copy.data(), static_cast<int>(copy.size()));
        EXPECT_EQ(f, copy);
    }
}

TEST_F(FrameExchangeTest, SendsFixedCountedAndEmptyRequestsWithTheirExactBytes) {
    struct Case {
        const char* name;
        WORD code;
        int requestLength;
        Bytes source;
        Bytes expectedFrame;
    } cases[] = {
        {"no data", 20, 0, {}, Frame({0xAA, 20})},
        {"fixed 1 byte", 25, 1, {0xAA, 0x77}, Frame({0xAA, 25, 0xAA})},
        {"counted 3 items of 1", 16, -1, {3, 'a', 'b', 'c', 'x'}, Frame({0xAA, 16, 3, 'a', 'b', 'c'})},
        {"counted empty", 93, -1, {0}, Frame({0xAA, 93, 0})},
        {"composite code keeps its low byte", 0x8029, 4, {1, 2, 3, 4}, Frame({0xAA, 0x29, 1, 2, 3, 4})},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        port.ClearWritten();
        AnswerWith(Frame({0x55, static_cast<BYTE>((c.code & 0xFF) | 0x80)}));
        Bytes none;
        EXPECT_EQ(kResultSuccess,
                  exchange.TransmitReceive(Request(c.code, c.requestLength, 0, c.source, none)));
        ASSERT_EQ(1u, port.Written().size());
        EXPECT_EQ(c.expectedFrame, port.Written()[0].bytes);
    }
}

TEST_F(FrameExchangeTest, CopiesFixedAndCountedReplyDataWithTheCountByte) {
    Bytes destination(16, 0xEE);
    AnswerWith(Frame({0x55, 0xA8, 3, 0x10, 0x01, 0x20, 0x02, 0x30, 0x03}));
    EXPECT_EQ(kResultSuccess, exchange.TransmitReceive(Request(40, 0, -2, {}, destination)));
    EXPECT_EQ((Bytes{3, 0x10, 0x01, 0x20, 0x02, 0x30, 0x03, 0xEE}),
              Bytes(destination.begin(), destination.begin() + 8));
    const Bytes reply = Frame({0x55, 0xA8, 3, 0x10, 0x01, 0x20, 0x02, 0x30, 0x03});
    EXPECT_EQ(kStamp + "Rx: '" + CCommTrace::FormatBytes(reply.data(), 10) + "'\n", LastTrace());

    Bytes two(2);
    AnswerWith(Frame({0x55, 0x81, 0x34, 0x12}));
    EXPECT_EQ(kResultSuccess, exchange.TransmitReceive(Request(1, 0, 2, {}, two)));
    EXPECT_EQ((Bytes{0x34, 0x12}), two);
}

TEST_F(FrameExchangeTest, AcceptsAnEmptyReplyAfterThreeBytes) {
    Bytes none;
    AnswerWith(Frame({0x55, 0x99}));
    EXPECT_EQ(kResultSuccess, exchange.TransmitReceive(Request(25, 1, 0, {1}, none)));
    EXPECT_EQ(kStamp + "Rx: '55 99 CC'\n", LastTrace());
}

TEST_F(FrameExchangeTest, GivesTheResultCodeAndTraceLineOfEachFailure) {
    struct Case {
        const char* name;
        Bytes reply;
        int expected;
        std::string lastTrace;
    } cases[] = {
        {"silent unit", {}, kResultByteTimeout, "Rx Timeouted: ''\n"},
        {"reply cut short", {0x55, 0x94}, kResultByteTimeout, "Rx Timeouted: '55 94'\n"},
        {"wrong answer id", Frame({0x66, 0x94, 0x00}), kResultWrongId, "Rx (5): '66 94 00'\n"},
        {"unit refuses", {0x55, 0xE7, 0xB2}, kResultUnitRefused, "Rx (-25): '55 E7 B2'\n"},
        {"error frame with bad checksum", {0x55, 0xE7, 0x00}, kResultChecksumError, "Rx (6): '55 E7 00'\n"},
        {"bad reply checksum",
         {0x55, 0x94, 0x07, 0x00},
         kResultChecksumError,
         "Rx Checksum Error: '55 94 07 00'\n"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        trace.Clear();
        AnswerWith(c.reply);
        Bytes one(1);
        EXPECT_EQ(c.expected, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
        ASSERT_FALSE(trace.Lines().empty());
        EXPECT_EQ(kStamp + "Tx: 'AA 14 BE'\n", trace.Lines().front());
        EXPECT_EQ(kStamp + c.lastTrace, LastTrace());
    }
}

TEST_F(FrameExchangeTest, TimesOutAfterTheByteTimeoutPolledEverySixMilliseconds) {
    Bytes one(1);
    const DWORD before = clock.NowMs();
    EXPECT_EQ(kResultByteTimeout, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
    const DWORD waited = clock.NowMs() - before;
    EXPECT_GT(waited, 200u);
    EXPECT_LE(waited, 206u);
}

TEST_F(FrameExchangeTest, DrainsTheLineAfterABadHead) {
    Bytes one(1);
    AnswerWith(Bytes{0x55, 0xE7, 0xB2, 1, 2, 3, 4, 5});
    EXPECT_EQ(kResultUnitRefused, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
    // Nothing of the bad reply is left for the next exchange.
    AnswerWith(Frame({0x55, 0x94, 0x42}));
    EXPECT_EQ(kResultSuccess, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
    EXPECT_EQ(0x42, one[0]);
}

TEST_F(FrameExchangeTest, ReportsPortErrorsAsWriteReadAndShortWriteResults) {
    Bytes one(1);
    port.FailNextWrites(1);
    EXPECT_EQ(kResultWriteError, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
    EXPECT_EQ(kStamp + "Tx: Failed\n", LastTrace());
    port.ShortNextWrites(1);
    EXPECT_EQ(kResultShortWrite, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
    EXPECT_EQ(kStamp + "Tx: Failed\n", LastTrace());
    port.FailNextReads(1);
    EXPECT_EQ(kResultReadError, exchange.TransmitReceive(Request(20, 0, 1, {}, one)));
    EXPECT_EQ(kStamp + "Rx Failed: ''\n", LastTrace());
}

TEST_F(FrameExchangeTest, RefusesRequestsAndRepliesTooLargeForTheBuffersOrDestination) {
    Bytes big(300, 1);
    big[0] = 254;  // a counted request of 255 data bytes does not fit a 256-byte frame
    Bytes none;
    EXPECT_EQ(kResultShortWrite, exchange.TransmitReceive(Request(16, -1, 0, big, none)));
    EXPECT_TRUE(port.Written().empty());

    Bytes shortSource{5, 1, 2};  // announces 5 items but holds 2
    EXPECT_EQ(kResultShortWrite, exchange.TransmitReceive(Request(16, -1, 0, shortSource, none)));

    Bytes destination(8);
    Bytes reply{0x55, 0xA8, 200};
    reply.resize(3 + 1 + 400, 0x11);
    AnswerWith(reply);  // 200 two-byte items pass the receive buffer
    EXPECT_EQ(kResultChecksumError, exchange.TransmitReceive(Request(40, 0, -2, {}, destination)));
    EXPECT_EQ(Bytes(8, 0), destination);

    AnswerWith(Frame({0x55, 0xA8, 5, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5}));  // fits the frame, not the destination
    EXPECT_EQ(kResultChecksumError, exchange.TransmitReceive(Request(40, 0, -2, {}, destination)));
    EXPECT_EQ(Bytes(8, 0), destination);
}

TEST_F(FrameExchangeTest, PingsWithTheSenderIdsProtocolByte) {
    AnswerWith(Frame({0x55, 0x81, 0x1E, 0x01}));
    EXPECT_EQ(kPingConnected, exchange.Ping(0xAA));
    EXPECT_EQ((Bytes{0xAA, 0x01, 0x1E, 0x01, 0xB4}), port.Written().back().bytes);
    exchange.Ping(0x99);
    EXPECT_EQ((Bytes{0x99, 0x01, 0x0A, 0x01, 0x93}), port.Written().back().bytes);
}

TEST_F(FrameExchangeTest, JudgesThePingAnswer) {
    struct Case {
        const char* name;
        Bytes reply;
        int expected;
        std::string lastTrace;  // empty: no trace line
    } cases[] = {
        {"1.30", Frame({0x55, 0x81, 30, 1}), kPingConnected, ""},
        {"1.39", Frame({0x55, 0x81, 39, 1}), kPingConnected, ""},
        {"1.30 with the mark bit", Frame({0x55, 0x81, 30 | 0x80, 1}), kPingConnected, ""},
        {"1.40", Frame({0x55, 0x81, 40, 1}), kPingIncompatible, "Ping(): Incompatible Version: 1.40"},
        {"1.29", Frame({0x55, 0x81, 29, 1}), kPingIncompatible, "Ping(): Incompatible Version: 1.29"},
        {"loader 1.10", Frame({0x66, 0x81, 10, 1}), kPingUpdateMode, ""},
        {"loader 1.19", Frame({0x66, 0x81, 19, 1}), kPingUpdateMode, ""},
        {"loader 1.20", Frame({0x66, 0x81, 20, 1}), kPingIncompatibleUpdate,
         "Ping(): Incompatible Version (update): 1.20"},
        {"wrong id", Frame({0x44, 0x81, 30, 1}), kResultWrongId, "Ping(): Wrong ID: 0x44"},
        {"error frame", {0x55, 0xE7, 0xB2}, kResultUnitRefused, "Ping(): Error Code: -25"},
        {"error code 0 is no answer", Frame({0x55, 0x00}), kResultWrongId, "Ping(): Error Code: 0"},
        {"error code 0x10 is no incompatible unit", Frame({0x55, 0x10}), kResultWrongId,
         "Ping(): Error Code: 16"},
        {"error code 0x11 is no incompatible loader", Frame({0x66, 0x11}), kResultWrongId,
         "Ping(): Error Code: 17"},
        {"error code 0x20 is no update mode", Frame({0x66, 0x20}), kResultWrongId, "Ping(): Error Code: 32"},
        {"bad head checksum", {0x55, 0xE7, 0x00}, kResultChecksumError, "Ping(): Checksum Error"},
        {"bad frame checksum", {0x55, 0x81, 30, 1, 0}, kResultChecksumError, "Ping(): Checksum Error"},
        {"silent", {}, kResultByteTimeout, "Ping(): Timeouted"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        trace.Clear();
        port.Open(7, 9600, 2, 8, 0, 0, false);  // nothing left of the last case's reply
        AnswerWith(c.reply);
        EXPECT_EQ(c.expected, exchange.Ping(0xAA));
        if (c.lastTrace.empty()) {
            EXPECT_TRUE(trace.IsEmpty());
        } else {
            EXPECT_EQ(kStamp + c.lastTrace + "\n", LastTrace());
        }
    }
}

TEST_F(FrameExchangeTest, CallsTheHeartbeatOnEveryExchangeAndPing) {
    int beats = 0;
    exchange.SetHeartbeat([&] { ++beats; });
    Bytes none;
    exchange.TransmitReceive(Request(20, 0, 0, {}, none));
    exchange.Ping(0xAA);
    EXPECT_EQ(2, beats);
}
