// The map page's edits on a 5 x 4 map over a connected, idle unit: what each edit writes
// to elements 7, 8, 32 and 98, what it refuses, and what a calibration leaves behind.
#include "config/CMapEditor.h"

#include "link/ElementTable.h"
#include "tests/config/model/CLogCapture.h"
#include "tests/config/model/MapModelFixture.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kEnglish = 0x0409;
constexpr int kFuelElement = 32;
constexpr int kResetElement = 98;

class MapEditorTest : public DataHandlerFixture {
protected:
    MapEditorTest() {
        editor.SetDataHandler(handler.get());
        editor.SetView(&view);
        ConnectIdle();
    }

    // rpm 1000..5000 (columns), 2..8 ms (rows), cell = 10 row + column.
    void LoadGrid(int basePercent = 28) {
        const std::vector<BYTE> bytes = EncodeMap({1000, 2000, 3000, 4000, 5000}, {2000, 4000, 6000, 8000},
                                                  [](int r, int c) { return 10 * r + c; });
        ASSERT_TRUE(editor.GetMap().ParseElementData(bytes.data(), bytes.size()));
        editor.GetMap().ParseBaseElementData(static_cast<BYTE>(basePercent - 28));
        queue.requests.clear();
    }

    std::vector<QueuedRequest> Writes(int element) const {
        std::vector<QueuedRequest> found;
        for (const QueuedRequest& r : queue.requests) {
            if (r.element == element) {
                found.push_back(r);
            }
        }
        return found;
    }

    std::vector<int> Cells() {
        std::vector<int> cells;
        for (int r = 0; r < editor.GetRowCount(); ++r) {
            for (int c = 0; c < editor.GetColumnCount(); ++c) {
                cells.push_back(editor.GetCell(r, c));
            }
        }
        return cells;
    }

    BYTE ElementByte(int element) {
        BYTE value = 0xEE;
        handler->ReadData(element, &value);
        return value;
    }

    CLogCapture log;
    CRecordingMapView view;
    CMapEditor editor;
};

TEST_F(MapEditorTest, TypedValuesAreCheckedBeforeAnyCellChanges) {
    struct Case {
        const char* text;
        int base;
        MapEditOutcome::Result result;
        int value;
    };

    const Case cases[] = {
        {"30", 80, MapEditOutcome::OutOfRange, 30},  {"-30", -80, MapEditOutcome::OutOfRange, -30},
        {"101", 0, MapEditOutcome::OutOfRange, 101}, {"-101", 0, MapEditOutcome::OutOfRange, -101},
        {"abc", 28, MapEditOutcome::NotANumber, 0},  {"1.5", 28, MapEditOutcome::NotANumber, 0},
        {"", 28, MapEditOutcome::NotANumber, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LoadGrid(c.base);
        const std::vector<int> before = Cells();
        const MapEditOutcome outcome = editor.EditCells(c.text, kEnglish, {0, 0, 1, 1});
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.value, c.value);
        EXPECT_EQ(Cells(), before);
        EXPECT_TRUE(queue.requests.empty());
    }
}

TEST_F(MapEditorTest, ATypedValueFillsTheBoxInOneWrite) {
    struct Case {
        MapCellBox box;
        std::vector<BYTE> record;  // corners, then cells in the box's orientation
    };

    constexpr BYTE k5 = static_cast<BYTE>(5 - 28);
    const Case cases[] = {
        {{1, 0, 3, 1}, {1, 0, 3, 1, k5, k5, k5, k5, k5, k5}},
        {{2, 1, 3, 3}, {2, 1, 3, 3, k5, k5, k5, k5, k5, k5}},
        {{4, 3, 4, 3}, {4, 3, 4, 3, k5}},
    };
    for (const Case& c : cases) {
        LoadGrid();
        ASSERT_EQ(editor.EditCells("5", kEnglish, c.box).result, MapEditOutcome::Done);
        const std::vector<QueuedRequest> writes = Writes(kElementCorrectionMap);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(std::vector<BYTE>(writes[0].source, writes[0].source + c.record.size()), c.record);
        for (int r = c.box.firstRow; r <= c.box.lastRow; ++r) {
            for (int col = c.box.firstColumn; col <= c.box.lastColumn; ++col) {
                EXPECT_EQ(editor.GetCell(r, col), 5);
            }
        }
    }
    EXPECT_EQ(log.Messages("CConfigDynamic.OnGridEndEdit(): box(4, 3, 4, 3) modified.").size(), 1u);
}

TEST_F(MapEditorTest, AStepChangesAllCellsOrNone) {
    LoadGrid();
    editor.GetMap().SetCell(1, 2, -95);
    const std::vector<int> before = Cells();
    const MapEditOutcome refused = editor.StepCells(-10, {1, 0, 3, 2});
    EXPECT_EQ(refused.result, MapEditOutcome::OutOfRange);
    EXPECT_EQ(refused.value, -95);
    EXPECT_EQ(Cells(), before);
    EXPECT_TRUE(queue.requests.empty());

    ASSERT_EQ(editor.StepCells(-10, {0, 2, 1, 3}).result, MapEditOutcome::Done);
    EXPECT_EQ(editor.GetCell(2, 0), 10);
    EXPECT_EQ(editor.GetCell(3, 1), 21);
    EXPECT_EQ(Writes(kElementCorrectionMap).size(), 1u);
    EXPECT_EQ(log.Messages("CConfigDynamic.OnHotKeys(): box(0, 2, 1, 3) modified by -10.").size(), 1u);
}

TEST_F(MapEditorTest, AStepIsCheckedAgainstTheBaseToo) {
    LoadGrid(95);
    const MapEditOutcome refused = editor.StepCells(2, {4, 0, 4, 0});
    EXPECT_EQ(refused.result, MapEditOutcome::OutOfRange);
    EXPECT_EQ(refused.value, 4);
    EXPECT_EQ(editor.StepCells(1, {0, 0, 3, 0}).result, MapEditOutcome::Done);
}

TEST_F(MapEditorTest, UndoAndRedoWriteTheBoxTheyRestore) {
    LoadGrid();
    editor.EditCells("7", kEnglish, {0, 0, 1, 0});
    editor.PasteCells({2, 1, 3, 1}, {-3, -4});
    EXPECT_EQ(editor.GetCell(1, 3), -4);
    queue.requests.clear();

    MapCellBox box;
    ASSERT_TRUE(editor.UndoBox(box));
    EXPECT_EQ(box.firstColumn, 2);
    EXPECT_EQ(box.lastRow, 1);
    EXPECT_EQ(editor.GetCell(1, 3), 13);
    ASSERT_EQ(Writes(kElementCorrectionMap).size(), 1u);
    ASSERT_TRUE(editor.RedoBox(box));
    EXPECT_EQ(editor.GetCell(1, 2), -3);
    EXPECT_EQ(log.Messages("CConfigDynamic.HandlePaste(): box(2, 1, 3, 1) modified.").size(), 1u);
    EXPECT_EQ(log.Messages("CConfigDynamic.OnGlobalHotKeys(ID_OP_UNDO): box(2, 1, 3, 1) modified.").size(),
              1u);
    EXPECT_EQ(log.Messages("CConfigDynamic.OnGridEndEdit(ID_OP_REDO): box(2, 1, 3, 1) modified.").size(), 1u);

    editor.EditCells("1", kEnglish, {4, 3, 4, 3});
    EXPECT_FALSE(editor.RedoBox(box)) << "a new edit drops what could be redone";
}

TEST_F(MapEditorTest, BaseTextIsCheckedAgainstTheCells) {
    struct Case {
        const char* text;
        MapEditOutcome::Result result;
        int value;
    };

    const Case cases[] = {
        {"50", MapEditOutcome::Done, 50},           {"66", MapEditOutcome::Done, 66},
        {"67", MapEditOutcome::OutOfRange, 67},     {"-100", MapEditOutcome::Done, -100},
        {"-101", MapEditOutcome::OutOfRange, -101}, {"x1", MapEditOutcome::NotANumber, 0},
    };
    LoadGrid();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const MapEditOutcome outcome = editor.CheckBaseText(c.text, kEnglish);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.value, c.value);
    }
}

TEST_F(MapEditorTest, CalibrationStartWritesTheRequestsOfItsMode) {
    struct Case {
        int mode;
        bool extended;
        std::vector<int> elements;
    };

    const Case cases[] = {
        {CMapEditor::kModePoints, false, {kFuelElement}},
        {CMapEditor::kModePoints, true, {kFuelElement, kResetElement}},
        {CMapEditor::kModeAdaptive, false, {kResetElement}},
        {CMapEditor::kModeContinuous, false, {kResetElement}},
    };
    LoadGrid();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        queue.requests.clear();
        editor.BeginCalibration(c.mode, c.extended, 0);
        std::vector<int> elements;
        for (const QueuedRequest& r : queue.requests) {
            elements.push_back(r.element);
        }
        EXPECT_EQ(elements, c.elements);
        editor.EndCalibration(c.mode, CMapEditor::kResultCancel);
    }
    EXPECT_EQ(log.Messages("ConfigDynamic: continuous cell calibration started.").size(), 1u);
    EXPECT_EQ(log.Messages("ConfigDynamic: adaptiv cell calibration cancelled.").size(), 1u);
}

TEST_F(MapEditorTest, ACancelledCalibrationRestoresMapBaseAndMeasurements) {
    LoadGrid(40);
    editor.AddMeasurement(2000, 4.0, 12, 1);
    editor.GetMeasurements().ConfirmNewMeasurements(false);
    const std::vector<int> before = Cells();
    editor.BeginCalibration(CMapEditor::kModePoints, false, 0xFF);
    editor.FillBox(-60, 0, 0, 3, 4);
    editor.SetBasePercent(90);
    editor.AddMeasurement(3000, 6.0, 20, 1);
    editor.AddMeasurement(4000, 6.0, 25, 1);

    editor.EndCalibration(CMapEditor::kModePoints, CMapEditor::kResultCancel);
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(editor.GetBasePercent(), 40);
    EXPECT_EQ(editor.GetMeasurements().GetMeasurements().size(), 1u);
    EXPECT_EQ(ElementByte(kFuelElement), CMapEditor::kFuelGas) << "the unit ran on gas at the start";
    MapCellBox box;
    EXPECT_FALSE(editor.RedoBox(box)) << "the calibration's undo step is gone";
    EXPECT_EQ(log.Messages("ConfigDynamic: cell calibration cancelled.").size(), 1u);
}

// The unit reports its adaptation in bit 7 of byte 6 of element 95; a calibration that switched
// it off switches it on again when cancelled, and only then.
TEST_F(MapEditorTest, ACancelledCalibrationSwitchesTheAdaptationBackOn) {
    struct Case {
        const char* name;
        int mode;
        bool extended;
        BYTE status;
        int result;
        std::vector<BYTE> written;  // the values of element 98, in order
    };

    constexpr int kPoints = CMapEditor::kModePoints;
    constexpr int kContinuous = CMapEditor::kModeContinuous;
    constexpr int kCancel = CMapEditor::kResultCancel;
    const Case cases[] = {
        {"points, extended, on, cancelled", kPoints, true, 0x8F, kCancel, {0x00, 0xFF}},
        {"continuous, on, cancelled", kContinuous, false, 0x80, kCancel, {0x00, 0xFF}},
        {"points, extended, off, cancelled", kPoints, true, 0x0F, kCancel, {0x00}},
        {"points, not extended: left alone", kPoints, false, 0x8F, kCancel, {}},
        {"continuous, on, finished", kContinuous, false, 0x8F, 1, {0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadGrid();
        std::vector<BYTE> obd(static_cast<std::size_t>(handler->GetElementLength(95)));
        obd[6] = c.status;
        handler->WriteDataLocal(95, obd.data());
        std::vector<BYTE> written;
        editor.BeginCalibration(c.mode, c.extended, 0);
        written.insert(written.end(), Writes(kResetElement).size(), ElementByte(kResetElement));
        queue.requests.clear();
        editor.EndCalibration(c.mode, c.result);
        written.insert(written.end(), Writes(kResetElement).size(), ElementByte(kResetElement));
        EXPECT_EQ(written, c.written);
    }
}

TEST_F(MapEditorTest, ACancelAfterTheMapWasReloadedStillRestoresIt) {
    LoadGrid(40);
    const std::vector<int> before = Cells();
    editor.BeginCalibration(CMapEditor::kModeContinuous, false, 0);
    editor.FillBox(3, 0, 0, 3, 4);
    editor.GetMap().ClearUndo();
    editor.GetMap().ClearRedo();
    editor.EndCalibration(CMapEditor::kModeContinuous, CMapEditor::kResultCancel);
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(ElementByte(kFuelElement), 0);
}

TEST_F(MapEditorTest, AFinishedCalibrationFoldsAroundTheSavedBase) {
    struct Case {
        int mode;
        int result;
        bool masked;
        const char* line;
    };

    const Case cases[] = {
        {CMapEditor::kModePoints, CMapEditor::kResultMasked, true,
         "ConfigDynamic: cell calibration finished (masked)."},
        {CMapEditor::kModePoints, 1, false, "ConfigDynamic: cell calibration finished (full)."},
        {CMapEditor::kModeContinuous, CMapEditor::kResultMasked, false,
         "ConfigDynamic: continuous cell calibration finished (full)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        LoadGrid(30);
        editor.GetMeasurements().DeleteAllMeasurements();
        editor.BeginCalibration(c.mode, false, 0);
        editor.SetBasePercent(35);
        editor.AddMeasurement(3000, 4.0, 50, 1);
        editor.EndCalibration(c.mode, c.result);
        EXPECT_EQ(editor.GetBasePercent(), 30);
        EXPECT_EQ(editor.GetCell(1, 2) + editor.GetBasePercent(), 50) << "the measured total at its cell";
        EXPECT_EQ(editor.GetCell(3, 0) == 30, c.masked) << "a cell far from the measurement";
        EXPECT_FALSE(editor.HasNewMeasurement());
        EXPECT_EQ(log.Messages(c.line).size(), 1u);
    }
}

TEST_F(MapEditorTest, TotalizeIsOneUndoStep) {
    LoadGrid(20);
    editor.AddMeasurement(2000, 4.0, 44, 1);
    editor.GetMeasurements().ConfirmNewMeasurements(false);
    const std::vector<int> before = Cells();
    editor.Totalize();
    EXPECT_EQ(editor.GetCell(1, 1) + 20, 44);
    EXPECT_EQ(editor.GetBasePercent(), 20);
    MapCellBox box;
    ASSERT_TRUE(editor.UndoBox(box));
    EXPECT_EQ(Cells(), before);
}

TEST_F(MapEditorTest, CellColoursJudgeTheInjectionAgainstTheCycle) {
    // At 1000 1/min a cycle is 120 ms: 8 ms is fine; at 60000 1/min 60 ms is longer than the cycle.
    const std::vector<BYTE> bytes = EncodeMap({1000, 60000}, {8000, 60000}, [](int, int) { return 0; });
    ASSERT_TRUE(editor.GetMap().ParseElementData(bytes.data(), bytes.size()));
    editor.GetMap().ParseBaseElementData(static_cast<BYTE>(0 - 28));
    editor.SetCrankAngle(36);
    EXPECT_EQ(editor.CellTextColour(0, 0), 0u);
    EXPECT_EQ(editor.CellTextColour(1, 1), 0x2020C0u);
    editor.SetMinimumInjection(9000);
    EXPECT_EQ(editor.CellTextColour(0, 0), 0xC04040u) << "shorter than the minimum injection time";
}

TEST_F(MapEditorTest, CoverageColoursAlternateByRow) {
    struct Case {
        int kind;
        int row;
        DWORD colour;
    };

    const Case cases[] = {
        {0, 1, 0xE0E0FF},  {0, 2, 0xD0D0EF},  {1, 3, 0xE0FFE0}, {1, 0, 0xD0EFD0},
        {-1, 1, 0xFFE0E0}, {-1, 0, 0xEFD0D0}, {5, 1, 0xFFE0E0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CMapEditor::CoverageColour(c.kind, c.row), c.colour) << c.kind << " row " << c.row;
    }
}

TEST_F(MapEditorTest, SummaryShowsTheCellsTimes) {
    LoadGrid(40);
    editor.SetCrankAngle(36);  // 360 degrees: half the cycle
    editor.SetMinimumInjection(1500);
    const char* format = "%d|%d|%d|%.2f|%.2f|%d|%.2f";
    // Row 1 (4 ms), column 1 (2000 1/min, a 60 ms cycle): the angle allows 30 ms.
    EXPECT_EQ(std::string(editor.FormatSummary(format, 1, 1)), "11|40|51|1.50|60.00|2000|6.04");
    editor.SetCrankAngle(0);
    // No angle: the whole breakpoint time stands.
    EXPECT_EQ(std::string(editor.FormatSummary(format, 3, 0)), "30|40|70|8.00|120.00|1000|13.60");
}

}  // namespace
