// The map page's grid showing the map, and the data handler's messages that change it.
#include "classlib/core/FormatText.h"
#include "config/CConfigDynamic.h"
#include "config/FitGridColumns.h"
#include "config/MapPageConstants.h"
#include "grid/CGridCellBase.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "link/ReadElementBytes.h"

#include <algorithm>
#include <vector>

using namespace MapPageConstants;

// ---- The map in the grid ---------------------------------------------------------------------

// The axis headers, the times in the language's decimal separator.
void CConfigDynamic::ShowAxes() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    for (int c = 0; c < columns; ++c) {
        m_grid.SetCellText(0, c + 1, FormatText("%d", map.GetRpm(c)));
    }
    for (int r = 0; r < rows; ++r) {
        m_grid.SetCellText(r + 1, 0, FormatText("%.02f", map.GetTimeUs(r) * 0.001));
    }
}

void CConfigDynamic::ShowLoadedMap() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int columns = map.GetColumnCount();
    const int rows = map.GetRowCount();
    m_grid.SetRowCount(rows + 1);
    m_grid.SetColumnCount(columns + 1);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetCellText(0, 0, "%");
    m_grid.SetCellBackColour(0, 0, kHeaderBack);
    ShowAxes();
    for (int r = 0; r < rows; ++r) {
        if (r % 2 == 0) {
            for (int c = 0; c < columns; ++c) {
                m_grid.SetCellBackColour(r + 1, c + 1, kEvenRowBack);
            }
        }
    }
    ShowCellTexts();
    m_grid.SetListMode(FALSE);
    m_grid.SetGridLines(GRID_LINES_BOTH);
    m_grid.ClearSelection();
    m_grid.Invalidate();
    FitGridColumns(m_grid);
    m_grid.SetSortCompareFunction(nullptr);
    int rpm[CCorrectionMap::kMaxBreakpoints] = {};
    int timeUs[CCorrectionMap::kMaxBreakpoints] = {};
    for (int c = 0; c < columns; ++c) {
        rpm[c] = map.GetRpm(c);
    }
    for (int r = 0; r < rows; ++r) {
        timeUs[r] = map.GetTimeUs(r);
    }
    m_grid.SetAxes(columns, rpm, rows, timeUs);
    m_editor.GetMeasurements().ReloadMeasurements();
    ShowMeasurementCoverage();
    m_grid.EnableWindow(TRUE);
}

void CConfigDynamic::ShowCellTexts() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            m_grid.SetCellText(r + 1, c + 1, FormatText("%d", map.GetCell(r, c)));
            m_grid.SetCellTextColour(r + 1, c + 1, m_editor.CellTextColour(r, c));
        }
    }
    m_grid.Invalidate();
}

void CConfigDynamic::RecolourCells() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            m_grid.SetCellTextColour(r + 1, c + 1, m_editor.CellTextColour(r, c));
        }
    }
    if (m_grid.GetSafeHwnd() != nullptr) {
        m_grid.Invalidate();
    }
}

void CConfigDynamic::ShowMeasurementCoverage() {
    const CCorrectionMap& map = m_editor.GetMap();
    const int rows = std::min(map.GetRowCount(), m_grid.GetRowCount() - 1);
    const int columns = std::min(map.GetColumnCount(), m_grid.GetColumnCount() - 1);
    const std::vector<int> coverage = m_editor.GetMeasurements().GetCoverage();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int kind = coverage[static_cast<std::size_t>(r * map.GetColumnCount() + c)];
            m_grid.SetCellBackColour(r + 1, c + 1, CMapEditor::CoverageColour(kind, r));
        }
    }
    if (m_grid.GetSafeHwnd() != nullptr) {
        m_grid.Invalidate();
    }
}

void CConfigDynamic::ShowMeasurementMarks(const std::vector<const CMapMeasurement*>& representatives) {
    m_grid.ClearMarks();
    for (const CMapMeasurement* measurement : representatives) {
        m_grid.AddMark(*measurement);
    }
    m_grid.InvalidateMarks();
}

int CConfigDynamic::GetCell(int row, int column) {
    return m_editor.GetCell(row, column);
}

bool CConfigDynamic::FormatSummary(CString& text, LOGFONTA& font, int row, int column) {
    const CCorrectionMap& map = m_editor.GetMap();
    if (row < 1 || column < 1 || row > map.GetRowCount() || column > map.GetColumnCount()) {
        return false;
    }
    text = m_editor.FormatSummary(LoadText(m_resources, kSummaryText), row - 1, column - 1);
    font = m_tipFont;
    return true;
}

// ---- Data handler messages -------------------------------------------------------------------

LRESULT CConfigDynamic::OnDataChanged(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    const int element = LOWORD(lParam);
    const LPARAM source = lParam & 0xFFFF0000;
    switch (element) {
    case kAngleElement:
        m_crankAngle = ReadByte(kAngleElement);
        m_angleCombo.SetCurSel(m_crankAngle);
        m_editor.SetCrankAngle(m_crankAngle);
        RecolourCells();
        break;
    case kBaseElement:
        m_editor.GetMap().ParseBaseElementData(ReadByte(kBaseElement));
        m_baseEdit.SetWindowText(FormatText("%d", m_editor.GetBasePercent()));
        m_baseEdit.SendMessage(EM_SETSEL, 0, -1);
        m_baseEdit.SendMessage(EM_SCROLLCARET);
        RecolourCells();
        if (source == kReasonLoaded) {
            m_baseEdit.EnableWindow(TRUE);
        }
        break;
    case kMapElement:
        if (source == kReasonLoaded && wParam != 0) {
            const std::vector<BYTE> bytes = ReadElementBytes(*m_dataHandler, kMapElement, 0);
            m_editor.GetMap().ClearUndo();
            m_editor.GetMap().ClearRedo();
            if (m_editor.GetMap().ParseElementData(bytes.data(), bytes.size())) {
                ShowLoadedMap();
            } else {
                m_grid.ClearMarks();
                m_grid.DeleteAllItems();
                m_grid.SetAxes(0, nullptr, 0, nullptr);
                m_grid.EnableWindow(FALSE);
            }
            EnableCalibration();
        } else if (source == kReasonChanged) {
            const std::vector<BYTE> bytes = ReadElementBytes(*m_dataHandler, kMapElement, 0);
            m_editor.GetMap().ParseElementData(bytes.data(), bytes.size());
            ShowCellTexts();
        }
        break;
    case kMinimumInjectionElement: {
        const std::vector<BYTE> bytes = ReadElementBytes(*m_dataHandler, kMinimumInjectionElement, 2);
        m_minimumInjectionUs = bytes[0] | (bytes[1] << 8);
        m_editor.SetMinimumInjection(m_minimumInjectionUs);
        RecolourCells();
        break;
    }
    case kExtendedElement:
        if (source == kReasonLoaded && wParam != 0) {
            m_extended = ReadByte(kExtendedElement) != 0;
            m_pointCore.SetExtendedMode(m_extended ? 1 : 0);
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CConfigDynamic::OnStatusChanged(WPARAM wParam, LPARAM) {
    m_linkUp = IsLinkUp(static_cast<int>(wParam));
    if (!m_linkUp) {
        ResetLiveDisplay();
    }
    EnableCalibration();
    return 0;
}

// A calibration needs the unit and a map: the button stays off until both are there.
void CConfigDynamic::EnableCalibration() {
    const bool enable = m_linkUp && !m_editor.GetMap().IsEmpty();
    if (!enable && CWnd::GetFocus() == &m_calCell) {
        SendMessage(WM_NEXTDLGCTL);
    }
    m_calCell.EnableWindow(enable ? TRUE : FALSE);
}

LRESULT CConfigDynamic::OnLiveCycle(WPARAM, LPARAM) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    m_live.Show(*m_dataHandler);
    if (m_dataHandler->IsReadSupported(kObdElement) >= 1) {
        const std::vector<BYTE> obd = ReadElementBytes(*m_dataHandler, kObdElement, kObdOptionsOffset + 1);
        m_obdOptions = obd[kObdOptionsOffset];
    }
    return 0;
}

LRESULT CConfigDynamic::OnLanguageChanged(WPARAM, LPARAM) {
    UpdateTexts();
    if (m_grid.GetSafeHwnd() != nullptr) {
        ShowAxes();
        m_grid.Invalidate();
    }
    return 0;
}
