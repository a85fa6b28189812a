// The continuous calibration window: while the user drives on gas, every point that the core
// finds from the OBD fuel trims is recorded as a measurement and folded into the whole map
// at once. It ends with "OK" (1, the page folds in full) or "Cancel" (2, the page restores).
#pragma once

#include "calib/CCalibratorDlgBase.h"
#include "res/ResourceIds.h"

class CalibratorCoreCont;

class CalibratorContDlg : public CCalibratorDlgBase {
public:
    static constexpr UINT kTemplateId = IDD_CALIBRATOR_CONT;

    static constexpr int kStartId = 1715;
    static constexpr int kUseLongId = 1716;
    static constexpr int kUseLongLabelId = 1717;
    static constexpr int kOkId = 1718;

    static constexpr int kModeRunning = 3;

    explicit CalibratorContDlg(CWnd* page = nullptr);

    void SetCore(CalibratorCoreCont* core) { m_core = core; }  // not owned

    // The element-50 value, also handed to the core.
    void SetFilterValue(int value);

protected:
    BOOL OnInitDialog() override;
    std::vector<ControlPlace> ControlPlaces() const override;
    void OnLiveStep() override;
    void OnLinkLost() override;
    void OnEscape() override;
    void OnUndo() override;
    void OnRedo() override;

    void OnStart();
    void OnUseLong();
    void OnOkButton();
    void OnCancelButton();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);

    DECLARE_MESSAGE_MAP()

private:
    bool IsRunOn() const;
    void React(int code);
    void TakePoint();
    void EndOfRun();
    void EnableIdleControls(bool enable);

    CalibratorCoreCont* m_core = nullptr;  // not owned
    int m_filterValue = 0;
};
