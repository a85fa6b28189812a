#include "calib/CalibratorAdapDlg.h"

#include "calib/CDataHandlerLiveValues.h"
#include "calib/CObdBlock.h"
#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorCoreAdap.h"
#include "calib/ICalibrationMap.h"

namespace {

constexpr COLORREF kAboveBand = RGB(255, 102, 0);
constexpr COLORREF kBelowBand = RGB(0, 119, 255);
constexpr COLORREF kInBand = RGB(0, 255, 85);
// The trim bar's scale, percent either way.
constexpr double kTrimScalePercent = 25.0;

constexpr CCalibratorDlgBase::StatusRow kStatusRows[] = {
    {CalibratorCoreAdap::kCodeNoClosedLoop, IDS_CALIB_WAIT_CLOSED_LOOP, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCoreAdap::kCodeRevsOutside, IDS_CALIB_HOLD_REV, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCoreAdap::kCodeInjectionOutside, IDS_CALIB_HOLD_INJECTION, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCoreAdap::kCodeMeasuringBase, IDS_CALIB_MEASURING, CCalibratorDlgBase::kStatusLight},
    {CalibratorCoreAdap::kCodeMeasuringExchange, IDS_CALIB_MEASURING, CCalibratorDlgBase::kStatusLight},
};

constexpr CCalibratorDlgBase::StatusRow kAbortRows[] = {
    {CalibratorCoreAdap::kCodeGasLost, IDS_CALIB_GAS_LOST, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreAdap::kCodeTrimsInvalid, IDS_CALIB_OBD_LOST, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreAdap::kCodeNoReaction, IDS_CALIB_NO_REACTION, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreAdap::kCodeWrongReaction, IDS_CALIB_WRONG_REACTION, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreAdap::kCodeBelowMinimum, IDS_CALIB_MINIMUM_REACHED, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreAdap::kCodeAboveMaximum, IDS_CALIB_MAXIMUM_REACHED, CCalibratorDlgBase::kStatusRed},
};

}  // namespace

CalibratorAdapDlg::CalibratorAdapDlg(CWnd* page) : CalibratorTrimDlg(kTemplateId, page) {}

CalibratorCoreTrim* CalibratorAdapDlg::TrimCore() const {
    return m_core;
}

int CalibratorAdapDlg::StoppedState() const {
    return CalibratorCoreAdap::kStateAborted;
}

void CalibratorAdapDlg::DoDataExchange(CDataExchange* exchange) {
    CalibratorTrimDlg::DoDataExchange(exchange);
    DDX_Control(exchange, kSpeedBarId, m_speedBar);
    DDX_Control(exchange, kTrimBarId, m_trimBar);
    DDX_Control(exchange, kSpeedValueId, m_speedValue);
    DDX_Control(exchange, kTrimValueId, m_trimValue);
}

std::vector<CCalibratorDlgBase::ControlPlace> CalibratorAdapDlg::ControlPlaces() const {
    return {
        {kStatusId, 4, 4, 286, 16},    {kSpeedBarId, 4, 24, 70, 88},       {kSpeedValueId, 4, 116, 70, 16},
        {kTrimBarId, 78, 24, 70, 88},  {kTrimValueId, 78, 116, 70, 16},    {kStartId, 152, 24, 70, 24},
        {kUseLongId, 152, 54, 14, 14}, {kUseLongLabelId, 168, 54, 56, 14}, {kUndoId, 152, 76, 34, 20},
        {kRedoId, 188, 76, 34, 20},    {kOkId, 226, 24, 64, 22},           {kCancelId, 226, 50, 64, 22},
    };
}

BOOL CalibratorAdapDlg::OnInitDialog() {
    CalibratorTrimDlg::OnInitDialog();
    const COLORREF infoBack = GetSysColor(COLOR_INFOBK);
    m_speedValue.SetBkColor(infoBack);
    m_trimValue.SetBkColor(infoBack);
    m_speedValue.SetWindowText("0 1/min");
    m_trimValue.SetWindowText("0 %");
    m_speedBar.SetLayout(m_scaleX, m_scaleY, 2, 4, 2, 12, 1);
    m_trimBar.SetLayout(m_scaleX, m_scaleY, 2, 4, 2, 12, 1);
    m_trimBar.SetScale(-kTrimScalePercent, kTrimScalePercent, 0, "%", kAboveBand, kBelowBand);
    EnableBars(false);
    m_savedBase = m_map != nullptr ? m_map->GetBasePercent() : 0;
    return TRUE;
}

bool CalibratorAdapDlg::IsRunOn() const {
    const int state = m_core->GetState();
    return state != CalibratorCoreAdap::kStateIdle && state != CalibratorCoreAdap::kStateAborted &&
           state != CalibratorCoreAdap::kStateFinished;
}

void CalibratorAdapDlg::OnLiveStep() {
    if (m_core == nullptr) {
        return;
    }
    ReadLiveSpeedAndInjection();
    ReadLiveTrim();
    ShowLiveValues();
    const int percentInEffect = m_map->GetInterpolatedValue(m_lastRpm, m_lastMs) + m_map->GetBasePercent();
    React(m_core->Step(m_dataHandler, percentInEffect), percentInEffect);
}

// The mean of the trims of the banks in closed loop, as the core forms its samples.
void CalibratorAdapDlg::ReadLiveTrim() {
    CDataHandlerLiveValues live(*m_dataHandler);
    CObdBlock obd;
    obd.Read(live);
    const int mask = m_core->GetFuelSystemMask();
    m_liveTrim = SumBankTrims(MakeTrimSample(0, 0.0, obd, 0), (obd.status1 & mask) != 0,
                              (obd.status2 & mask) != 0, m_core->GetUseLongTrim() != 0)
                     .WholeMean();
}

void CalibratorAdapDlg::ShowLiveValues() {
    CString text;
    text.Format("%d 1/min", m_lastRpm);
    m_speedValue.SetWindowText(text);
    text.Format("%d %%", m_liveTrim);
    m_trimValue.SetWindowText(text);
    m_speedBar.SetValue(m_lastRpm);
    m_trimBar.SetValue(m_liveTrim);
    m_speedBar.Invalidate();
    m_trimBar.Invalidate();
}

void CalibratorAdapDlg::React(int code, int percentInEffect) {
    if (ShowRowOf(kStatusRows, kAbortRows, code)) {
        return;
    }
    switch (code) {
    case CalibratorCoreAdap::kCodeStarted:
        WriteFuelRequest(kRunOnGas);
        break;
    case CalibratorCoreAdap::kCodeFinished:
        TakeResult();
        break;
    case CalibratorCoreAdap::kCodeNewPercent:
        // The base moves so that the map gives the new percent at the point.
        SetBasePercent(m_savedBase + m_core->GetResultPercent() - percentInEffect);
        break;
    default:
        break;
    }
}

void CalibratorAdapDlg::TakeResult() {
    const int result = m_core->GetResultPercent();
    const int kind = m_core->GetTargetInjection() != 0.0 ? 1 : 0;
    m_map->AddMeasurement(m_core->GetResultRpm(), m_core->GetResultMs(), result, kind);
    SetItemText(kStartId, LoadText(IDS_CALIB_START_CAPTION));
    EnableBars(false);
    SetStatusText(FormatText(IDS_CALIB_FINISHED, result), kStatusGreen);
    FoldMeasurements();
    m_map->ClearUndoneMeasurements();
    UpdateArrows();
    EndOfRun();
}

void CalibratorAdapDlg::EndOfRun() {
    SetItemText(kStartId, LoadText(IDS_CALIB_START_CAPTION));
    EnableItem(kStartId, true);
    UpdateArrows();
    EnableIdleControls(true);
    m_runningMode = 0;
}

void CalibratorAdapDlg::EnableBars(bool enable) {
    m_speedBar.EnableWindow(enable ? TRUE : FALSE);
    m_trimBar.EnableWindow(enable ? TRUE : FALSE);
    m_speedBar.Invalidate();
    m_trimBar.Invalidate();
}

void CalibratorAdapDlg::StartRun() {
    const CalibratorCoreAdap::Parameters& p = m_core->GetParameters();
    m_core->SetTargetRevs(m_lastRpm);
    m_core->SetTargetInjection(m_lastMs);
    const CTargetWindow& target = m_core->GetTarget();
    m_speedBar.SetScale(target.GetRpm() - 2.0 * p.revsAcceptRpm, target.GetRpm() + 2.0 * p.revsAcceptRpm,
                        static_cast<double>(target.GetLowRpm()), static_cast<double>(target.GetHighRpm()), 0,
                        "", kAboveBand, kBelowBand, kInBand);
    EnableBars(true);
    m_core->SetState(CalibratorCoreAdap::kStateStart);
}

void CalibratorAdapDlg::StopRun() {
    m_core->SetState(CalibratorCoreAdap::kStateAborted);
    EnableBars(false);
    SetItemText(kStartId, LoadText(IDS_CALIB_START_CAPTION));
    UpdateArrows();
    EnableIdleControls(true);
    m_runningMode = 0;
    SetStatus(IDS_CALIB_CANCELLED, kStatusRed);
    Refold();
}

// The run may have moved the base; it goes back to the saved one.
void CalibratorAdapDlg::FoldMeasurements() {
    m_map->CombineLastMeasurementsIntoMatrix(m_savedBase, false);
    SetBasePercent(m_savedBase);
}

void CalibratorAdapDlg::OnLinkLost() {
    if (m_core == nullptr) {
        return;
    }
    StopOnLinkLost();
    m_speedBar.SetValue(0);
    m_trimBar.SetValue(0);
    EnableBars(false);
    m_speedValue.SetWindowText("0 1/min");
    m_trimValue.SetWindowText("0 %");
    EndOfRun();
}
