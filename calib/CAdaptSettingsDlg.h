// "Settings - Adaptiv": the parameters of the two calibrations that work from the OBD fuel
// trims, the adaptive core in the first block and the continuous core in the second. Each
// entry must be a number within its range.
#pragma once

#include "calib/CalibSettingsField.h"
#include "classlib/win/CDialog.h"
#include "res/ResourceIds.h"

#include <vector>

class ITextResources;
class CalibratorCoreAdap;
class CalibratorCoreCont;

class CAdaptSettingsDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = IDD_ADAPT_SETTINGS;

    // Edit fields, top to bottom.
    static constexpr int kPointTimeId = 1760;
    static constexpr int kPointRevsAcceptId = 1761;
    static constexpr int kPointInjsAcceptId = 1762;
    static constexpr int kPointInjsStabilityId = 1763;
    static constexpr int kAutoTimeId = 1764;
    static constexpr int kAutoRevsChangeId = 1765;
    static constexpr int kAutoInjsChangeId = 1766;
    static constexpr int kAutoRevsSlopeId = 1767;
    static constexpr int kAutoInjsSlopeId = 1768;

    explicit CAdaptSettingsDlg(CWnd* parent = nullptr);

    // Neither is owned.
    void SetCores(CalibratorCoreAdap* adaptive, CalibratorCoreCont* continuous) {
        m_adaptive = adaptive;
        m_continuous = continuous;
    }

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

protected:
    BOOL OnInitDialog() override;
    // Stores field by field; the first refused field shows its message and keeps the
    // dialog open with the fields before it stored.
    void OnOK() override;

private:
    std::vector<CalibSettingsField> Fields() const;

    CalibratorCoreAdap* m_adaptive = nullptr;    // not owned
    CalibratorCoreCont* m_continuous = nullptr;  // not owned
    ITextResources* m_resources = nullptr;     // not owned
};
