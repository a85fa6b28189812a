// Measurements on the map: their flags and cells, undo and redo, the exchange with the
// data handler's list, the grouping by distance, and the marks that must never point
// at a deleted measurement.
#include "config/CMeasurementList.h"

#include "tests/config/model/CLogCapture.h"
#include "tests/config/model/MapModelFixture.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

class MeasurementListTest : public MapModelFixture {
protected:
    MeasurementListTest() { LoadGrid(); }

    std::vector<const CMapMeasurement*> All() const {
        std::vector<const CMapMeasurement*> all;
        for (const auto& m : measurements.GetMeasurements()) {
            all.push_back(m.get());
        }
        return all;
    }

    // Every mark points at a measurement that is still listed.
    void ExpectMarksListed() const {
        const std::vector<const CMapMeasurement*> all = All();
        for (const CMapMeasurement* mark : view.marks) {
            EXPECT_NE(std::find(all.begin(), all.end(), mark), all.end());
        }
    }
};

TEST_F(MeasurementListTest, NewMeasurementsCarryBit15UntilConfirmed) {
    CLogCapture log;

    const struct {
        int kind;
        int flags;
        int confirmed;
    } cases[] = {{1, 0x8001, 1}, {0, 0x8000, 0}, {3, 0x8003, 3}, {0x10002, 0x18002, 0x10002}};

    const int titlesBefore = mainWindow.titleUpdates;
    for (const auto& c : cases) {
        measurements.AddMeasurement(2600, 5.1, 17, c.kind);
    }
    EXPECT_EQ(mainWindow.titleUpdates - titlesBefore, 4)
        << "every measurement marks the configuration modified";
    EXPECT_EQ(view.coverageShown, 4);
    EXPECT_TRUE(measurements.HasNewMeasurement());
    int i = 0;
    for (const auto& m : measurements.GetMeasurements()) {
        EXPECT_EQ(m->flags, cases[i++].flags);
        EXPECT_EQ(m->cell.nearestColumn, 2);
        EXPECT_EQ(m->cell.nearestRow, 2);
        EXPECT_EQ(m->cell.lowerColumn, 1);
        EXPECT_EQ(m->cell.upperColumn, 2);
        EXPECT_EQ(m->cell.lowerRow, 1);
        EXPECT_EQ(m->cell.upperRow, 2);
    }
    measurements.ConfirmNewMeasurements(false);
    i = 0;
    for (const auto& m : measurements.GetMeasurements()) {
        EXPECT_EQ(m->flags, cases[i++].confirmed);
    }
    EXPECT_FALSE(measurements.HasNewMeasurement());
    const std::vector<std::string> lines = log.Messages("CConfigDynamic::AddMeasurement()");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "CConfigDynamic::AddMeasurement(): 17% (2600 1/min, 5.1000 ms) at [2; 2]");
}

TEST_F(MeasurementListTest, UndoTakesBackOnlyNewMeasurementsAndRedoRestoresThemInOrder) {
    measurements.AddMeasurement(1000, 2.0, 5, 1);
    measurements.ConfirmNewMeasurements(false);
    measurements.UndoLastMeasurement();
    EXPECT_EQ(measurements.GetMeasurements().size(), 1u) << "a confirmed measurement stays";
    EXPECT_FALSE(measurements.HasUndoneMeasurements());

    const CMapMeasurement* second = measurements.AddMeasurement(2000, 4.0, 6, 1);
    const CMapMeasurement* third = measurements.AddMeasurement(3000, 6.0, 7, 1);
    measurements.UndoLastMeasurement();
    measurements.UndoLastMeasurement();
    EXPECT_EQ(measurements.GetMeasurements().size(), 1u);
    ASSERT_EQ(measurements.GetUndone().size(), 2u);
    EXPECT_EQ(measurements.GetUndone().front().get(), second) << "the most recent undo is at the head";

    measurements.RedoMeasurement();
    EXPECT_EQ(measurements.GetMeasurements().back().get(), second);
    measurements.RedoMeasurement();
    EXPECT_EQ(measurements.GetMeasurements().back().get(), third);
    EXPECT_FALSE(measurements.HasUndoneMeasurements());
    measurements.RedoMeasurement();
    EXPECT_EQ(measurements.GetMeasurements().size(), 3u);
}

TEST_F(MeasurementListTest, StoreKeepsUserMeasurementsAndReloadBringsThemBackConfirmed) {
    measurements.AddMeasurement(1500, 3.0, 12, 1);
    measurements.AddMeasurement(2500, 5.0, -8, 0);
    measurements.AddMeasurement(4200, 7.2345, 40, 1);
    measurements.ConfirmNewMeasurements(false);
    measurements.AddMeasurement(1000, 2.0, 3, 1);
    measurements.StoreMeasurements();

    CPtrList stored;
    handler->CopyMeasurements(stored);
    ASSERT_EQ(stored.GetCount(), 3);
    std::vector<ConfigMeasurement> records;
    for (POSITION pos = stored.GetHeadPosition(); pos != nullptr;) {
        records.push_back(*static_cast<ConfigMeasurement*>(stored.GetNext(pos)));
    }
    EXPECT_EQ(records[1].rpm, 4200);
    EXPECT_EQ(records[1].injectionUs, 7234);
    EXPECT_EQ(records[1].value, 40);
    EXPECT_EQ(records[2].rpm, 1000) << "a new kind-1 measurement is stored too";

    measurements.UndoLastMeasurement();
    measurements.ReloadMeasurements();
    EXPECT_FALSE(measurements.HasUndoneMeasurements());
    ASSERT_EQ(measurements.GetMeasurements().size(), 3u);
    const CMapMeasurement& reloaded = *measurements.GetMeasurements().front();
    EXPECT_EQ(reloaded.flags, 1);
    EXPECT_EQ(reloaded.rpm, 1500);
    EXPECT_DOUBLE_EQ(reloaded.injectionMs, 3.0);
    EXPECT_EQ(reloaded.percent, 12);
    EXPECT_EQ(reloaded.cell.lowerColumn, 0);
    EXPECT_EQ(reloaded.cell.upperColumn, 1);
    EXPECT_EQ(view.marks.size(), 3u);
    ExpectMarksListed();
}

TEST_F(MeasurementListTest, MeasurementsWithinAQuarterStepFormOneGroupRepresentedByTheNewest) {
    // Steps: 1000 1/min and 2 ms. d = (dms / 2)^2 + (drpm / 1000)^2 < 0.0625.
    const struct {
        const char* name;
        int rpm;
        double ms;
        int kind;
        int groups;
    } cases[] = {
        {"a tenth of a step on both axes", 2100, 4.2, 1, 1},
        {"0.3 steps in rpm (d = 0.09)", 2300, 4.0, 1, 2},
        {"0.24 steps in rpm", 2240, 4.0, 1, 1},
        {"0.25 steps in rpm (d = 0.0625)", 2250, 4.0, 1, 2},
        {"0.2 steps in rpm and 0.2 in time (d = 0.08)", 2200, 4.4, 1, 2},
        {"close but of another kind", 2010, 4.0, 0, 1},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        measurements.DeleteAllMeasurements();
        CMapMeasurement* older = measurements.AddMeasurement(2000, 4.0, 10, 1);
        CMapMeasurement* newer = measurements.AddMeasurement(c.rpm, c.ms, 20, c.kind);
        std::vector<CMapMeasurement*> groups;
        measurements.CollectMeasurementGroups(groups, map.GetRpmStep(), map.GetTimeStep());
        ASSERT_EQ(static_cast<int>(groups.size()), c.groups);
        if (c.groups == 1 && c.kind == 1) {
            EXPECT_EQ(groups[0], newer);
            EXPECT_EQ(newer->mergedNext, older);
            EXPECT_EQ(older->mergedInto, newer);
        }
        if (c.groups == 2) {
            EXPECT_EQ(groups[0], older) << "the oldest group comes first";
            EXPECT_EQ(older->mergedInto, nullptr);
        }
    }
}

TEST_F(MeasurementListTest, OlderMeasurementsChainBehindTheirRepresentativeInAgeOrder) {
    CMapMeasurement* first = measurements.AddMeasurement(3000, 6.0, 1, 1);
    CMapMeasurement* far = measurements.AddMeasurement(1000, 2.0, 2, 1);
    CMapMeasurement* second = measurements.AddMeasurement(3050, 6.0, 3, 1);
    CMapMeasurement* third = measurements.AddMeasurement(3000, 6.1, 4, 1);
    std::vector<CMapMeasurement*> groups;
    measurements.CollectMeasurementGroups(groups, map.GetRpmStep(), map.GetTimeStep());
    ASSERT_EQ(groups, (std::vector<CMapMeasurement*>{far, third}));
    EXPECT_EQ(third->mergedNext, second);
    EXPECT_EQ(second->mergedNext, first);
    EXPECT_EQ(first->mergedInto, second);
    EXPECT_EQ(first->mergedNext, nullptr);

    measurements.ConfirmNewMeasurements(true);
    EXPECT_EQ(All(), (std::vector<const CMapMeasurement*>{far, third}));
    for (const CMapMeasurement* m : All()) {
        EXPECT_EQ(m->flags, 1);
        EXPECT_EQ(m->mergedNext, nullptr);
    }
    ExpectMarksListed();
}

TEST_F(MeasurementListTest, MarksAreRebuiltWheneverMeasurementsAreDeleted) {
    const struct {
        const char* name;
        std::function<void(CMeasurementList&, CMapMeasurement*)> remove;
        std::size_t left;
    } cases[] = {
        {"new ones deleted", [](CMeasurementList& l, CMapMeasurement*) { l.DeleteNewMeasurements(); }, 1},
        {"one removed", [](CMeasurementList& l, CMapMeasurement* m) { l.RemoveMeasurement(m); }, 2},
        {"all deleted", [](CMeasurementList& l, CMapMeasurement*) { l.DeleteAllMeasurements(); }, 0},
        {"undone ones cleared",
         [](CMeasurementList& l, CMapMeasurement*) {
             l.UndoLastMeasurement();
             l.ClearUndoneMeasurements();
         },
         2},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        measurements.DeleteAllMeasurements();
        measurements.AddMeasurement(1000, 2.0, 1, 1);
        measurements.ConfirmNewMeasurements(false);
        CMapMeasurement* middle = measurements.AddMeasurement(3000, 4.0, 2, 1);
        measurements.AddMeasurement(5000, 8.0, 3, 1);
        measurements.RefreshMeasurementMarks();
        ASSERT_EQ(view.marks.size(), 3u);

        c.remove(measurements, middle);
        EXPECT_EQ(measurements.GetMeasurements().size(), c.left);
        EXPECT_EQ(view.marks.size(), c.left);
        ExpectMarksListed();
    }
}

TEST_F(MeasurementListTest, EditedMeasurementFindsItsCellsAgain) {
    CMapMeasurement* m = measurements.AddMeasurement(1000, 2.0, 1, 1);
    measurements.ChangeMeasurement(m, 4900, 7.9, -3);
    EXPECT_EQ(m->percent, -3);
    EXPECT_EQ(m->cell.nearestColumn, 4);
    EXPECT_EQ(m->cell.nearestRow, 3);
    EXPECT_EQ(m->cell.lowerColumn, 3);
    EXPECT_EQ(m->cell.lowerRow, 2);
}

TEST_F(MeasurementListTest, CoverageTakesTheKindOfTheLastMeasurementOverEachCell) {
    measurements.AddMeasurement(1500, 3.0, 1, 1);  // columns 0-1, rows 0-1
    measurements.AddMeasurement(2000, 4.0, 1, 0);  // cell (1, 1) alone
    measurements.AddMeasurement(5000, 9.0, 1, 4);  // beyond both ends: (3, 4)
    const std::vector<int> coverage = measurements.GetCoverage();
    const std::vector<int> expected = {
        1,  1,  -1, -1, -1,  //
        1,  0,  -1, -1, -1,  //
        -1, -1, -1, -1, -1,  //
        -1, -1, -1, -1, 4,   //
    };
    EXPECT_EQ(coverage, expected);
}

}  // namespace
