// The simulated unit's application answering from its memory: writes that show
// in later reads, the table banks, the event-log chain and trouble-code logs,
// the unit's own status changes, refused commands, patches and OBD-II text.
#include "tools/unitsim/CUnitApplication.h"

#include "tests/unitsim/CUnitRequester.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Sequence(std::size_t count, uint8_t first) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
    }
    return bytes;
}

Bytes Append(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

TEST(CUnitApplication, ShowsWhatWasWrittenInTheNextRead) {
    struct Case {
        const char* name;
        uint8_t writeCode;
        Bytes writeData;
        uint8_t readCode;
        Bytes readData;
        Bytes expected;
    };

    const Case cases[] = {
        {"settings", 60, Sequence(35, 1), 30, {}, Sequence(35, 1)},
        {"sensor types", 61, {5, 0, 255, 0}, 31, {}, {5, 0, 255, 0}},
        {"base percent", 68, {0xF6}, 46, {}, {0xF6}},
        {"event action", 83, {17, 0xAA}, 82, {17}, {0xAA}},
        {"phase", 34, Append({3}, Sequence(14, 0x40)), 33, {3}, Sequence(14, 0x40)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        CUnitRequester unit;
        EXPECT_NE(unit.Ask(row.readCode, row.readData), row.expected);
        unit.Tell(row.writeCode, row.writeData);
        EXPECT_EQ(unit.Ask(row.readCode, row.readData), row.expected);
    }
}

TEST(CUnitApplication, AnswersTheShortFormsWithTheStartOfTheLongBlocks) {
    struct Case {
        uint8_t longCode;
        uint8_t shortCode;
        std::size_t longSize;
        std::size_t shortSize;
    };

    const Case cases[] = {{2, 32, 60, 44}, {52, 51, 26, 22}, {47, 48, 16, 10}};
    for (const Case& row : cases) {
        SCOPED_TRACE(int(row.longCode));
        CUnitRequester unit;
        unit.engine.Application().SetLiveMotion(false);
        const Bytes full = unit.Ask(row.longCode);
        ASSERT_EQ(full.size(), row.longSize);
        EXPECT_EQ(unit.Ask(row.shortCode), Bytes(full.begin(), full.begin() + row.shortSize));
    }
}

TEST(CUnitApplication, IdentityCarriesTheIdentifierAndTheApplicationVersion) {
    CUnitRequester unit;
    unit.engine.SetApplicationVersion({1, 39});
    const Bytes identity = unit.Ask(2);
    ASSERT_EQ(identity.size(), 60u);
    EXPECT_EQ(std::string(identity.begin(), identity.begin() + 16), "SIM1A00000012345");
    EXPECT_EQ(identity[18], 1);
    EXPECT_EQ(identity[19], 39);
}

TEST(CUnitApplication, LiveBlocksMoveWithEveryPollUnlessStopped) {
    CUnitRequester unit;
    const Bytes first = unit.Ask(50);
    const Bytes second = unit.Ask(50);
    ASSERT_EQ(first.size(), 44u);
    const int rpm1 = first[0] | first[1] << 8;
    const int rpm2 = second[0] | second[1] << 8;
    EXPECT_GE(rpm1, 800);
    EXPECT_LE(rpm1, 3000);
    EXPECT_NE(rpm1, rpm2);
    // On gas the gas injection times are shown.
    EXPECT_NE(second[18] | second[19] << 8, 0);

    unit.engine.Application().SetLiveMotion(false);
    const Bytes still = unit.Ask(50);
    EXPECT_EQ(unit.Ask(50), still);
}

TEST(CUnitApplication, ReadsAndWritesTheSelectedTableBank) {
    CUnitRequester unit;
    unit.engine.Memory().Table(2) = CUnitTable::Make(3, 4, 1000, 500, 2000, 1000);
    unit.engine.Memory().Table(2).SetCell(1, 2, 0x7F);
    unit.Tell(19, {2});
    EXPECT_EQ(unit.Ask(40), (Bytes{3, 0xE8, 0x03, 0xDC, 0x05, 0xD0, 0x07}));
    EXPECT_EQ(unit.Ask(41), (Bytes{4, 0xD0, 0x07, 0xB8, 0x0B, 0xA0, 0x0F, 0x88, 0x13}));
    EXPECT_EQ(unit.Ask(42, {2, 0, 2}), (Bytes{0, 0x7F, 0}));
    EXPECT_EQ(unit.Ask(43, {1, 1, 3}), (Bytes{0, 0x7F, 0}));
    EXPECT_EQ(unit.Ask(44, {1, 2}), (Bytes{0x7F}));

    unit.Tell(64, {0, 0, 2, 1, 2, 3});
    unit.Tell(65, {2, 1, 3, 4, 5, 6});
    unit.Tell(66, {0, 3, 9});
    unit.Tell(70);
    EXPECT_EQ(unit.Ask(42, {0, 0, 2}), (Bytes{1, 2, 3}));
    EXPECT_EQ(unit.Ask(43, {2, 0, 3}), (Bytes{3, 4, 5, 6}));
    EXPECT_EQ(unit.Ask(44, {0, 3}), (Bytes{9}));
    // Cells outside the table read as 0; writes there change nothing.
    unit.Tell(66, {7, 7, 1});
    EXPECT_EQ(unit.Ask(42, {3, 2, 4}), (Bytes{6, 0, 0}));

    // Another bank is untouched; clearing the adaptive tables zeroes banks 1-4.
    unit.Tell(19, {0});
    EXPECT_EQ(unit.Ask(40)[0], 16);
    unit.Tell(49);
    unit.Tell(19, {2});
    EXPECT_EQ(unit.Ask(42, {0, 0, 2}), (Bytes{0, 0, 0}));
}

TEST(CUnitApplication, KeepsTroubleCodeLogsAsRecordChainsInTheCells) {
    CUnitRequester unit;
    CUnitTable& stored = unit.engine.Memory().Table(5);
    ASSERT_TRUE(stored.SetRecordLog({{0x0102, 3, 4, true, {0x0171, 0x0300}}, {5, 6, 7, false, {}}}));
    unit.Tell(19, {5});
    ASSERT_EQ(unit.Ask(40)[0], 32);
    const Bytes expected = {0x00, 0x02,                                      // start position
                            0x01, 0x02, 3, 4, 0x82, 0x01, 0x71, 0x03, 0x00,  // MIL on, two codes
                            0x00, 0x05, 6, 7, 0x00,                          // no codes
                            0xFF};
    EXPECT_EQ(unit.Ask(42, {0, 0, static_cast<uint8_t>(expected.size() - 1)}), expected);

    // Deleting all trouble codes writes an empty log over the start of row 0.
    unit.Tell(64, {0, 0, 2, 0, 0, 255});
    EXPECT_EQ(unit.Ask(42, {0, 0, 2}), (Bytes{0, 0, 255}));

    // A log that does not fit is refused in part.
    CUnitTable tiny = CUnitTable::Make(2, 2, 0, 1, 0, 1);
    EXPECT_FALSE(tiny.SetRecordLog({{1, 2, 3, false, {1}}}));
}

TEST(CUnitApplication, SendsTheEventLogAsAChainThatEndsWithAnEmptyRecord) {
    CUnitRequester unit;
    auto& records = unit.engine.Memory().EventRecords();
    records = {{1, 10, 11}, {28, 20}};
    const Bytes chain[] = {{3, 1, 10, 11}, {2, 28, 20}, {0}, {3, 1, 10, 11}};
    for (const Bytes& record : chain) {
        EXPECT_EQ(unit.Ask(81), record);
    }
    // Command 80 starts the chain over.
    unit.Tell(80);
    EXPECT_EQ(unit.Ask(81), (Bytes{3, 1, 10, 11}));

    unit.engine.Application().SetEndlessEventChain(true);
    EXPECT_EQ(unit.Ask(81), (Bytes{2, 28, 20}));
    EXPECT_EQ(unit.Ask(81), (Bytes{3, 1, 10, 11}));

    unit.Tell(84);
    EXPECT_EQ(unit.Ask(81), (Bytes{0}));
}

TEST(CUnitApplication, PlaysTheBusyJobAfterFinalizingAndRestoresTheFinalizedData) {
    CUnitRequester unit;
    const Bytes finalized = unit.Ask(30);
    unit.Tell(76);
    const int jobStates[] = {0, 50, 100, 150, 200, 254, 255, 255};
    for (int state : jobStates) {
        EXPECT_EQ(unit.Ask(24)[3], state);
    }
    unit.Tell(60, Sequence(35, 9));
    unit.Tell(75);
    EXPECT_EQ(unit.Ask(30), finalized);
}

TEST(CUnitApplication, EndsTheLiveCycleInOneStatusReadOnly) {
    CUnitRequester unit;
    EXPECT_EQ(unit.Ask(24)[4], 0);
    unit.engine.Application().PulseLiveCycleEnd();
    EXPECT_EQ(unit.Ask(24)[4], 253);
    EXPECT_EQ(unit.Ask(24)[4], 0);

    unit.engine.Application().StartBusyJob({10, 253});
    EXPECT_EQ(unit.Ask(24)[3], 10);
    EXPECT_EQ(unit.Ask(24)[3], 253);
    EXPECT_EQ(unit.Ask(24)[3], 255);
}

TEST(CUnitApplication, ChangesFuelOverAFewStatusReadsAndFollowsAdaptation) {
    CUnitRequester unit;
    EXPECT_EQ(unit.Ask(24)[0], 255);
    unit.Tell(25, {0});
    const int petrol[] = {85, 85, 0, 0};
    for (int state : petrol) {
        EXPECT_EQ(unit.Ask(24)[0], state);
    }
    unit.Tell(25, {0xBB});
    const int gas[] = {170, 170, 255};
    for (int state : gas) {
        EXPECT_EQ(unit.Ask(24)[0], state);
    }

    EXPECT_EQ(unit.Ask(47)[6] & 0x80, 0x80);
    unit.Tell(18, {0});
    EXPECT_EQ(unit.Ask(47)[6] & 0x80, 0);
}

TEST(CUnitApplication, RefusedCommandsAnswerNotSupportedAndChangeNothing) {
    for (uint8_t code : {19, 52, 47, 33, 90, 2}) {
        SCOPED_TRACE(int(code));
        CUnitRequester unit;
        unit.engine.SetRefused(code, true);
        const Bytes data = code == 19 || code == 33 ? Bytes{1} : Bytes{};
        EXPECT_EQ(unit.Exchange(code, data), CUnitRequester::Frame(0x55, 0xE7, {}));
        EXPECT_EQ(unit.engine.Application().SelectedBank(), 0);
        unit.engine.SetRefused(code, false);
        EXPECT_EQ(unit.Exchange(code, data).at(1), code | 0x80);
    }
    // The short forms stay available beside a refused long one.
    CUnitRequester unit;
    unit.engine.SetRefused(52, true);
    EXPECT_EQ(unit.Ask(51).size(), 22u);
}

TEST(CUnitApplication, RunsAPatchWithBusyPollsAndKeepsTheRecords) {
    CUnitRequester unit;
    unit.engine.Application().SetPatchBusyPolls(2);
    EXPECT_EQ(unit.Ask(91), (Bytes{3}));
    EXPECT_EQ(unit.Ask(90), (Bytes{3}));
    EXPECT_EQ(unit.Ask(90), (Bytes{0}));
    EXPECT_EQ(unit.Ask(94, {6, 1, 1, 2, 5, 0, 20}), (Bytes{3, 1, 1, 0}));
    EXPECT_EQ(unit.Ask(94, {4, 1, 7, 0xAB, 0xCD}), (Bytes{3, 1, 7, 0}));
    EXPECT_EQ(unit.Ask(92), (Bytes{0}));
    EXPECT_EQ(unit.engine.Memory().PatchRecords().at(7), (Bytes{0xAB, 0xCD}));
    EXPECT_EQ(unit.Ask(94, {2, 1, 1}), (Bytes{6, 1, 1, 2, 5, 0, 20}));
    EXPECT_EQ(unit.Ask(94, {2, 1, 0}), (Bytes{6, 1, 0, 0xBE, 0x1F, 0xA8, 0x13}));
    EXPECT_EQ(unit.Ask(94, {2, 1, 32}), (Bytes{6, 1, 32, 0x80, 0, 0, 0}));

    // A failing unit, and one whose answers have the wrong count.
    unit.engine.Application().SetPatchWriteStatus(0x20);
    EXPECT_EQ(unit.Ask(94, {3, 1, 9, 1}), (Bytes{3, 1, 9, 0x20}));
    unit.engine.Application().SetPatchReplyCount(2);
    EXPECT_EQ(unit.Ask(94, {3, 1, 9, 1}), (Bytes{2, 1, 9}));
}

TEST(CUnitApplication, AnswersAnObdTextRequestAfterOneNotReadyPoll) {
    CUnitRequester unit;
    EXPECT_EQ(unit.Ask(17), (Bytes{1, 0}));
    const std::string request = "0100\r";
    unit.Tell(16, Append({static_cast<uint8_t>(request.size())}, Bytes(request.begin(), request.end())));
    EXPECT_EQ(unit.engine.Application().LastObdRequest(), request);
    unit.engine.Application().SetObdReply("NO DATA\r>");
    EXPECT_EQ(unit.Ask(17), (Bytes{1, 0}));
    const std::string reply = "NO DATA\r>";
    EXPECT_EQ(unit.Ask(17), Append({static_cast<uint8_t>(reply.size())}, Bytes(reply.begin(), reply.end())));
    EXPECT_EQ(unit.Ask(17), (Bytes{1, 0}));
}
