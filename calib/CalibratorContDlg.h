// The continuous calibration window: while the user drives on gas, every point that the core
// finds from the OBD fuel trims is recorded as a measurement and folded into the whole map
// at once. It ends with "OK" (1, the page folds in full) or "Cancel" (2, the page restores).
#pragma once

#include "calib/CalibratorTrimDlg.h"
#include "res/ResourceIds.h"

class CalibratorCoreCont;

class CalibratorContDlg : public CalibratorTrimDlg {
public:
    static constexpr UINT kTemplateId = IDD_CALIBRATOR_CONT;

    explicit CalibratorContDlg(CWnd* page = nullptr);

    void SetCore(CalibratorCoreCont* core) { m_core = core; }  // not owned

protected:
    CalibratorCoreTrim* TrimCore() const override;
    int StoppedState() const override;
    bool IsRunOn() const override;
    void StartRun() override;
    void StopRun() override;
    void EndOfRun() override;
    void FoldMeasurements() override;
    std::vector<ControlPlace> ControlPlaces() const override;
    void OnLiveStep() override;
    void OnLinkLost() override;

private:
    void React(int code);
    void TakePoint();

    CalibratorCoreCont* m_core = nullptr;  // not owned
};
