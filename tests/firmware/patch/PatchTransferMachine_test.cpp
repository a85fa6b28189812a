// The patch transfer's steps against a scripted unit: the requests and packets in order, the
// step count and percentages, busy polling, and every way a run fails.
#include "firmware/PatchTransferMachine.h"

#include "firmware/CFirmwarePatch.h"
#include "tests/firmware/patch/ScriptedPatchUnit.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Machine = PatchTransferMachine;
using Log = std::vector<std::string>;

const char kVersionPacket[] = "P 06 01 01 01 1E 04 05";
const char kDatePacket[] = "P 06 01 02 D9 07 03 11";

CByteArray Bytes(std::initializer_list<BYTE> list) {
    CByteArray bytes;
    for (BYTE b : list) {
        bytes.Add(b);
    }
    return bytes;
}

class PatchTransferMachineTest : public testing::Test {
protected:
    PatchTransferMachineTest() {
        patch.SetVersion(0x011E);
        patch.SetBuild(0x0405);
        patch.SetDate(2009, 3, 17);
    }

    void Run() {
        machine.Start(&patch);
        unit.Run(machine);
    }

    void ExpectFinished(int total) {
        EXPECT_EQ(machine.GetState(), Machine::kFinished);
        EXPECT_EQ(machine.GetResult(), Machine::kResultDone);
        EXPECT_EQ(machine.GetTotal(), total);
        EXPECT_EQ(machine.GetStep(), total);
        EXPECT_EQ(machine.GetProgress(), total);
        EXPECT_EQ(machine.GetPercent(), 100);
        EXPECT_EQ(machine.GetPhase(), Machine::kPhaseWriting);
        EXPECT_EQ(machine.GetStatusText(), Machine::kStatusFinished);
        EXPECT_TRUE(machine.IsCloseEnabled());
    }

    void ExpectFailed(Machine::Result result) {
        EXPECT_EQ(machine.GetState(), Machine::kFailed);
        EXPECT_EQ(machine.GetResult(), result);
        EXPECT_EQ(machine.GetStatusText(), Machine::kStatusFailed);
        EXPECT_TRUE(machine.IsCloseEnabled());
    }

    CFirmwarePatch patch;
    ScriptedPatchUnit unit;
    Machine machine{unit};
};

TEST_F(PatchTransferMachineTest, SendsOnlyTheRecordsFlaggedOneAndCountsEveryRecord) {
    patch.SetRecord(4, 0, Bytes({0xAA}));
    patch.SetRecord(5, 1, Bytes({0x10, 0x20}));
    patch.SetRecord(6, 2, Bytes({0xBB}));
    Run();
    EXPECT_EQ(unit.log, (Log{"R114", kVersionPacket, kDatePacket, "P 04 01 05 10 20", "R115"}));
    ExpectFinished(7);
}

TEST_F(PatchTransferMachineTest, FinishesRightAfterTheDateWhenNoRecordIsFlagged) {
    struct Case {
        std::vector<BYTE> flags;
        int total;
    };

    const Case cases[] = {{{}, 4}, {{0, 0, 0}, 7}, {{3}, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        CFirmwarePatch local;
        local.SetVersion(0x011E);
        local.SetBuild(0x0405);
        local.SetDate(2009, 3, 17);
        BYTE id = 10;
        for (BYTE flag : c.flags) {
            local.SetRecord(id++, flag, Bytes({1, 2}));
        }
        ScriptedPatchUnit localUnit;
        Machine localMachine(localUnit);
        localMachine.Start(&local);
        localUnit.Run(localMachine);
        EXPECT_EQ(localUnit.log, (Log{"R114", kVersionPacket, kDatePacket, "R115"}));
        EXPECT_EQ(localMachine.GetState(), Machine::kFinished);
        EXPECT_EQ(localMachine.GetStep(), c.total);
        EXPECT_EQ(localMachine.GetTotal(), c.total);
    }
}

TEST_F(PatchTransferMachineTest, TheLastRecordIsSentWhenItIsTheOnlyOneFlagged) {
    patch.SetRecord(4, 0, Bytes({1}));
    patch.SetRecord(9, 1, Bytes({2}));
    Run();
    EXPECT_EQ(unit.log, (Log{"R114", kVersionPacket, kDatePacket, "P 03 01 09 02", "R115"}));
    ExpectFinished(6);
}

TEST_F(PatchTransferMachineTest, ARecordPacketCarriesCountCommandIdAndData) {
    CByteArray data;
    for (BYTE b = 0; b < 10; ++b) {
        data.Add(static_cast<BYTE>(0xA0 + b));
    }
    patch.SetRecord(0x2A, 1, data);
    Run();
    ASSERT_EQ(unit.packets.size(), 3u);
    EXPECT_EQ(unit.packets[2],
              (std::vector<BYTE>{12, 1, 0x2A, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9}));
}

TEST_F(PatchTransferMachineTest, RecordsOfUpTo253BytesFitAPacketLongerOnesStopTheRunBeforeAnythingIsSent) {
    CByteArray fits;
    fits.SetSize(253);
    patch.SetRecord(4, 1, fits);
    ASSERT_TRUE(Machine::FitsPackets(patch));
    Run();
    ASSERT_EQ(unit.packets.size(), 3u);
    EXPECT_EQ(unit.packets[2][0], 255);
    ExpectFinished(5);

    CFirmwarePatch tooLong;
    CByteArray data;
    data.SetSize(254);
    tooLong.SetRecord(5, 1, data);
    EXPECT_FALSE(Machine::FitsPackets(tooLong));
    ScriptedPatchUnit silent;
    Machine refused(silent);
    refused.Start(&tooLong);
    EXPECT_TRUE(silent.log.empty());
    EXPECT_EQ(refused.GetState(), Machine::kFailed);
    EXPECT_NE(refused.GetResult(), Machine::kResultDone);
}

// Disabled records are never sent, so their length does not matter.
TEST_F(PatchTransferMachineTest, ADisabledRecordLongerThanAPacketIsSkippedLikeAnyOther) {
    CByteArray longest;
    longest.SetSize(255);
    ASSERT_TRUE(patch.SetRecord(3, 0, longest));
    patch.SetRecord(4, 1, Bytes({7}));
    ASSERT_TRUE(Machine::FitsPackets(patch));
    Run();
    EXPECT_EQ(unit.log, (Log{"R114", kVersionPacket, kDatePacket, "P 03 01 04 07", "R115"}));
    ExpectFinished(6);
}

TEST_F(PatchTransferMachineTest, PhaseLineAndBarFollowTheAnswers) {
    patch.SetRecord(4, 1, Bytes({1}));
    patch.SetRecord(5, 0, Bytes({1}));
    patch.SetRecord(6, 1, Bytes({1}));
    machine.Start(&patch);
    EXPECT_EQ(machine.GetTotal(), 7);
    EXPECT_EQ(machine.GetPhase(), Machine::kPhaseInitializing);
    EXPECT_EQ(machine.GetStatusText(), Machine::kStatusWaiting);
    EXPECT_FALSE(machine.IsCloseEnabled());

    struct Expected {
        Machine::Phase phase;
        int percent;
        int progress;
        int step;  // after the answer's next request went out
    };

    const Expected steps[] = {
        {Machine::kPhaseInitializing, 14, 1, 2},  // 114; version sent
        {Machine::kPhaseWriting, 28, 2, 3},       // version; date sent
        {Machine::kPhaseWriting, 42, 3, 4},       // date; record 4 sent
        {Machine::kPhaseWriting, 57, 4, 6},       // record 4; 5 skipped, record 6 sent
        {Machine::kPhaseWriting, 85, 6, 6},       // record 6; 115 requested
    };
    for (const Expected& e : steps) {
        SCOPED_TRACE(e.percent);
        unit.Run(machine, 1);
        EXPECT_EQ(machine.GetPhase(), e.phase);
        EXPECT_EQ(machine.GetPercent(), e.percent);
        EXPECT_EQ(machine.GetProgress(), e.progress);
        EXPECT_EQ(machine.GetStep(), e.step);
        EXPECT_EQ(machine.GetStatusText(), Machine::kStatusProgramming);
        EXPECT_FALSE(machine.IsCloseEnabled());
    }
    unit.Run(machine);
    ExpectFinished(7);
}

TEST_F(PatchTransferMachineTest, ABusyUnitIsPolledThroughElement113UntilItIsReady) {
    patch.SetRecord(4, 1, Bytes({7}));
    unit.statusBytes = {0x03, 0x13, 0x00};  // 114 busy, 113 busy with a high nibble, 113 ready
    unit.answers = {{3, 0x13}, {3, 0x00}};  // version busy, date ready
    unit.statusBytes.push_back(0x23);       // 113 after the version: busy
    unit.statusBytes.push_back(0x01);       // then ready (low nibble not 3)
    Run();
    EXPECT_EQ(unit.log, (Log{"R114", "R113", "R113", kVersionPacket, "R113", "R113", kDatePacket,
                             "P 03 01 04 07", "R115"}));
    ExpectFinished(5);
}

TEST_F(PatchTransferMachineTest, AUnitThatStaysBusyIsGivenUp) {
    unit.statusBytes.assign(Machine::kMaxBusyPolls + 5, 0x03);
    Run();
    EXPECT_EQ(unit.log.size(), static_cast<size_t>(Machine::kMaxBusyPolls) + 1);
    ExpectFailed(Machine::kResultUnitFailed);
}

// A high nibble fails the run once the unit is no longer busy. A request the link does not
// take gets no answer, and the status change that refused it may have gone out before the
// dialog listened (the link dropped while the user chose the file): the refusal itself ends
// the run as a lost connection, so Close is offered.
TEST_F(PatchTransferMachineTest, AFailingStatusABadAnswerOrARefusedRequestStopsTheRunAndIsNotReportedAsDone) {
    struct Case {
        const char* name;
        std::deque<BYTE> statusBytes;
        std::deque<ScriptedPatchUnit::Answer> answers;
        Log log;
        int requestsTaken;
        Machine::Result result;
    };

    constexpr Machine::Result kUnit = Machine::kResultUnitFailed;
    constexpr Machine::Result kLink = Machine::kResultConnectionLost;
    const std::string refusedDate = "!" + std::string(kDatePacket);
    const Case cases[] = {
        {"start refused", {0x20}, {}, {"R114"}, -1, kUnit},
        {"busy then failure", {0x13, 0x20}, {}, {"R114", "R113"}, -1, kUnit},
        {"version refused", {}, {{3, 0x20}}, {"R114", kVersionPacket}, -1, kUnit},
        {"version answer short", {}, {{2, 0x00}}, {"R114", kVersionPacket}, -1, kUnit},
        {"record answer long",
         {},
         {{3, 0}, {3, 0}, {4, 0}},
         {"R114", kVersionPacket, kDatePacket, "P 03 01 04 01"},
         -1,
         kUnit},
        {"date busy, then failure",
         {0x00, 0x21},
         {{3, 0}, {3, 0x13}},
         {"R114", kVersionPacket, kDatePacket, "R113"},
         -1,
         kUnit},
        {"link down when the run starts", {}, {}, {"!R114"}, 0, kLink},
        {"busy poll not taken", {0x03}, {}, {"R114", "!R113"}, 1, kLink},
        {"date packet not taken", {}, {}, {"R114", kVersionPacket, refusedDate}, 2, kLink},
        {"finish not taken",
         {},
         {},
         {"R114", kVersionPacket, kDatePacket, "P 03 01 04 01", "!R115"},
         4,
         kLink},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFirmwarePatch local;
        local.SetVersion(0x011E);
        local.SetBuild(0x0405);
        local.SetDate(2009, 3, 17);
        local.SetRecord(4, 1, Bytes({1}));
        ScriptedPatchUnit localUnit;
        localUnit.statusBytes = c.statusBytes;
        localUnit.answers = c.answers;
        localUnit.requestsTaken = c.requestsTaken;
        Machine localMachine(localUnit);
        localMachine.Start(&local);
        localUnit.Run(localMachine);
        EXPECT_EQ(localUnit.log, c.log);
        EXPECT_EQ(localMachine.GetState(), Machine::kFailed);
        EXPECT_EQ(localMachine.GetResult(), c.result);
        EXPECT_EQ(localMachine.GetStatusText(), Machine::kStatusFailed);
        EXPECT_TRUE(localMachine.IsCloseEnabled());
    }
}

TEST_F(PatchTransferMachineTest, LosingTheConnectionEndsAnUnfinishedRunAndLateAnswersChangeNothing) {
    patch.SetRecord(4, 1, Bytes({1}));
    machine.Start(&patch);
    unit.Run(machine, 2);  // 114 and the version answered; the date packet is outstanding
    machine.OnStatusChanged(2);
    machine.OnStatusChanged(4);
    EXPECT_EQ(machine.GetState(), Machine::kSendingRecords);
    machine.OnStatusChanged(1);
    ExpectFailed(Machine::kResultConnectionLost);
    const size_t sent = unit.log.size();
    unit.Run(machine);
    EXPECT_EQ(unit.log.size(), sent);
    ExpectFailed(Machine::kResultConnectionLost);
}

TEST_F(PatchTransferMachineTest, AStatusChangeAfterTheEndChangesNothing) {
    Run();
    machine.OnStatusChanged(1);
    ExpectFinished(4);

    ScriptedPatchUnit failing;
    failing.statusBytes = {0x20};
    Machine failed(failing);
    failed.Start(&patch);
    failing.Run(failed);
    failed.OnStatusChanged(1);
    EXPECT_EQ(failed.GetResult(), Machine::kResultUnitFailed);
}

TEST_F(PatchTransferMachineTest, OnlyTheAwaitedTransferCountsAndAFailedOneStopsTheRun) {
    machine.Start(&patch);
    machine.OnTransferDone(Machine::kElementBusy, true);
    machine.OnTransferDone(Machine::kElementFinish, true);
    machine.OnTransferDone(Machine::kElementPacket, true);
    EXPECT_EQ(machine.GetState(), Machine::kStarted);
    EXPECT_EQ(unit.log, (Log{"R114"}));
    machine.OnTransferDone(Machine::kElementStart, false);
    ExpectFailed(Machine::kResultUnitFailed);
}

TEST_F(PatchTransferMachineTest, WithoutAPatchTheRunFailsAtOnce) {
    machine.Start(nullptr);
    EXPECT_TRUE(unit.log.empty());
    ExpectFailed(Machine::kResultUnitFailed);
}

}  // namespace
