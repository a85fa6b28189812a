// "Settings": the parameters of the point calibration core, edited in place. The map page
// runs it modally; the values hold for every later point calibration of the program run.
// Only the number format of each entry is checked.
#pragma once

#include "calib/CalibSettingsField.h"
#include "classlib/win/CDialog.h"
#include "res/ResourceIds.h"

#include <vector>

class ITextResources;
class CalibratorCore;

class CCalibSettingsDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = IDD_CALIB_SETTINGS;

    // Edit fields, in template order.
    static constexpr int kAt600Id = 1730;
    static constexpr int kAt4000Id = 1731;
    static constexpr int kMinimalId = 1732;
    static constexpr int kMaximalId = 1733;
    static constexpr int kStabilityCountId = 1734;
    static constexpr int kRevsStabilityId = 1735;
    static constexpr int kRevsAcceptId = 1736;
    static constexpr int kRevsAverageId = 1737;
    static constexpr int kWeightToleranceId = 1738;
    static constexpr int kMinTemperatureId = 1739;
    static constexpr int kReckoningToleranceId = 1740;
    static constexpr int kInjsAcceptId = 1741;
    static constexpr int kInjsStabilityId = 1742;
    static constexpr int kTanhAbsoluteXId = 1743;
    static constexpr int kTanhAbsoluteYId = 1744;
    static constexpr int kTanhRelativeXId = 1745;
    static constexpr int kTanhRelativeYId = 1746;
    // Radio buttons of the distortion mode.
    static constexpr int kDistortionOffId = 1750;
    static constexpr int kDistortionAbsoluteId = 1751;
    static constexpr int kDistortionRelativeId = 1752;

    explicit CCalibSettingsDlg(CWnd* parent = nullptr);

    void SetCore(CalibratorCore* core) { m_core = core; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

protected:
    BOOL OnInitDialog() override;
    // Stores field by field; the first refused field shows its message and keeps the
    // dialog open with the fields before it stored.
    void OnOK() override;

private:
    // In the order of the checks.
    std::vector<CalibSettingsField> Fields() const;
    void StoreDistortionMode();

    CalibratorCore* m_core = nullptr;         // not owned
    ITextResources* m_resources = nullptr;  // not owned
};
