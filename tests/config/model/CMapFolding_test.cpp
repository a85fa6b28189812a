// Folding measurements into the map: what the unit receives after a fold, fully or
// masked, with groups of close measurements, points on breakpoints, results beyond a
// signed byte and measurements beyond the last breakpoint.
#include "config/CMapFolding.h"

#include "tests/config/model/CLogCapture.h"
#include "tests/config/model/MapModelFixture.h"

#include <gtest/gtest.h>

namespace {

class MapFoldingTest : public MapModelFixture {
protected:
    MapFoldingTest() {
        LoadGrid();
        map.SaveMatrix();
    }

    // Every cell's percent in the working image, row by row.
    std::vector<int> WrittenCells() {
        const CCorrectionMap written = WorkingMap();
        std::vector<int> cells;
        for (int r = 0; r < written.GetRowCount(); ++r) {
            for (int c = 0; c < written.GetColumnCount(); ++c) {
                cells.push_back(written.GetCell(r, c));
            }
        }
        return cells;
    }

    std::vector<int> Uniform(int percent) const { return std::vector<int>(20, percent); }
};

TEST_F(MapFoldingTest, WithoutUserMeasurementsTheWholeMapFallsToZeroTotal) {
    CLogCapture log;
    measurements.AddMeasurement(3000, 4.0, 60, 0);
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(10, false));
    EXPECT_EQ(WrittenCells(), Uniform(-10)) << "base 10 plus cell -10";
    const std::vector<QueuedRequest> writes = Writes(kElementCorrectionMap);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ((std::vector<int>{writes[0].source[0], writes[0].source[1], writes[0].source[2],
                                writes[0].source[3]}),
              (std::vector<int>{0, 0, 4, 3}));
    EXPECT_TRUE(view.marks.empty());
    EXPECT_EQ(log.Messages("CConfigDynamic::CombineLastMeasurementsIntoMatrix()"),
              (std::vector<std::string>{"CConfigDynamic::CombineLastMeasurementsIntoMatrix(): started with "
                                        "offset 10% and option not masked.",
                                        "CConfigDynamic::CombineLastMeasurementsIntoMatrix(): finished."}));
}

TEST_F(MapFoldingTest, EqualMeasurementsGiveAFlatMap) {
    const struct {
        int rpm;
        double ms;
    } places[] = {{1000, 2.0}, {4800, 7.7}, {2600, 3.1}, {3900, 6.6}, {1200, 7.9}};

    for (const auto& p : places) {
        measurements.AddMeasurement(p.rpm, p.ms, 17, 1);
    }
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(-3, false));
    EXPECT_EQ(WrittenCells(), Uniform(20));
    EXPECT_EQ(view.marks.size(), 5u);
}

TEST_F(MapFoldingTest, PointsOnBreakpointsSetTheirCellsExactlyAndTheRestLiesBetween) {
    measurements.AddMeasurement(1000, 2.0, 40, 1);
    measurements.AddMeasurement(5000, 8.0, -20, 1);  // the last breakpoints: (450, 450) in the plane
    measurements.AddMeasurement(3000, 6.0, 7, 1);
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(0, false));
    const CCorrectionMap written = WorkingMap();
    EXPECT_EQ(written.GetCell(0, 0), 40);
    EXPECT_EQ(written.GetCell(3, 4), -20);
    EXPECT_EQ(written.GetCell(2, 2), 7);
    for (int cell : WrittenCells()) {
        EXPECT_GE(cell, -20);
        EXPECT_LE(cell, 40);
    }
}

TEST_F(MapFoldingTest, OnlyTheNewestOfCloseMeasurementsCounts) {
    measurements.AddMeasurement(3000, 4.0, 50, 1);
    measurements.AddMeasurement(3050, 4.1, -30, 1);  // a twentieth of a step away
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(0, false));
    EXPECT_EQ(WrittenCells(), Uniform(-30));
    ASSERT_EQ(view.marks.size(), 1u);
    EXPECT_EQ(view.marks[0]->percent, -30);
}

TEST_F(MapFoldingTest, MaskedFoldChangesOnlyBracketedCells) {
    map.FillBox(0, 0, 0, 3, 4);                     // a calibration runs on an emptied map
    measurements.AddMeasurement(2500, 5.0, 30, 1);  // columns 1-2, rows 1-2
    measurements.AddMeasurement(4500, 3.0, 30, 0);  // another kind: no cells of its own
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(5, true));
    const std::vector<int> cells = WrittenCells();
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            const bool bracketed = r >= 1 && r <= 2 && c >= 1 && c <= 2;
            EXPECT_EQ(cells[r * 5 + c], bracketed ? 25 : 10 * r + c) << r << ", " << c;
        }
    }
}

TEST_F(MapFoldingTest, ResultsBeyondASignedByteSaturate) {
    CLogCapture log;
    measurements.AddMeasurement(2000, 4.0, -95, 1);
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(10, false));
    EXPECT_EQ(WrittenCells(), Uniform(-100)) << "-105 % cannot be stored; -100 % is the nearest";
    EXPECT_EQ(log.Messages("CConfigDynamic: cell [").size(), 20u);
}

TEST_F(MapFoldingTest, MeasurementsBeyondTheLastBreakpointStillCount) {
    CLogCapture log;
    measurements.AddMeasurement(20000, 8.0, 12, 1);
    measurements.AddMeasurement(1000, 30.0, 12, 1);
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(0, false));
    EXPECT_EQ(WrittenCells(), Uniform(12));
    EXPECT_EQ(log.Messages("CConfigDynamic::CombineLastMeasurementsIntoMatrix(): 12% (").size(), 2u);
}

TEST_F(MapFoldingTest, MapsWithoutAPlaneAreLeftAlone) {
    const struct {
        const char* name;
        std::vector<int> rpm;
        std::vector<int> time;
    } cases[] = {{"last rpm 0", {0}, {1000, 2000}}, {"last time 0", {1000, 2000}, {0}}};

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.rpm, c.time, [](int, int) { return 3; });
        measurements.AddMeasurement(500, 1.0, 12, 1);
        EXPECT_FALSE(folding.CombineLastMeasurementsIntoMatrix(0, false));
        EXPECT_TRUE(Writes(kElementCorrectionMap).empty());
        EXPECT_EQ(map.GetCell(0, 0), 3);
    }
    CCorrectionMap empty;
    CMeasurementList none(empty);
    CMapFolding emptyFolding(empty, none);
    EXPECT_FALSE(emptyFolding.CombineLastMeasurementsIntoMatrix(0, true));
}

TEST_F(MapFoldingTest, OneBreakpointPerAxisStillFolds) {
    Load({3000}, {4000}, [](int, int) { return 3; });
    map.SaveMatrix();
    measurements.AddMeasurement(3000, 4.0, 21, 1);
    measurements.AddMeasurement(3001, 4.0, 22, 1);
    ASSERT_TRUE(folding.CombineLastMeasurementsIntoMatrix(1, false));
    // Without a step the two are a whole unit apart and stay two points; the cell takes
    // its own point's 21 %, stored against the offset.
    EXPECT_EQ(WorkingMap().GetCell(0, 0), 20);
    EXPECT_EQ(view.marks.size(), 2u);
}

TEST_F(MapFoldingTest, MeasuredCellsTakeTheirPercentLessTheOffset) {
    measurements.AddMeasurement(2500, 5.0, 30, 1);
    measurements.AddMeasurement(5000, 8.0, 40, 0);
    measurements.ConfirmNewMeasurements(false);
    folding.SetMeasuredCells(10);
    const std::vector<int> cells = WrittenCells();
    EXPECT_EQ(cells[1 * 5 + 1], 20);
    EXPECT_EQ(cells[2 * 5 + 2], 20);
    EXPECT_EQ(cells[3 * 5 + 4], 34) << "a measurement whose flags are 0 changes nothing";
    EXPECT_EQ(cells[0], 0);
}

TEST_F(MapFoldingTest, ColumnsScaleToTheirMeasurementsAndSpreadBetween) {
    measurements.AddMeasurement(2000, 4.0, 10, 0);
    measurements.AddMeasurement(4000, 6.0, 30, 0);
    measurements.AddMeasurement(5000, 8.0, 90, 1);  // of another kind: not a measured column
    measurements.ConfirmNewMeasurements(false);
    ASSERT_TRUE(folding.ScaleColumnsByMeasurements());
    const std::vector<int> row = {10, 10, 20, 30, 30};
    std::vector<int> expected;
    for (int r = 0; r < 4; ++r) {
        expected.insert(expected.end(), row.begin(), row.end());
    }
    EXPECT_EQ(WrittenCells(), expected);
    EXPECT_EQ(Writes(kElementCorrectionMap).size(), 1u);
}

TEST_F(MapFoldingTest, WithoutAMeasuredColumnNothingIsScaled) {
    measurements.AddMeasurement(3000, 5.0, 40, 1);
    measurements.ConfirmNewMeasurements(false);
    const int before = map.GetCell(1, 1);
    EXPECT_FALSE(folding.ScaleColumnsByMeasurements());
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty());
    EXPECT_EQ(map.GetCell(1, 1), before);
}

}  // namespace
