#include "config/CMapEditor.h"

#include "classlib/core/FormatText.h"
#include "config/IMapModelView.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/NumberChecks.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kLogMapEdits = 2000;
constexpr int kLogCalibration = 3000;
constexpr int kFuelRequestElement = 32;
constexpr int kCalibrationResetElement = 98;
constexpr BYTE kAdaptationOn = 0xFF;
constexpr int kObdBlockElement = 95;
constexpr int kObdStatusOffset = 6;
constexpr BYTE kAdaptationOnBit = 0x80;
constexpr double kCycleUsRpm = 1.2e8;  // two revolutions in 0.001 ms at 1 1/min
constexpr double kMaxAngleTimeUs = 20000;

struct CalibrationTexts {
    const char* started;
    const char* cancelled;
    const char* finished;
};

const CalibrationTexts& TextsOfMode(int mode) {
    static const CalibrationTexts points = {"ConfigDynamic: cell calibration started.",
                                            "ConfigDynamic: cell calibration cancelled.",
                                            "ConfigDynamic: cell calibration finished (full)."};
    static const CalibrationTexts adaptive = {"ConfigDynamic: adaptiv cell calibration started.",
                                              "ConfigDynamic: adaptiv cell calibration cancelled.",
                                              "ConfigDynamic: adaptiv cell calibration finished (full)."};
    static const CalibrationTexts continuous = {
        "ConfigDynamic: continuous cell calibration started.",
        "ConfigDynamic: continuous cell calibration cancelled.",
        "ConfigDynamic: continuous cell calibration finished (full)."};
    if (mode == CMapEditor::kModeAdaptive) {
        return adaptive;
    }
    return mode == CMapEditor::kModeContinuous ? continuous : points;
}

}  // namespace

CMapEditor::CMapEditor() = default;

void CMapEditor::SetDataHandler(CDataHandler* handler) {
    m_handler = handler;
    m_map.SetDataHandler(handler);
    m_measurements.SetDataHandler(handler);
}

void CMapEditor::SetView(IMapModelView* view) {
    m_view = view;
    m_measurements.SetView(view);
}

bool CMapEditor::FindNearestCell(int rpm, double injectionMs, int& row, int& column) {
    CMapCellBracket bracket;
    const bool found = m_map.FindNearestCell(rpm, injectionMs, bracket);
    row = bracket.nearestRow;
    column = bracket.nearestColumn;
    return found;
}

void CMapEditor::ShowMeasurementCoverage() {
    if (m_view != nullptr) {
        m_view->ShowMeasurementCoverage();
    }
}

MapCellBox CMapEditor::WholeMap() const {
    return {0, 0, m_map.GetColumnCount() - 1, m_map.GetRowCount() - 1};
}

bool CMapEditor::FitsLimits(int percent) const {
    const int total = percent + m_map.GetBasePercent();
    return percent >= CCorrectionMap::kMinPercent && percent <= CCorrectionMap::kMaxPercent &&
           total >= CCorrectionMap::kMinPercent && total <= CCorrectionMap::kMaxPercent;
}

void CMapEditor::WriteEditedBox(const MapCellBox& box, LPCSTR origin) {
    m_map.WriteBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
    CLogger::Instance().Log(kLogMapEdits, "%s: box(%d, %d, %d, %d) modified.", origin, box.firstColumn,
                            box.firstRow, box.lastColumn, box.lastRow);
}

MapEditOutcome CMapEditor::EditCells(LPCSTR text, DWORD languageId, const MapCellBox& box) {
    if (!IsValidNumberText(languageId, text)) {
        return {MapEditOutcome::NotANumber, 0};
    }
    const int percent = static_cast<int>(std::strtol(text, nullptr, 10));
    if (!FitsLimits(percent)) {
        return {MapEditOutcome::OutOfRange, percent};
    }
    if (!m_map.IsValidBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow)) {
        return {MapEditOutcome::NoBox, 0};
    }
    m_map.PushUndoBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
    for (int r = box.firstRow; r <= box.lastRow; ++r) {
        for (int c = box.firstColumn; c <= box.lastColumn; ++c) {
            m_map.SetCell(r, c, percent);
        }
    }
    WriteEditedBox(box, "CConfigDynamic.OnGridEndEdit()");
    return {MapEditOutcome::Done, percent};
}

MapEditOutcome CMapEditor::StepCells(int step, const MapCellBox& box) {
    if (!m_map.IsValidBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow)) {
        return {MapEditOutcome::NoBox, 0};
    }
    for (int r = box.firstRow; r <= box.lastRow; ++r) {
        for (int c = box.firstColumn; c <= box.lastColumn; ++c) {
            if (!FitsLimits(m_map.GetCell(r, c) + step)) {
                return {MapEditOutcome::OutOfRange, m_map.GetCell(r, c)};
            }
        }
    }
    m_map.PushUndoBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
    for (int r = box.firstRow; r <= box.lastRow; ++r) {
        for (int c = box.firstColumn; c <= box.lastColumn; ++c) {
            m_map.SetCell(r, c, m_map.GetCell(r, c) + step);
        }
    }
    m_map.WriteBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
    CLogger::Instance().Log(kLogMapEdits, "CConfigDynamic.OnHotKeys(): box(%d, %d, %d, %d) modified by %d.",
                            box.firstColumn, box.firstRow, box.lastColumn, box.lastRow, step);
    return {MapEditOutcome::Done, step};
}

void CMapEditor::PasteCells(const MapCellBox& box, const std::vector<int>& percents) {
    const int width = box.lastColumn - box.firstColumn + 1;
    const int height = box.lastRow - box.firstRow + 1;
    if (!m_map.IsValidBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow) ||
        percents.size() != static_cast<std::size_t>(width * height)) {
        return;
    }
    m_map.PushUndoBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
    std::size_t at = 0;
    for (int r = box.firstRow; r <= box.lastRow; ++r) {
        for (int c = box.firstColumn; c <= box.lastColumn; ++c) {
            m_map.SetCell(r, c, percents[at++]);
        }
    }
    WriteEditedBox(box, "CConfigDynamic.HandlePaste()");
}

bool CMapEditor::UndoBox(MapCellBox& box) {
    if (!m_map.Undo(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow)) {
        return false;
    }
    WriteEditedBox(box, "CConfigDynamic.OnGlobalHotKeys(ID_OP_UNDO)");
    return true;
}

bool CMapEditor::RedoBox(MapCellBox& box) {
    if (!m_map.Redo(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow)) {
        return false;
    }
    WriteEditedBox(box, "CConfigDynamic.OnGridEndEdit(ID_OP_REDO)");
    return true;
}

MapEditOutcome CMapEditor::CheckBaseText(LPCSTR text, DWORD languageId) const {
    if (!IsValidNumberText(languageId, text)) {
        return {MapEditOutcome::NotANumber, 0};
    }
    const int percent = static_cast<int>(std::strtol(text, nullptr, 10));
    if (percent < CCorrectionMap::kMinPercent || percent > CCorrectionMap::kMaxPercent ||
        !m_map.CheckBaseAgainstCells(percent)) {
        return {MapEditOutcome::OutOfRange, percent};
    }
    return {MapEditOutcome::Done, percent};
}

void CMapEditor::Totalize() {
    if (m_map.IsEmpty()) {
        return;
    }
    const MapCellBox whole = WholeMap();
    m_map.PushUndoBox(whole.firstColumn, whole.firstRow, whole.lastColumn, whole.lastRow);
    m_measurements.ClearUndoneMeasurements();
    m_folding.CombineLastMeasurementsIntoMatrix(m_map.GetBasePercent(), false);
}

void CMapEditor::WriteFuelRequest(int element, BYTE value) {
    if (m_handler != nullptr) {
        m_handler->WriteData(element, &value);
    }
}

bool CMapEditor::IsAdaptationOn() const {
    if (m_handler == nullptr) {
        return false;
    }
    std::vector<BYTE> block(
        static_cast<std::size_t>(std::max(m_handler->GetElementLength(kObdBlockElement), 0)));
    if (block.size() <= kObdStatusOffset) {
        return false;
    }
    m_handler->ReadData(kObdBlockElement, block.data());
    return (block[kObdStatusOffset] & kAdaptationOnBit) != 0;
}

void CMapEditor::BeginCalibration(int mode, bool extended, BYTE fuelStatus) {
    const MapCellBox whole = WholeMap();
    m_map.PushUndoBox(whole.firstColumn, whole.firstRow, whole.lastColumn, whole.lastRow);
    m_map.SaveMatrix();
    m_measurements.ClearUndoneMeasurements();
    m_fuelStatusAtStart = fuelStatus;
    if (mode == kModePoints) {
        WriteFuelRequest(kFuelRequestElement, 0);
    }
    m_adaptationOffByCalibration = false;
    if (mode != kModePoints || extended) {
        m_adaptationOffByCalibration = IsAdaptationOn();
        WriteFuelRequest(kCalibrationResetElement, 0);
    }
    CLogger::Instance().Log(kLogCalibration, "%s", TextsOfMode(mode).started);
}

void CMapEditor::EndCalibration(int mode, int result) {
    const CalibrationTexts& texts = TextsOfMode(mode);
    const int savedBase = m_map.GetSavedBasePercent();
    CLogger& log = CLogger::Instance();
    if (result == kResultCancel) {
        MapCellBox box;
        // A full reload of the map during the calibration empties the undo list; the copy
        // saved at the start still brings the map back when its size did not change.
        if (m_map.Undo(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow)) {
            m_map.DropLastRedo();
            m_map.RestoreBasePercent(savedBase);
            m_map.WriteWholeMap();
        } else {
            m_map.RestoreSavedMatrix();
        }
        m_measurements.DeleteNewMeasurements();
        m_measurements.RefreshMeasurementMarks();
        if (m_adaptationOffByCalibration) {
            WriteFuelRequest(kCalibrationResetElement, kAdaptationOn);
        }
        log.Log(kLogCalibration, "%s", texts.cancelled);
    } else {
        const bool masked = mode == kModePoints && result == kResultMasked;
        m_folding.CombineLastMeasurementsIntoMatrix(savedBase, masked);
        // Folded cells may lie beyond the edit limits; the base goes back all the same.
        m_map.RestoreBasePercent(savedBase);
        m_measurements.ConfirmNewMeasurements(mode == kModeContinuous);
        log.Log(kLogCalibration, "%s",
                masked ? "ConfigDynamic: cell calibration finished (masked)." : texts.finished);
    }
    WriteFuelRequest(kFuelRequestElement, m_fuelStatusAtStart != 0 ? kFuelGas : 0);
}

DWORD CMapEditor::CellTextColour(int row, int column) const {
    const int judged = ClassifyRevInjection(m_map.GetRpm(column), m_map.GetTimeUs(row),
                                            m_map.GetBasePercent() + m_map.GetCell(row, column),
                                            m_crankAngle * 10, m_minimumInjectionUs);
    switch (judged) {
    case -1:
        return 0xC04040;
    case -2:
        return 0x904040;
    case 1:
        return 0x2020C0;
    case 2:
        return 0x202090;
    default:
        return 0;
    }
}

DWORD CMapEditor::CoverageColour(int kind, int row) {
    const bool odd = (row & 1) != 0;
    if (kind == 0) {
        return odd ? 0xE0E0FF : 0xD0D0EF;
    }
    if (kind == kMeasurementKindUser) {
        return odd ? 0xE0FFE0 : 0xD0EFD0;
    }
    return odd ? 0xFFE0E0 : 0xEFD0D0;
}

CString CMapEditor::FormatSummary(LPCSTR format, int row, int column) const {
    const int rpm = m_map.GetRpm(column);
    const int timeUs = m_map.GetTimeUs(row);
    const int cell = m_map.GetCell(row, column);
    const int base = m_map.GetBasePercent();
    const int total = cell + base;
    // A standstill breakpoint has no engine cycle.
    const double cycle = rpm > 0 ? kCycleUsRpm / rpm : 0.0;
    const double angleTime = std::min(cycle * m_crankAngle * 10 / 720, kMaxAngleTimeUs);
    const double minimum = std::min(cycle, std::max<double>(m_minimumInjectionUs, timeUs - angleTime));
    return FormatText(format, cell, base, total, minimum * 0.001, cycle * 0.001, rpm,
                      timeUs * (total + 100) * 0.01 * 0.001);
}
