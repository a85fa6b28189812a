// The edits that the map page makes on the adaptive correction map, kept free of windows
// so that they run the same under test as behind the page: typed, stepped and pasted box
// edits with their checks, undo and redo, the base percent, totalizing the measurements,
// the start and the end of a cell calibration, and the colours and summary text of the
// cells. It owns the map model, its measurements and their folding, and is what the
// calibration dialogs work on. UI thread only.
#pragma once

#include "calib/ICalibrationMap.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"
#include "config/CCorrectionMap.h"
#include "config/CMapFolding.h"
#include "config/CMeasurementList.h"

#include <vector>

class CDataHandler;
class IMapModelView;

// A rectangle of map cells, zero-based, corners included.
struct MapCellBox {
    int firstColumn = 0;
    int firstRow = 0;
    int lastColumn = 0;
    int lastRow = 0;
};

struct MapEditOutcome {
    enum Result {
        Done,
        NotANumber,  // "Attempt to write an invalid element: %s."
        OutOfRange,  // "Element out of range: %d." with value
        NoBox        // nothing to change
    };

    Result result = Done;
    int value = 0;
};

class CMapEditor : public ICalibrationMap {
public:
    // The three ways of a cell calibration, as the mode menu numbers them.
    static constexpr int kModePoints = 1;
    static constexpr int kModeAdaptive = 2;
    static constexpr int kModeContinuous = 3;
    // Results of a calibration dialog.
    static constexpr int kResultCancel = 2;
    static constexpr int kResultMasked = 6;
    // Element 32 at the end of a calibration while the unit ran on gas at its start.
    static constexpr BYTE kFuelGas = 170;

    CMapEditor();

    CMapEditor(const CMapEditor&) = delete;
    CMapEditor& operator=(const CMapEditor&) = delete;

    // Neither is owned; without a handler nothing is written.
    void SetDataHandler(CDataHandler* handler);
    void SetView(IMapModelView* view);

    CCorrectionMap& GetMap() { return m_map; }

    const CCorrectionMap& GetMap() const { return m_map; }

    CMeasurementList& GetMeasurements() { return m_measurements; }

    // Element 6 (crank angle in 10 degree steps) and element 50 (0.001 ms).
    void SetCrankAngle(int tensOfDegrees) { m_crankAngle = tensOfDegrees; }

    void SetMinimumInjection(int injectionUs) { m_minimumInjectionUs = injectionUs; }

    // --- ICalibrationMap -------------------------------------------------------------------
    int GetRowCount() override { return m_map.GetRowCount(); }

    int GetColumnCount() override { return m_map.GetColumnCount(); }

    bool FindNearestCell(int rpm, double injectionMs, int& row, int& column) override;

    int GetCell(int row, int column) override { return m_map.GetCell(row, column); }

    int GetInterpolatedValue(int rpm, double injectionMs) override {
        return m_map.GetInterpolatedValue(rpm, injectionMs);
    }

    int GetBasePercent() override { return m_map.GetBasePercent(); }

    int SetBasePercent(int percent) override { return m_map.SetBasePercent(percent); }

    void FillBox(int percent, int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        m_map.FillBox(percent, firstRow, firstColumn, lastRow, lastColumn);
    }

    void RestoreSavedMatrix() override { m_map.RestoreSavedMatrix(); }

    void CombineLastMeasurementsIntoMatrix(int offset, bool masked) override {
        m_folding.CombineLastMeasurementsIntoMatrix(offset, masked);
    }

    void AddMeasurement(int rpm, double injectionMs, int percent, int kind) override {
        m_measurements.AddMeasurement(rpm, injectionMs, percent, kind);
    }

    bool HasNewMeasurement() override { return m_measurements.HasNewMeasurement(); }

    bool HasUndoneMeasurements() override { return m_measurements.HasUndoneMeasurements(); }

    void UndoLastMeasurement() override { m_measurements.UndoLastMeasurement(); }

    void RedoMeasurement() override { m_measurements.RedoMeasurement(); }

    void ClearUndoneMeasurements() override { m_measurements.ClearUndoneMeasurements(); }

    void ShowMeasurementCoverage() override;

    // --- Edits of the page -----------------------------------------------------------------
    // A typed value for every cell of the box.
    MapEditOutcome EditCells(LPCSTR text, DWORD languageId, const MapCellBox& box);
    // Adds step to every cell of the box, or changes nothing when one cell would leave the
    // limits (its current percent is reported).
    MapEditOutcome StepCells(int step, const MapCellBox& box);
    // The box's new percents, row by row, already checked by the grid.
    void PasteCells(const MapCellBox& box, const std::vector<int>& percents);
    bool UndoBox(MapCellBox& box);
    bool RedoBox(MapCellBox& box);
    // The typed base percent, checked; value is the percent when Done.
    MapEditOutcome CheckBaseText(LPCSTR text, DWORD languageId) const;
    // Folds every measurement into the map around the current base; one undo step.
    void Totalize();

    // --- Cell calibration ---------------------------------------------------------------------
    // Keeps the map for a cancel, writes the requests to the unit and logs the start.
    // extended is the element-79 flag; fuelStatus the first byte of element 30.
    void BeginCalibration(int mode, bool extended, BYTE fuelStatus);
    // Applies the dialog's result: a cancel restores map, base, measurements and the unit's
    // adaptation when the start switched it off; otherwise the measurements are folded
    // (masked on result 6 of the point calibration). Then the unit gets its fuel request back.
    void EndCalibration(int mode, int result);

    // --- Display ---------------------------------------------------------------------------
    // The text colour (0x00BBGGRR) that judges a cell's injection time against the engine cycle.
    DWORD CellTextColour(int row, int column) const;
    // The background of a cell covered by measurements of kind (-1: none).
    static DWORD CoverageColour(int kind, int row);
    // The summary of a cell from the string table's format (its seven conversions).
    CString FormatSummary(LPCSTR format, int row, int column) const;

private:
    MapCellBox WholeMap() const;
    bool FitsLimits(int percent) const;
    void WriteEditedBox(const MapCellBox& box, LPCSTR origin);
    void WriteFuelRequest(int element, BYTE value);
    // The unit's adaptation as element 95 last reported it.
    bool IsAdaptationOn() const;

    CCorrectionMap m_map;
    CMeasurementList m_measurements{m_map};
    CMapFolding m_folding{m_map, m_measurements};
    CDataHandler* m_handler = nullptr;  // not owned
    IMapModelView* m_view = nullptr;    // not owned
    int m_crankAngle = 0;
    int m_minimumInjectionUs = 1000;
    BYTE m_fuelStatusAtStart = 0;
    bool m_adaptationOffByCalibration = false;
};
