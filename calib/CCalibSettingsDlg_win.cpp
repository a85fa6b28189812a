#include "calib/CCalibSettingsDlg.h"

#include "calib/CalibSettingsForm.h"
#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorCore.h"
#include "classlib/win/CButton.h"

CCalibSettingsDlg::CCalibSettingsDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

std::vector<CalibSettingsField> CCalibSettingsDlg::Fields() const {
    CalibratorCore::Parameters& p = m_core->GetParameters();

    struct Row {
        int controlId;
        int* whole;
        double* decimal;
    };

    const Row rows[] = {
        {kMaximalId, &p.maxMeasurements, nullptr},
        {kMinimalId, &p.minMeasurements, nullptr},
        {kAt600Id, &p.measurementsAt600, nullptr},
        {kAt4000Id, &p.measurementsAt4000, nullptr},
        {kRevsAcceptId, &p.revsAcceptRpm, nullptr},
        {kRevsAverageId, &p.revsAverageCount, nullptr},
        {kStabilityCountId, &p.stabilityMeasurements, nullptr},
        {kRevsStabilityId, &p.revsStabilityRpm, nullptr},
        {kWeightToleranceId, nullptr, &p.weightTolerance},
        {kMinTemperatureId, &p.minTemperatureC, nullptr},
        {kReckoningToleranceId, nullptr, &p.reckoningTolerance},
        {kInjsAcceptId, nullptr, &p.injsAcceptPercent},
        {kInjsStabilityId, &p.injsStabilityDeg, nullptr},
        {kTanhAbsoluteXId, nullptr, &p.tanhAbsoluteX},
        {kTanhAbsoluteYId, nullptr, &p.tanhAbsoluteY},
        {kTanhRelativeXId, nullptr, &p.tanhRelativeX},
        {kTanhRelativeYId, nullptr, &p.tanhRelativeY},
    };
    std::vector<CalibSettingsField> fields;
    UINT messageId = IDS_CALIB_WRONG_FIRST;
    for (const Row& row : rows) {
        fields.push_back({row.controlId, messageId++, row.whole, row.decimal, false, 0.0, 0.0});
    }
    return fields;
}

BOOL CCalibSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_core == nullptr) {
        return TRUE;
    }
    ShowCalibSettingsFields(*this, Fields());
    const int mode = m_core->GetParameters().distortionMode;
    const int checked = mode == CalibratorCore::kDistortionTanhAbsolute   ? kDistortionAbsoluteId
                        : mode == CalibratorCore::kDistortionTanhRelative ? kDistortionRelativeId
                                                                          : kDistortionOffId;
    CheckRadioButton(m_hWnd, kDistortionOffId, kDistortionRelativeId, checked);
    return TRUE;
}

void CCalibSettingsDlg::OnOK() {
    if (m_core == nullptr) {
        EndDialog(IDCANCEL);
        return;
    }
    if (!StoreCalibSettingsFields(*this, Fields(), m_resources)) {
        return;
    }
    StoreDistortionMode();
    m_core->UpdateMeasurementLine();
    EndDialog(IDOK);
}

void CCalibSettingsDlg::StoreDistortionMode() {
    struct Choice {
        int controlId;
        int mode;
    };

    const Choice choices[] = {
        {kDistortionOffId, CalibratorCore::kDistortionOff},
        {kDistortionAbsoluteId, CalibratorCore::kDistortionTanhAbsolute},
        {kDistortionRelativeId, CalibratorCore::kDistortionTanhRelative},
    };
    for (const Choice& choice : choices) {
        if (IsDlgButtonChecked(m_hWnd, choice.controlId) == BST_CHECKED) {
            m_core->GetParameters().distortionMode = choice.mode;
            return;
        }
    }
}
