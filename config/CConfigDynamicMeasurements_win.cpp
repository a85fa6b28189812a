// The map page's measurement commands: new, edit, delete, show, totalize.
#include "config/CConfigDynamic.h"

#include "classlib/win/AfxMessageBox.h"
#include "config/CMeasurementEditDlg.h"
#include "config/MapPageConstants.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/ITextResources.h"

using namespace MapPageConstants;

// ---- Measurement commands ------------------------------------------------------------------------

CMapMeasurement* CConfigDynamic::SelectedMeasurement() {
    const CMapMeasurement* selected = m_grid.GetSelectedMeasurement();
    for (const auto& measurement : m_editor.GetMeasurements().GetMeasurements()) {
        if (measurement.get() == selected) {
            return measurement.get();
        }
    }
    return nullptr;
}

void CConfigDynamic::AfterMeasurementsChanged() {
    ShowMeasurementCoverage();
    m_editor.GetMeasurements().RefreshMeasurementMarks();
    if (m_dataHandler != nullptr) {
        m_dataHandler->SetModified();
    }
}

bool CConfigDynamic::RunMeasurementDialog(int rpm,
                                          double injectionMs,
                                          int percent,
                                          int& result,
                                          CMeasurementEditDlg& dialog) {
    const CCorrectionMap& map = m_editor.GetMap();
    if (map.IsEmpty()) {
        return false;
    }
    dialog.SetResourceManager(m_resources);
    dialog.SetRev(rpm, map.GetRpm(0), map.GetRpm(map.GetColumnCount() - 1));
    dialog.SetInjection(injectionMs, map.GetTimeUs(0) * 0.001, map.GetTimeUs(map.GetRowCount() - 1) * 0.001);
    dialog.SetMeasurement(percent, -kMeasurementLimit, kMeasurementLimit);
    result = static_cast<int>(RunDialog(dialog));
    return result == IDOK || result == CMeasurementEditDlg::kResultTotalize;
}

void CConfigDynamic::OnNewMeasurement() {
    CMeasurementEditDlg dialog(this);
    int result = 0;
    if (!RunMeasurementDialog(m_grid.GetNewRpm(), m_grid.GetNewInjectionMs(),
                              m_grid.GetNewPercent() + m_editor.GetBasePercent(), result, dialog)) {
        return;
    }
    CMeasurementList& measurements = m_editor.GetMeasurements();
    measurements.AddMeasurement(dialog.GetRev(), dialog.GetInjection(), dialog.GetMeasurement(),
                                kMeasurementKindUser);
    measurements.ConfirmNewMeasurements(false);
    AfterMeasurementsChanged();
    if (result == CMeasurementEditDlg::kResultTotalize) {
        OnTotalize();
    }
}

void CConfigDynamic::OnEditMeasurement() {
    CMapMeasurement* measurement = SelectedMeasurement();
    if (measurement == nullptr) {
        return;
    }
    CMeasurementList& measurements = m_editor.GetMeasurements();
    const unsigned generation = measurements.GetGeneration();
    CMeasurementEditDlg dialog(this);
    int result = 0;
    if (!RunMeasurementDialog(measurement->rpm, measurement->injectionMs, measurement->percent, result,
                              dialog)) {
        return;
    }
    // The page still takes the data handler's notices while the dialog is open: a map that
    // arrived meanwhile replaced the measurements, and the one edited is gone.
    if (measurements.GetGeneration() != generation) {
        CLogger::Instance().Log(
            2000, "CConfigDynamic::OnEditMeasurement(): the measurement went while it was edited.");
        return;
    }
    measurements.ChangeMeasurement(measurement, dialog.GetRev(), dialog.GetInjection(),
                                   dialog.GetMeasurement());
    AfterMeasurementsChanged();
    if (result == CMeasurementEditDlg::kResultTotalize) {
        OnTotalize();
    }
}

void CConfigDynamic::OnDeleteMeasurement() {
    const CMapMeasurement* measurement = SelectedMeasurement();
    if (measurement == nullptr) {
        return;
    }
    m_grid.ClearMarks();
    m_editor.GetMeasurements().RemoveMeasurement(measurement);
    AfterMeasurementsChanged();
}

void CConfigDynamic::OnShowMeasurements() {
    m_grid.ToggleShowMeasurements();
}

void CConfigDynamic::OnShowSummary() {
    m_grid.ToggleShowSummary();
}

void CConfigDynamic::OnDeleteAllMeasurements() {
    if (AfxMessageBox(LoadText(m_resources, kDeleteAllQuestionText), MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL) {
        return;
    }
    CMeasurementList& measurements = m_editor.GetMeasurements();
    m_grid.ClearMarks();
    if (measurements.DeleteAllMeasurements() && m_dataHandler != nullptr) {
        m_dataHandler->SetModified();
    }
    measurements.ClearUndoneMeasurements();
    ShowMeasurementCoverage();
    measurements.RefreshMeasurementMarks();
}

void CConfigDynamic::OnTotalize() {
    m_editor.Totalize();
}
