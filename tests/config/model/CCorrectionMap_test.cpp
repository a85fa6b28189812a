// The correction map model: element 8 layout both ways, box writes as the unit receives
// them, undo and redo, the base percent checks, the nearest-cell search and the
// interpolation.
#include "config/CCorrectionMap.h"

#include "tests/config/model/CLogCapture.h"
#include "tests/config/model/MapModelFixture.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> Axis(int count, int first, int step) {
    std::vector<int> axis;
    for (int i = 0; i < count; ++i) {
        axis.push_back(first + i * step);
    }
    return axis;
}

int Pattern(int row, int column) {
    return 10 * row + column - 50;
}

TEST(CorrectionMapCodec, CellsFollowTheLongerAxisAndRoundTrip) {
    struct Case {
        int columns;
        int rows;
        bool rowByRow;
    };

    const Case cases[] = {{4, 6, false}, {6, 4, true},  {5, 5, true},
                          {1, 1, true},  {1, 2, false}, {2, 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows);
        const std::vector<int> rpm = Axis(c.columns, 800, 700);
        const std::vector<int> time = Axis(c.rows, 1500, 2500);
        const std::vector<BYTE> bytes = EncodeMap(rpm, time, Pattern);
        CCorrectionMap map;
        ASSERT_TRUE(map.ParseElementData(bytes.data(), bytes.size()));
        ASSERT_EQ(map.GetColumnCount(), c.columns);
        ASSERT_EQ(map.GetRowCount(), c.rows);
        for (int r = 0; r < c.rows; ++r) {
            for (int col = 0; col < c.columns; ++col) {
                EXPECT_EQ(map.GetCell(r, col), Pattern(r, col)) << r << ", " << col;
            }
        }
        EXPECT_EQ(map.GetRpm(c.columns - 1), rpm.back());
        EXPECT_EQ(map.GetTimeUs(c.rows - 1), time.back());

        std::vector<BYTE> built(1024, 0xEE);
        const std::size_t used = map.BuildElementData(built.data(), built.size());
        const std::size_t cellsOffset = 2 + 2 * (c.columns + c.rows);
        ASSERT_EQ(used, cellsOffset + c.columns * c.rows);
        EXPECT_TRUE(std::equal(built.begin(), built.begin() + used, bytes.begin()));
        EXPECT_EQ(built[used], 0xEE) << "nothing past the map is touched";
        if (c.columns * c.rows > 1) {
            const int second = c.rowByRow ? Pattern(0, 1) : Pattern(1, 0);
            EXPECT_EQ(static_cast<signed char>(built[cellsOffset + 1]), second - 28);
        }
    }
}

TEST(CorrectionMapCodec, RefusesMapsBeyondTheModelOrTheElement) {
    std::vector<BYTE> tooManyRpm = EncodeMap(Axis(33, 100, 100), Axis(2, 1000, 1000), Pattern);
    std::vector<BYTE> tooLong =
        EncodeMap(Axis(32, 100, 100), Axis(31, 1000, 100), [](int, int) { return 0; });
    tooLong.resize(1024);
    std::vector<BYTE> cut = EncodeMap(Axis(6, 100, 100), Axis(6, 1000, 100), Pattern);

    const struct {
        const char* name;
        std::vector<BYTE> bytes;
        std::size_t length;
    } cases[] = {{"33 rpm breakpoints", tooManyRpm, tooManyRpm.size()},
                 {"32 x 31 cells", tooLong, 1024},
                 {"cut short", cut, 20},
                 {"one byte", cut, 1}};

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCorrectionMap map;
        const std::vector<BYTE> good = EncodeMap(Axis(3, 1000, 1000), Axis(3, 1000, 1000), Pattern);
        ASSERT_TRUE(map.ParseElementData(good.data(), good.size()));
        EXPECT_FALSE(map.ParseElementData(c.bytes.data(), c.length));
        EXPECT_TRUE(map.IsEmpty());
        EXPECT_EQ(map.GetInterpolatedValue(2000, 2.0), 0);
        CMapCellBracket bracket;
        EXPECT_FALSE(map.FindNearestCell(2000, 2.0, bracket));
    }
}

TEST(CorrectionMapCodec, CellsBeyondAByteSaturateInsteadOfWrapping) {
    CLogCapture log;
    const std::vector<BYTE> bytes = EncodeMap(Axis(2, 1000, 1000), Axis(2, 1000, 1000), Pattern);
    CCorrectionMap map;
    ASSERT_TRUE(map.ParseElementData(bytes.data(), bytes.size()));

    const struct {
        int percent;
        int kept;
        BYTE stored;
    } cases[] = {{-105, -100, 0x80}, {-100, -100, 0x80}, {155, 155, 0x7F}, {200, 155, 0x7F}, {0, 0, 0xE4}};

    for (const auto& c : cases) {
        map.SetCell(1, 1, c.percent);
        EXPECT_EQ(map.GetCell(1, 1), c.kept) << c.percent;
        std::vector<BYTE> built(1024);
        map.BuildElementData(built.data(), built.size());
        EXPECT_EQ(built[2 + 2 * 4 + 3], c.stored) << c.percent;
    }
    EXPECT_EQ(log.Messages("CConfigDynamic: cell [1; 1] of").size(), 2u);
}

class CorrectionMapTest : public MapModelFixture {};

TEST_F(CorrectionMapTest, BoxRecordsRunAlongTheLongerSideOfTheBox) {
    LoadGrid();

    const struct {
        int firstColumn, firstRow, lastColumn, lastRow;
        std::vector<int> cells;  // percents in record order
    } cases[] = {
        {1, 1, 3, 2, {11, 12, 13, 21, 22, 23}},  // three wide, two high: row by row
        {2, 1, 2, 2, {12, 22}},                  // one wide, two high: column by column
        {0, 0, 1, 2, {0, 10, 20, 1, 11, 21}},    // two wide, three high: column by column
        {4, 3, 4, 3, {34}},
        {0, 0, 1, 1, {0, 1, 10, 11}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "box " << c.firstColumn << "," << c.firstRow << "-" << c.lastColumn
                                        << "," << c.lastRow);
        queue.requests.clear();
        ASSERT_TRUE(map.WriteBox(c.firstColumn, c.firstRow, c.lastColumn, c.lastRow));
        const std::vector<QueuedRequest> writes = Writes(kElementCorrectionMap);
        ASSERT_EQ(writes.size(), 1u);
        const BYTE* record = writes[0].source;
        EXPECT_EQ(record[0], c.firstColumn);
        EXPECT_EQ(record[1], c.firstRow);
        EXPECT_EQ(record[2], c.lastColumn);
        EXPECT_EQ(record[3], c.lastRow);
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            EXPECT_EQ(static_cast<signed char>(record[4 + i]), c.cells[i] - 28) << i;
        }
    }
}

TEST_F(CorrectionMapTest, FillBoxChangesOnlyTheBoxInTheWorkingImage) {
    LoadGrid();
    ASSERT_TRUE(map.FillBox(-7, 1, 2, 2, 4));
    const CCorrectionMap written = WorkingMap();
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            const bool inBox = r >= 1 && r <= 2 && c >= 2;
            EXPECT_EQ(written.GetCell(r, c), inBox ? -7 : 10 * r + c) << r << ", " << c;
        }
    }
    const std::vector<QueuedRequest> writes = Writes(kElementCorrectionMap);
    ASSERT_EQ(writes.size(), 1u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(static_cast<signed char>(writes[0].source[4 + i]), -35);
    }
}

TEST_F(CorrectionMapTest, BoxesOutsideTheMapAreRefusedWithoutAWrite) {
    const struct {
        int firstColumn, firstRow, lastColumn, lastRow;
    } boxes[] = {{0, 0, 5, 3}, {0, 0, 4, 4}, {-1, 0, 2, 2}, {3, 0, 2, 2}, {0, 2, 0, 1}};

    LoadGrid();
    for (const auto& b : boxes) {
        EXPECT_FALSE(map.WriteBox(b.firstColumn, b.firstRow, b.lastColumn, b.lastRow));
        EXPECT_FALSE(map.FillBox(5, b.firstRow, b.firstColumn, b.lastRow, b.lastColumn));
    }
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty());

    // Before element 8 arrives the whole map is no box at all.
    CCorrectionMap empty;
    empty.SetDataHandler(handler.get());
    EXPECT_FALSE(empty.WriteWholeMap());
    empty.PushUndoBox(0, 0, -1, -1);
    int a, b, c, d;
    EXPECT_FALSE(empty.Undo(a, b, c, d));
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty());
}

TEST_F(CorrectionMapTest, UndoAndRedoSwapBoxesAndANewEditDropsTheRedo) {
    LoadGrid();
    map.PushUndoBox(0, 0, 1, 0);
    map.SetCell(0, 0, 50);
    map.SetCell(0, 1, 51);
    map.PushUndoBox(2, 1, 2, 3);
    for (int r = 1; r <= 3; ++r) {
        map.SetCell(r, 2, -60);
    }
    int firstColumn = -1, firstRow = -1, lastColumn = -1, lastRow = -1;
    ASSERT_TRUE(map.Undo(firstColumn, firstRow, lastColumn, lastRow));
    EXPECT_EQ((std::vector<int>{firstColumn, firstRow, lastColumn, lastRow}), (std::vector<int>{2, 1, 2, 3}));
    EXPECT_EQ(map.GetCell(2, 2), 22);
    EXPECT_EQ(map.GetCell(0, 0), 50) << "the first edit stays";

    ASSERT_TRUE(map.Redo(firstColumn, firstRow, lastColumn, lastRow));
    EXPECT_EQ(map.GetCell(1, 2), -60);
    EXPECT_EQ(map.GetCell(3, 2), -60);

    ASSERT_TRUE(map.Undo(firstColumn, firstRow, lastColumn, lastRow));
    ASSERT_TRUE(map.Undo(firstColumn, firstRow, lastColumn, lastRow));
    EXPECT_EQ(map.GetCell(0, 0), 0);
    EXPECT_EQ(map.GetCell(0, 1), 1);
    EXPECT_FALSE(map.Undo(firstColumn, firstRow, lastColumn, lastRow));

    map.PushUndoBox(4, 3, 4, 3);
    EXPECT_FALSE(map.Redo(firstColumn, firstRow, lastColumn, lastRow));
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty()) << "undo and redo leave the write to the page";
}

TEST_F(CorrectionMapTest, BasePercentMustKeepEveryCellTotalInRange) {
    Load({1000, 2000}, {1000, 2000}, [](int r, int c) { return r == 0 && c == 0 ? -40 : 70; });

    const struct {
        int percent;
        bool accepted;
    } cases[] = {{30, true}, {31, false}, {-60, true}, {-61, false}, {101, false}, {-101, false}, {0, true}};

    for (const auto& c : cases) {
        queue.requests.clear();
        map.ParseBaseElementData(0);
        EXPECT_EQ(map.CheckBaseAgainstCells(c.percent), c.accepted) << c.percent;
        EXPECT_EQ(map.SetBasePercent(c.percent), c.accepted ? 1 : 0) << c.percent;
        const std::vector<QueuedRequest> writes = Writes(kElementBasePercent);
        ASSERT_EQ(writes.size(), c.accepted ? 1u : 0u) << c.percent;
        EXPECT_EQ(map.GetBasePercent(), c.accepted ? c.percent : 28);
        if (c.accepted) {
            BYTE element7 = 0;
            handler->ReadData(kElementBasePercent, &element7);
            EXPECT_EQ(static_cast<signed char>(element7), c.percent - 28);
        }
    }
}

TEST_F(CorrectionMapTest, RestoringTheSavedMatrixPutsBackMapAndBaseEvenBeyondTheEditLimits) {
    Load(
        {1000, 2000}, {1000, 2000}, [](int r, int c) { return 60 + r + c; }, 40);
    map.SaveMatrix();
    EXPECT_EQ(map.GetSavedBasePercent(), 40);
    map.FillBox(0, 0, 0, 1, 1);
    map.SetBasePercent(-20);
    queue.requests.clear();

    map.RestoreSavedMatrix();
    EXPECT_EQ(map.GetBasePercent(), 40) << "totals up to 102 % were in effect and come back";
    EXPECT_EQ(map.GetCell(1, 1), 62);
    EXPECT_EQ(Writes(kElementBasePercent).size(), 1u);
    ASSERT_EQ(Writes(kElementCorrectionMap).size(), 1u);
    EXPECT_EQ(WorkingMap().GetCell(0, 1), 61);
}

TEST_F(CorrectionMapTest, NearestCellAndBracketOnBothAxes) {
    Load({1000, 2000, 3000, 4000}, {1000, 2000, 3000, 4000, 5000}, Pattern);

    const struct {
        int rpm;
        double ms;
        CMapCellBracket expected;  // nearest column, row; lower, upper column; lower, upper row
    } cases[] = {
        {1000, 1.0, {0, 0, 0, 0, 0, 0}},
        {500, 0.2, {0, 0, 0, 0, 0, 0}},
        {9000, 7.5, {3, 4, 3, 3, 4, 4}},
        {1400, 1.6, {0, 1, 0, 1, 0, 1}},
        {1600, 4.4, {1, 3, 0, 1, 3, 4}},
        {3000, 2.999, {2, 2, 2, 2, 1, 2}},
        // Half-way: the breakpoint where the search stopped, below or above the value.
        {1500, 2.5, {0, 1, 0, 1, 1, 2}},
        {2500, 3.5, {2, 3, 1, 2, 2, 3}},
    };

    for (const auto& c : cases) {
        CMapCellBracket b;
        ASSERT_TRUE(map.FindNearestCell(c.rpm, c.ms, b));
        const std::vector<int> got{b.nearestColumn, b.nearestRow, b.lowerColumn,
                                   b.upperColumn,   b.lowerRow,   b.upperRow};
        const CMapCellBracket& e = c.expected;
        const std::vector<int> want{e.nearestColumn, e.nearestRow, e.lowerColumn,
                                    e.upperColumn,   e.lowerRow,   e.upperRow};
        EXPECT_EQ(got, want) << c.rpm << " 1/min, " << c.ms << " ms";
    }
}

TEST_F(CorrectionMapTest, InterpolationIsBilinearInsideAndFlatBeyondTheAxes) {
    Load({1000, 2000, 3000}, {2000, 4000, 6000}, [](int r, int c) {
        const int cells[3][3] = {{-10, -20, 0}, {-30, -40, 8}, {12, 30, 50}};
        return cells[r][c];
    });

    const struct {
        int rpm;
        double ms;
        int expected;
    } cases[] = {
        {1500, 3.0, -24},                  // -25 + 0.5 truncates toward zero
        {1000, 2.0, -9},                   // on a breakpoint: -10 + 0.5 truncates to -9
        {2000, 4.0, -39}, {500, 9.0, 12},  // below the first rpm, above the last time: that corner alone
        {3500, 1.0, 0},                    // above the last rpm, below the first time
        {1500, 1.0, -14},                  // below the first time: first row alone, -15 + 0.5
        {2500, 6.0, 40},  {2250, 5.0, 4},  // u = 0.25, v = 0.5 between -40, 8, 30, 50: 3.5 + 0.5
        {3000, 6.5, 50},
    };

    for (const auto& c : cases) {
        EXPECT_EQ(map.GetInterpolatedValue(c.rpm, c.ms), c.expected) << c.rpm << " 1/min, " << c.ms << " ms";
    }
}

TEST_F(CorrectionMapTest, StepsNeedTwoBreakpoints) {
    LoadGrid();
    EXPECT_DOUBLE_EQ(map.GetRpmStep(), 1000.0);
    EXPECT_DOUBLE_EQ(map.GetTimeStep(), 2.0);
    Load({1500}, {2000, 3000}, Pattern);
    EXPECT_EQ(map.GetRpmStep(), 0.0);
    EXPECT_DOUBLE_EQ(map.GetTimeStep(), 1.0);
}

}  // namespace
