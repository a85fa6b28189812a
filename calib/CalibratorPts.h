// The point calibration window: the user holds the engine at a point and starts a
// calibration with one of the two lambda buttons; the core measures on petrol, then on gas,
// and each result is recorded as a measurement and folded (masked) into a preview of the
// map. The dialog ends with "Totalize" (1), "Accept" (6) or "Cancel" (2); the map page then
// folds, folds masked or restores.
#pragma once

#include "calib/CCalibratorDlgBase.h"
#include "forms/CDeviationIndicator.h"
#include "forms/CImageButton.h"
#include "forms/CLevelIndicator.h"
#include "res/ResourceIds.h"

class CalibratorCore;

class CalibratorPts : public CCalibratorDlgBase {
public:
    static constexpr UINT kTemplateId = IDD_CALIBRATOR_PTS;

    static constexpr int kFrameId = 1704;
    static constexpr int kGreenLambdaId = 1705;
    static constexpr int kRedLambdaId = 1706;
    static constexpr int kTotalizeId = 1707;
    static constexpr int kAcceptId = 1708;
    static constexpr int kIgnoreId = 1710;
    static constexpr int kRevBarId = 1711;
    static constexpr int kRevValueId = 1712;
    static constexpr int kInjsBarId = 1713;
    static constexpr int kInjsValueId = 1714;

    // Running modes.
    static constexpr int kModeGreen = 1;  // waits for settled lambda control
    static constexpr int kModeRed = 2;

    // "Ignore" goes away this long after the last request to wait for lambda control.
    static constexpr DWORD kIgnoreShownMs = 5000;

    // Results of DoModal besides IDCANCEL.
    static constexpr int kResultTotalize = 1;
    static constexpr int kResultAccept = 6;

    explicit CalibratorPts(CWnd* page = nullptr);

    void SetCore(CalibratorCore* core) { m_core = core; }  // not owned

    // The element-79 flag; kept.
    void SetExtendedMode(int flag) { m_extendedMode = flag; }

    // The element-50 value, also handed to the core.
    void SetFilterValue(int value);

    int GetPercentInEffect() const { return m_percentInEffect; }

    int GetSavedBase() const { return m_savedBase; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    std::vector<ControlPlace> ControlPlaces() const override;
    void OnLiveStep() override;
    void OnLinkLost() override;
    void OnEscape() override;
    // The preview: the new measurements folded (masked) relative to the base saved at the start.
    void Refold() override;

    void OnGreenLambda();
    void OnRedLambda();
    void OnIgnore();
    void OnTotalize();
    void OnAccept();
    void OnCancelButton();

    DECLARE_MESSAGE_MAP()

private:
    void SetUpControls();
    void ShowLiveValues();
    void React(int code);
    void SwitchToGas();
    void TakeResult();
    void EndOfRun();
    void OnLambda(int mode);
    void StartRun(int mode);
    void StopRun();
    void EndWith(int result);
    void SetRevScale(int rpm, int accept);
    void SetInjsScale(double ms);
    void EnableBars(bool enable);
    void EnableEndButtons(bool enable);
    void ShowIgnore();
    void HideIgnoreWhenDue(int code);

    CalibratorCore* m_core = nullptr;  // not owned
    CLevelIndicator m_revBar;
    CDeviationIndicator m_injsBar;
    CStaticExtended m_revValue;
    CStaticExtended m_injsValue;
    CImageButton m_greenLambda;
    CImageButton m_redLambda;
    CImageButton m_ignore;
    int m_extendedMode = 0;
    int m_filterValue = 0;
    int m_percentInEffect = 0;
    int m_savedBase = 0;
    DWORD m_ignoreShownAtMs = 0;
};
