// The composite procedures through the real communicator against the simulated unit
// in-process: what goes on the wire, what lands in memory, and what the unit's bad
// sizes cannot do.
#include "link/CCommunicator.h"
#include "link/ElementTable.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CProgressSink.h"
#include "tests/link/CUnitLoopback.h"
#include "tests/support/TableLayout.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int kRowReadTable = 4;
constexpr int kRowReadBox = 5;
constexpr int kRowWriteBox = 6;
constexpr int kRowChain = 26;
constexpr int kRowBankAxes = 33;
constexpr int kRowBankRow = 34;
constexpr int kRowClearLogs = 49;
constexpr int kRowFullRead = 18;

Bytes At(const std::vector<BYTE>& image, int offset, std::size_t length) {
    return Bytes(image.begin() + offset, image.begin() + offset + static_cast<std::ptrdiff_t>(length));
}

class CompositeProcedures : public testing::Test {
protected:
    CompositeProcedures() : image(kImageBytes, 0) {
        communicator.SetPort(unit.port);
        communicator.SetClock(clock);
        communicator.SetDataHandler(&sink);
        communicator.BeginPasses();
        communicator.RunPass();  // finds the unit on port 7
    }

    // Queues a request, then lets the worker take and serve it; the codes it sent.
    std::vector<BYTE> Serve(int row, const BYTE* source, BYTE* destination, std::size_t size) {
        EXPECT_TRUE(communicator.QueueRequest(nullptr, 0, row, source, destination, size));
        const std::size_t mark = unit.port.Written().size();
        communicator.RunPass();
        communicator.RunPass();
        return unit.CodesSince(mark);
    }

    std::vector<BYTE> FullRead() { return Serve(kRowFullRead, nullptr, image.data(), image.size()); }

    CUnitMemory& Memory() { return unit.engine.Memory(); }

    CUnitLoopback unit;
    CFakeClock clock;
    CProgressSink sink;
    CCommunicator communicator;
    std::vector<BYTE> image;
};

TEST_F(CompositeProcedures, AFullReadPutsTheUnitsMemoryAtEveryElementsOffset) {
    FullRead();
    ASSERT_TRUE(unit.port.IsOpen());
    EXPECT_EQ(At(image, 0, 35), Memory().Block(UnitBlock::Settings));
    EXPECT_EQ(At(image, 35, 1), Memory().Block(UnitBlock::BasePercent));
    EXPECT_EQ(At(image, 1140, 4), Memory().Block(UnitBlock::SensorTypes));
    EXPECT_EQ(At(image, 2267, 60), Memory().Block(UnitBlock::Identity));
    EXPECT_EQ(At(image, 8200, 4), Memory().Block(UnitBlock::PatchVersion));
    EXPECT_EQ(At(image, 8204, 4), Memory().Block(UnitBlock::PatchDate));
    EXPECT_EQ(image[2327], 1);  // element 79: the unit has tables

    const struct {
        int bank;
        int offset;
    } tables[] = {{0, 36}, {1, 2328}, {2, 3385}, {3, 4442}, {4, 5499}};

    for (const auto& table : tables) {
        SCOPED_TRACE(table.bank);
        const Bytes expected = TableLayout(Memory().Table(table.bank));
        EXPECT_EQ(At(image, table.offset, expected.size()), expected);
    }
    EXPECT_EQ(sink.finished, (std::vector<std::pair<int, int>>{{kRowFullRead, 1}}));
}

TEST_F(CompositeProcedures, AFullReadRampsItsProgressUpTo1000AndEndsWithZero) {
    FullRead();
    ASSERT_GE(sink.fullRead.size(), 3u);
    EXPECT_EQ(sink.fullRead.front(), std::make_pair(1, 0));
    EXPECT_EQ(sink.fullRead.back(), std::make_pair(0, 0));
    EXPECT_EQ(sink.fullRead[sink.fullRead.size() - 2], std::make_pair(1, 1000));
    for (std::size_t i = 1; i + 1 < sink.fullRead.size(); ++i) {
        EXPECT_EQ(sink.fullRead[i].first, 1);
        EXPECT_LE(sink.fullRead[i - 1].second, sink.fullRead[i].second) << "at " << i;
    }
    EXPECT_GE(clock.TotalSleptMs(), 50u);
}

TEST_F(CompositeProcedures, TheRecordLogsAreReadAsFarAsTheirChainReaches) {
    const DtcSnapshot snapshot{12, 34, 56, true, {0x0101, 0x0202}};
    ASSERT_TRUE(Memory().Table(5).SetRecordLog({snapshot, snapshot}));
    FullRead();
    const CUnitTable& log = Memory().Table(5);
    const Bytes layout = TableLayout(log);
    const std::size_t cellsOffset = 2 + 2 * static_cast<std::size_t>(log.Columns() + log.Rows());
    // Start position 2, two records of 5 + 2 * 2 bytes, then the end record.
    const std::size_t used = cellsOffset + 2 + 2 * 9 + 1;
    EXPECT_EQ(At(image, 8211, used),
              Bytes(layout.begin(), layout.begin() + static_cast<std::ptrdiff_t>(used)));
}

struct ProbeCase {
    const char* name;
    std::vector<BYTE> refused;
    CommandRow row30;
    CommandRow row31;
    CommandRow row35;
    bool hasTables;
    std::vector<int> supportedRows;
    std::vector<BYTE> neverSent;
};

TEST_F(CompositeProcedures, TheProbeFollowsWhatTheUnitSupports) {
    const std::vector<int> flagRows = {30, 31, 35, 40, 42};
    const ProbeCase cases[] = {
        {"all", {}, {52, 0, 26}, {2, 0, 60}, {47, 0, 16}, true, {30, 31, 35, 40, 42}, {32}},
        {"no 19", {19}, {52, 0, 26}, {2, 0, 60}, {48, 0, 10}, false, {30, 31, 40, 42}, {47}},
        {"no 52", {52}, {51, 0, 22}, {2, 0, 60}, {47, 0, 16}, true, {31, 35, 40, 42}, {}},
        {"no 47", {47}, {52, 0, 26}, {2, 0, 60}, {48, 0, 10}, true, {30, 31, 40, 42}, {}},
        {"no 2", {2}, {52, 0, 26}, {32, 0, 44}, {47, 0, 16}, true, {30, 35, 40, 42}, {}},
        {"no 90", {90}, {52, 0, 26}, {2, 0, 60}, {47, 0, 16}, true, {30, 31, 35, 40}, {94}},
        {"no 33", {33}, {52, 0, 26}, {2, 0, 60}, {47, 0, 16}, true, {30, 31, 35, 42}, {}},
    };
    for (const ProbeCase& probe : cases) {
        SCOPED_TRACE(probe.name);
        CUnitLoopback variant;
        for (BYTE code : probe.refused) {
            variant.engine.SetRefused(code, true);
        }
        CCommunicator link;
        CProgressSink events;
        link.SetPort(variant.port);
        link.SetClock(clock);
        link.SetDataHandler(&events);
        link.BeginPasses();
        link.RunPass();
        std::vector<BYTE> memory(kImageBytes, 0xEE);
        ASSERT_TRUE(link.QueueRequest(nullptr, 0, kRowFullRead, nullptr, memory.data(), memory.size()));
        link.RunPass();
        link.RunPass();
        ASSERT_TRUE(variant.port.IsOpen());
        const CCommandTable& table = link.GetCommandTable();
        for (const auto& [row, expected] :
             {std::pair{30, probe.row30}, {31, probe.row31}, {35, probe.row35}}) {
            EXPECT_EQ(table.Get(row).code, expected.code) << "row " << row;
            EXPECT_EQ(table.Get(row).replyLength, expected.replyLength) << "row " << row;
        }
        EXPECT_EQ(memory[2327], probe.hasTables ? 1 : 0);
        EXPECT_EQ(link.HasTables() != FALSE, probe.hasTables);
        for (int row : flagRows) {
            const bool supported = std::find(probe.supportedRows.begin(), probe.supportedRows.end(), row) !=
                                   probe.supportedRows.end();
            EXPECT_EQ(link.IsRowSupported(row) != FALSE, supported) << "row " << row;
        }
        const std::vector<BYTE> codes = variant.CodesSince(0);
        for (BYTE code : probe.neverSent) {
            EXPECT_EQ(std::count(codes.begin(), codes.end(), code), 0) << "code " << int{code};
        }
        if (!probe.hasTables) {
            // Only the probe's own bank selection: no banks, no logs, no closing selection.
            EXPECT_EQ(std::count(codes.begin(), codes.end(), BYTE{19}), 1);
        }
        EXPECT_EQ(events.fullRead.back(), std::make_pair(0, 0));
    }
}

TEST_F(CompositeProcedures, ATableWithFewerColumnsThanRowsIsReadColumnByColumn) {
    Memory().Table(0) = CUnitTable::Make(16, 18, 800, 400, 1000, 500);
    Memory().Table(0).SetCell(3, 17, 0x5A);
    std::vector<BYTE> map(1024, 0);
    const std::vector<BYTE> codes = Serve(kRowReadTable, nullptr, map.data(), map.size());
    std::vector<BYTE> expected = {40, 41};
    expected.insert(expected.end(), 16, 43);
    EXPECT_EQ(codes, expected);
    const Bytes layout = TableLayout(Memory().Table(0));
    EXPECT_EQ(Bytes(map.begin(), map.begin() + static_cast<std::ptrdiff_t>(layout.size())), layout);
}

TEST_F(CompositeProcedures, BoxesAreReadAndWrittenByCellColumnOrRow) {
    Memory().Table(0) = CUnitTable::Make(16, 12, 800, 400, 1000, 500);
    Memory().Table(0).SetCell(4, 6, 0x77);
    std::vector<BYTE> box(1024, 0);
    const BYTE oneCell[] = {4, 6, 4, 6};
    EXPECT_EQ(Serve(kRowReadBox, oneCell, box.data(), box.size()), (std::vector<BYTE>{44}));
    EXPECT_EQ(Bytes(box.begin(), box.begin() + 5), (Bytes{4, 6, 4, 6, 0x77}));

    std::vector<BYTE> tall = {2, 1, 4, 10};  // 3 columns of 10 rows
    for (int i = 0; i < 30; ++i) {
        tall.push_back(static_cast<BYTE>(100 + i));
    }
    EXPECT_EQ(Serve(kRowWriteBox, tall.data(), nullptr, 0), (std::vector<BYTE>{65, 65, 65, 70}));
    EXPECT_EQ(Memory().Table(0).Cell(2, 1), 100);
    EXPECT_EQ(Memory().Table(0).Cell(2, 10), 109);
    EXPECT_EQ(Memory().Table(0).Cell(4, 10), 129);
    EXPECT_EQ(Serve(kRowReadBox, tall.data(), box.data(), box.size()), (std::vector<BYTE>{43, 43, 43}));
    EXPECT_EQ(Bytes(box.begin(), box.begin() + 34), tall);

    const std::vector<BYTE> wide = {0, 0, 2, 0, 1, 2, 3};
    EXPECT_EQ(Serve(kRowWriteBox, wide.data(), nullptr, 0), (std::vector<BYTE>{64, 70}));
    EXPECT_EQ(Memory().Table(0).Cell(2, 0), 3);
}

TEST_F(CompositeProcedures, TwoBoxWritesQueuedBackToBackBothReachTheUnit) {
    BYTE record[] = {1, 1, 1, 1, 0x11};
    ASSERT_TRUE(communicator.QueueRequest(nullptr, 0, kRowWriteBox, record, nullptr, 0));
    record[0] = 5;
    record[2] = 5;
    record[4] = 0x55;  // the caller reuses its buffer at once
    ASSERT_TRUE(communicator.QueueRequest(nullptr, 0, kRowWriteBox, record, nullptr, 0));
    communicator.RunPass();
    communicator.RunPass();
    EXPECT_EQ(Memory().Table(0).Cell(1, 1), 0x11);
    EXPECT_EQ(Memory().Table(0).Cell(5, 1), 0x55);
}

TEST_F(CompositeProcedures, ABoxRecordThatIsInvertedIsRefusedAtQueueTime) {
    const BYTE inverted[] = {4, 4, 2, 2, 0};
    EXPECT_FALSE(communicator.QueueRequest(nullptr, 0, kRowWriteBox, inverted, nullptr, 0));
    EXPECT_FALSE(communicator.QueueRequest(nullptr, 0, kRowReadBox, nullptr, image.data(), 1024));
}

TEST_F(CompositeProcedures, AChainWhoseFirstRecordIsEmptyYieldsOneZeroByte) {
    Memory().EventRecords().clear();
    std::vector<BYTE> chain(1024, 0xEE);
    EXPECT_EQ(Serve(kRowChain, nullptr, chain.data(), chain.size()), (std::vector<BYTE>{81}));
    EXPECT_EQ(chain[0], 0);
    EXPECT_EQ(chain[1], 0xEE);
}

TEST_F(CompositeProcedures, BankReadsSelectTheBankAndReturnToTheMap) {
    communicator.QueueRequest(nullptr, 0, kRowFullRead, nullptr, image.data(), image.size());
    communicator.RunPass();
    communicator.RunPass();
    std::vector<BYTE> row(33, 0);
    const BYTE request[] = {2, 3, 16};
    EXPECT_EQ(Serve(kRowBankRow, request, row.data(), row.size()), (std::vector<BYTE>{19, 42, 19}));
    EXPECT_EQ(row[0], 3);
    for (int column = 0; column < 16; ++column) {
        EXPECT_EQ(row[1 + column], Memory().Table(2).Cell(column, 3));
    }
    std::vector<BYTE> axes(1024, 0);
    const BYTE bank = 1;
    EXPECT_EQ(Serve(kRowBankAxes, &bank, axes.data(), axes.size()), (std::vector<BYTE>{19, 40, 41, 19}));
    EXPECT_EQ(unit.engine.Application().SelectedBank(), 0);
    EXPECT_EQ(Serve(kRowClearLogs, nullptr, nullptr, 0), (std::vector<BYTE>{19, 64, 19, 64, 19}));
    EXPECT_EQ(Memory().Table(6).Cell(2, 0), 255);
}

// ---- Sizes from the unit that do not fit -----------------------------------------

TEST_F(CompositeProcedures, ATableLargerThanItsElementIsRefusedAndClosesThePort) {
    Memory().Table(0) = CUnitTable::Make(32, 32, 800, 100, 1000, 100);  // 1154 bytes
    std::vector<BYTE> map(1024, 0);  // exactly the element: the sanitizers see any overrun
    const std::vector<BYTE> codes = Serve(kRowReadTable, nullptr, map.data(), map.size());
    EXPECT_EQ(codes, (std::vector<BYTE>{40, 41}));
    EXPECT_FALSE(unit.port.IsOpen());
}

TEST_F(CompositeProcedures, AnEndlessRecordChainStopsAtTheEndOfItsElement) {
    unit.engine.Application().SetEndlessEventChain(true);
    std::vector<BYTE> chain(1024, 0);
    const std::vector<BYTE> codes = Serve(kRowChain, nullptr, chain.data(), chain.size());
    EXPECT_LT(codes.size(), 1024u);
    EXPECT_FALSE(unit.port.IsOpen());
    communicator.RunPass();  // the request left behind is completed as failed
    EXPECT_EQ(sink.finished, (std::vector<std::pair<int, int>>{{kRowChain, 0}}));
}

TEST_F(CompositeProcedures, ARowCountBeyondTheRowBufferIsCutToIt) {
    communicator.QueueRequest(nullptr, 0, kRowFullRead, nullptr, image.data(), image.size());
    communicator.RunPass();
    communicator.RunPass();
    Memory().Table(1) = CUnitTable::Make(40, 4, 800, 100, 1000, 100);
    std::vector<BYTE> row(33, 0);
    const BYTE request[] = {1, 0, 40};
    EXPECT_EQ(Serve(kRowBankRow, request, row.data(), row.size()), (std::vector<BYTE>{19, 42, 19}));
    EXPECT_TRUE(unit.port.IsOpen());
}

TEST_F(CompositeProcedures, AxesLongerThanTheirDestinationAreRefused) {
    communicator.QueueRequest(nullptr, 0, kRowFullRead, nullptr, image.data(), image.size());
    communicator.RunPass();
    communicator.RunPass();
    Memory().Table(1) = CUnitTable::Make(20, 2, 800, 100, 1000, 100);  // 41 bytes of first axis
    std::vector<BYTE> axes(33, 0);
    const BYTE bank = 1;
    Serve(kRowBankAxes, &bank, axes.data(), axes.size());
    EXPECT_FALSE(unit.port.IsOpen());
}

}  // namespace
