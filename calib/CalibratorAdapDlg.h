// The adaptive calibration window: one map point corrected from the OBD fuel trims. The
// core measures the trim at the percent in effect, moves the percent, measures again and
// extrapolates; the result is recorded and folded into the whole map. It ends with "OK" (1)
// or "Cancel" (2), as the continuous calibration window does.
#pragma once

#include "calib/CCalibratorDlgBase.h"
#include "forms/CDeviationIndicator.h"
#include "forms/CLevelIndicator.h"
#include "res/ResourceIds.h"

class CalibratorCoreAdap;

class CalibratorAdapDlg : public CCalibratorDlgBase {
public:
    static constexpr UINT kTemplateId = IDD_CALIBRATOR_ADAP;

    static constexpr int kSpeedBarId = 1711;
    static constexpr int kSpeedValueId = 1712;
    static constexpr int kTrimBarId = 1713;
    static constexpr int kTrimValueId = 1714;
    static constexpr int kStartId = 1715;
    static constexpr int kUseLongId = 1716;
    static constexpr int kUseLongLabelId = 1717;
    static constexpr int kOkId = 1718;

    static constexpr int kModeRunning = 3;

    explicit CalibratorAdapDlg(CWnd* page = nullptr);

    void SetCore(CalibratorCoreAdap* core) { m_core = core; }  // not owned

    // The element-50 value, also handed to the core.
    void SetFilterValue(int value);

    int GetSavedBase() const { return m_savedBase; }

    int GetLiveTrim() const { return m_liveTrim; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
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
    void ReadLiveTrim();
    void ShowLiveValues();
    void React(int code, int percentInEffect);
    void TakeResult();
    void StartRun();
    void StopRun();
    void EndOfRun();
    void FoldOrRestore();
    void EnableIdleControls(bool enable);
    void EnableBars(bool enable);

    CalibratorCoreAdap* m_core = nullptr;  // not owned
    CLevelIndicator m_speedBar;
    CDeviationIndicator m_trimBar;
    CStaticExtended m_speedValue;
    CStaticExtended m_trimValue;
    int m_filterValue = 0;
    int m_targetRpm = 0;
    int m_targetLowRpm = 0;
    int m_targetHighRpm = 0;
    double m_targetMs = 0.0;
    double m_targetLowMs = 0.0;
    double m_targetHighMs = 0.0;
    int m_savedBase = 0;
    int m_liveTrim = 0;
};
