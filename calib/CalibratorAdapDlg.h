// The adaptive calibration window: one map point corrected from the OBD fuel trims. The
// core measures the trim at the percent in effect, moves the percent, measures again and
// extrapolates; the result is recorded and folded into the whole map. It ends with "OK" (1)
// or "Cancel" (2), as the continuous calibration window does.
#pragma once

#include "calib/CalibratorTrimDlg.h"
#include "forms/CDeviationIndicator.h"
#include "forms/CLevelIndicator.h"
#include "res/ResourceIds.h"

class CalibratorCoreAdap;

class CalibratorAdapDlg : public CalibratorTrimDlg {
public:
    static constexpr UINT kTemplateId = IDD_CALIBRATOR_ADAP;

    static constexpr int kSpeedBarId = 1711;
    static constexpr int kSpeedValueId = 1712;
    static constexpr int kTrimBarId = 1713;
    static constexpr int kTrimValueId = 1714;
    explicit CalibratorAdapDlg(CWnd* page = nullptr);

    void SetCore(CalibratorCoreAdap* core) { m_core = core; }  // not owned

    int GetSavedBase() const { return m_savedBase; }

    int GetLiveTrim() const { return m_liveTrim; }

protected:
    CalibratorCoreTrim* TrimCore() const override;
    int StoppedState() const override;
    bool IsRunOn() const override;
    void StartRun() override;
    void StopRun() override;
    void EndOfRun() override;
    void FoldMeasurements() override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    std::vector<ControlPlace> ControlPlaces() const override;
    void OnLiveStep() override;
    void OnLinkLost() override;

private:
    void ReadLiveTrim();
    void ShowLiveValues();
    void React(int code, int percentInEffect);
    void TakeResult();
    void EnableBars(bool enable);

    CalibratorCoreAdap* m_core = nullptr;  // not owned
    CLevelIndicator m_speedBar;
    CDeviationIndicator m_trimBar;
    CStaticExtended m_speedValue;
    CStaticExtended m_trimValue;
    int m_savedBase = 0;
    int m_liveTrim = 0;
};
