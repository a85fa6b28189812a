#include "calib/CAdaptSettingsDlg.h"

#include "calib/CalibSettingsForm.h"
#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorCoreAdap.h"
#include "calib/CalibratorCoreCont.h"

CAdaptSettingsDlg::CAdaptSettingsDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

std::vector<CalibSettingsField> CAdaptSettingsDlg::Fields() const {
    CalibratorCoreAdap::Parameters& point = m_adaptive->GetParameters();
    CalibratorCoreCont::Parameters& automatic = m_continuous->GetParameters();
    const UINT first = IDS_ADAPT_WRONG_FIRST;
    return {
        {kPointTimeId, first + 0, &point.timeOfMeasureMs, nullptr, true, 1000, 20000},
        {kPointRevsAcceptId, first + 1, &point.revsAcceptRpm, nullptr, true, 0, 5000},
        {kPointInjsAcceptId, first + 2, nullptr, &point.injsAcceptPercent, true, 0.0, 100.0},
        {kPointInjsStabilityId, first + 3, nullptr, &point.injsStabilityDeg, true, 0.0, 45.0},
        {kAutoTimeId, first + 4, &automatic.timeOfMeasureMs, nullptr, true, 500, 20000},
        {kAutoRevsChangeId, first + 5, nullptr, &automatic.maxRevsChangePerSecond, true, 0.0, 5000.0},
        {kAutoInjsChangeId, first + 6, nullptr, &automatic.maxInjsChangePerSecond, true, 0.0, 10.0},
        {kAutoRevsSlopeId, first + 7, nullptr, &automatic.maxRevsDescentDeg, true, 0.0, 45.0},
        {kAutoInjsSlopeId, first + 8, nullptr, &automatic.maxInjsDescentDeg, true, 0.0, 45.0},
    };
}

BOOL CAdaptSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_adaptive != nullptr && m_continuous != nullptr) {
        ShowCalibSettingsFields(*this, Fields());
    }
    return TRUE;
}

void CAdaptSettingsDlg::OnOK() {
    if (m_adaptive == nullptr || m_continuous == nullptr) {
        EndDialog(IDCANCEL);
        return;
    }
    if (StoreCalibSettingsFields(*this, Fields(), m_resources)) {
        EndDialog(IDOK);
    }
}
