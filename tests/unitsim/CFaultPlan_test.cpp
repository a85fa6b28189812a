// Faults of the simulated unit: each kind as it reaches the line, which
// requests a rule picks, and whether the spoiled request was carried out.
#include "tools/unitsim/CFaultPlan.h"

#include "tests/unitsim/CUnitRequester.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kPingReply = {0x55, 0x81, 0x1E, 0x01, 0xCB};

FaultRule Rule(FaultKind kind, int command = FaultRule::kAnyCommand, int skip = 0, int times = 1) {
    FaultRule rule;
    rule.kind = kind;
    rule.command = command;
    rule.skip = skip;
    rule.times = times;
    return rule;
}

std::vector<ReplyPiece> PlannedPing(CUnitRequester& unit) {
    const Bytes ping = CUnitRequester::Frame(0xAA, 1, {0x1E, 0x01});
    return unit.engine.FeedPlanned(ping.data(), ping.size());
}

}  // namespace

TEST(CFaultPlan, SpoilsTheAnswerAsEachKindSays) {
    struct Case {
        const char* name;
        FaultRule rule;
        std::vector<ReplyPiece> expected;
    };

    FaultRule late = Rule(FaultKind::Late);
    late.delayMs = 250;
    FaultRule gap = Rule(FaultKind::Gap);
    gap.delayMs = 210;
    FaultRule error = Rule(FaultKind::ErrorCode);
    error.code = 0xE3;
    FaultRule truncated = Rule(FaultKind::Truncated);
    truncated.keepBytes = 4;
    const Case cases[] = {
        {"silence", Rule(FaultKind::Silence), {}},
        {"late", late, {{250, kPingReply}}},
        {"gap", gap, {{0, {0x55}}, {210, {0x81}}, {210, {0x1E}}, {210, {0x01}}, {210, {0xCB}}}},
        {"wrong id", Rule(FaultKind::WrongId), {{0, {0x66, 0x81, 0x1E, 0x01, 0xF8}}}},
        {"bad checksum", Rule(FaultKind::BadChecksum), {{0, {0x55, 0x81, 0x1E, 0x01, 0x34}}}},
        {"error code", error, {{0, {0x55, 0xE3, 0xB6}}}},
        {"truncated", truncated, {{0, {0x55, 0x81, 0x1E, 0x01}}}},
        {"truncated by default to half", Rule(FaultKind::Truncated), {{0, {0x55, 0x81}}}},
        {"oversize of a fixed answer", Rule(FaultKind::Oversize), {{0, kPingReply}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        CUnitRequester unit;
        unit.engine.AddFault(row.rule);
        const std::vector<ReplyPiece> pieces = PlannedPing(unit);
        ASSERT_EQ(pieces.size(), row.expected.size());
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].delayMs, row.expected[i].delayMs);
            EXPECT_EQ(pieces[i].bytes, row.expected[i].bytes);
        }
        // One time only: the next ping is answered normally.
        EXPECT_EQ(unit.Exchange(1, {0x1E, 0x01}), kPingReply);
    }
}

TEST(CFaultPlan, OversizeClaimsTheLargestCountAndSendsItAll) {
    CUnitRequester unit;
    unit.engine.AddFault(Rule(FaultKind::Oversize, 40));
    const Bytes reply = unit.Exchange(40);
    ASSERT_EQ(reply.size(), 3u + 1 + 255 * 2);
    EXPECT_EQ(reply[0], 0x55);
    EXPECT_EQ(reply[1], 0xA8);
    EXPECT_EQ(reply[2], 0xFF);
    EXPECT_EQ(reply, CUnitRequester::Frame(0x55, 0xA8, Bytes(reply.begin() + 2, reply.end() - 1)));
}

TEST(CFaultPlan, PicksRequestsByCommandAfterSomePassAndForSomeTimes) {
    struct Case {
        const char* name;
        FaultRule rule;
        const char* spoiled;  // per ping of six: '.' answered, 'x' silent
    };

    const Case cases[] = {
        {"first request", Rule(FaultKind::Silence), "x....."},
        {"third request", Rule(FaultKind::Silence, FaultRule::kAnyCommand, 2), "..x..."},
        {"two after one", Rule(FaultKind::Silence, 1, 1, 2), ".xx..."},
        {"always", Rule(FaultKind::Silence, 1, 0, FaultRule::kAlways), "xxxxxx"},
        {"another command", Rule(FaultKind::Silence, 24), "......"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        CUnitRequester unit;
        unit.engine.AddFault(row.rule);
        std::string seen;
        for (int i = 0; i < 6; ++i) {
            seen += unit.Exchange(1, {0x1E, 0x01}).empty() ? 'x' : '.';
        }
        EXPECT_EQ(seen, row.spoiled);
    }
}

TEST(CFaultPlan, KeepsSilencedAndRefusedRequestsFromTheUnitButCarriesOutTheOthers) {
    struct Case {
        FaultKind kind;
        bool carriedOut;
    };

    const Case cases[] = {{FaultKind::Silence, false},    {FaultKind::ErrorCode, false},
                          {FaultKind::BadChecksum, true}, {FaultKind::Late, true},
                          {FaultKind::Truncated, true},   {FaultKind::WrongId, true}};
    for (const Case& row : cases) {
        SCOPED_TRACE(CFaultPlan::KindName(row.kind));
        CUnitRequester unit;
        unit.engine.AddFault(Rule(row.kind, 68));
        unit.Exchange(68, {0x10});
        EXPECT_EQ(unit.Ask(46), (Bytes{static_cast<uint8_t>(row.carriedOut ? 0x10 : 0x02)}));
    }
}

TEST(CFaultPlan, FaultsShowInTheTranscriptBeforeTheFrameSent) {
    CUnitRequester unit;
    FaultRule late = Rule(FaultKind::Late);
    unit.engine.AddFault(late);
    unit.engine.AddFault(Rule(FaultKind::Silence));
    unit.Exchange(1, {0x1E, 0x01});
    unit.Exchange(1, {0x1E, 0x01});
    const std::vector<std::string> expected = {
        "RX AA 01 1E 01 B4", "# fault late 300 ms", "TX 55 81 1E 01 CB",
        "RX AA 01 1E 01 B4", "# fault silence",
    };
    EXPECT_EQ(unit.transcript.Lines(), expected);
}
