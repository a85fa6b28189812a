#include "calib/CalibratorPts.h"

#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorCore.h"
#include "calib/ICalibrationMap.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CFont.h"
#include "link/CLogger.h"

namespace {

constexpr int kLogAlways = 0;

constexpr COLORREF kLambdaGreen = RGB(62, 232, 17);
constexpr COLORREF kLambdaRed = RGB(247, 3, 47);
constexpr COLORREF kAboveBand = RGB(255, 102, 0);
constexpr COLORREF kBelowBand = RGB(0, 119, 255);
constexpr COLORREF kInBand = RGB(0, 255, 85);

bool IsIdleState(int state) {
    return state == CalibratorCore::kStateIdle || state == CalibratorCore::kStateFinished ||
           state == CalibratorCore::kStateStopped;
}

// Codes that only change the status line.
constexpr CCalibratorDlgBase::StatusRow kStatusRows[] = {
    {CalibratorCore::kCodeRevsOutside, IDS_CALIB_HOLD_REV, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCore::kCodeRevsUnstable, IDS_CALIB_WAIT_STABLE_REV, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCore::kCodeMeasuringGas, IDS_CALIB_MEASURING_GAS, CCalibratorDlgBase::kStatusLight},
    {CalibratorCore::kCodeNotOnPetrol, IDS_CALIB_WAIT_PETROL, CCalibratorDlgBase::kStatusLight},
    {CalibratorCore::kCodeInjectionOutside, IDS_CALIB_HOLD_INJECTION, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCore::kCodeMeasuringPetrol, IDS_CALIB_MEASURING_PETROL, CCalibratorDlgBase::kStatusLight},
};

// Codes that end the run with an abort.
constexpr CCalibratorDlgBase::StatusRow kAbortRows[] = {
    {CalibratorCore::kCodeGasLost, IDS_CALIB_GAS_LOST, CCalibratorDlgBase::kStatusRed},
    {CalibratorCore::kCodeBelowMinimum, IDS_CALIB_MINIMUM_REACHED, CCalibratorDlgBase::kStatusRed},
    {CalibratorCore::kCodeAboveMaximum, IDS_CALIB_MAXIMUM_REACHED, CCalibratorDlgBase::kStatusRed},
};

}  // namespace

BEGIN_MESSAGE_MAP(CalibratorPts, CCalibratorDlgBase)
    ON_BN_CLICKED(CalibratorPts::kGreenLambdaId, OnGreenLambda)
    ON_BN_CLICKED(CalibratorPts::kRedLambdaId, OnRedLambda)
    ON_BN_CLICKED(CalibratorPts::kIgnoreId, OnIgnore)
    ON_BN_CLICKED(CalibratorPts::kTotalizeId, OnTotalize)
    ON_BN_CLICKED(CalibratorPts::kAcceptId, OnAccept)
    ON_BN_CLICKED(CCalibratorDlgBase::kCancelId, OnCancelButton)
END_MESSAGE_MAP()

CalibratorPts::CalibratorPts(CWnd* page) : CCalibratorDlgBase(kTemplateId, page) {}

void CalibratorPts::SetFilterValue(int value) {
    m_filterValue = value;
    if (m_core != nullptr) {
        m_core->SetFilterValue(value);
    }
}

void CalibratorPts::DoDataExchange(CDataExchange* exchange) {
    CCalibratorDlgBase::DoDataExchange(exchange);
    DDX_Control(exchange, kRevBarId, m_revBar);
    DDX_Control(exchange, kInjsBarId, m_injsBar);
    DDX_Control(exchange, kRevValueId, m_revValue);
    DDX_Control(exchange, kInjsValueId, m_injsValue);
    DDX_Control(exchange, kGreenLambdaId, m_greenLambda);
    DDX_Control(exchange, kRedLambdaId, m_redLambda);
    DDX_Control(exchange, kIgnoreId, m_ignore);
}

std::vector<CCalibratorDlgBase::ControlPlace> CalibratorPts::ControlPlaces() const {
    return {
        {kStatusId, 4, 4, 286, 16},        {kRevBarId, 4, 24, 70, 88},      {kRevValueId, 4, 116, 70, 16},
        {kInjsBarId, 78, 24, 70, 88},      {kInjsValueId, 78, 116, 70, 16}, {kFrameId, 152, 20, 70, 44},
        {kGreenLambdaId, 158, 34, 28, 24}, {kRedLambdaId, 190, 34, 28, 24}, {kUndoId, 152, 68, 34, 20},
        {kRedoId, 188, 68, 34, 20},        {kIgnoreId, 152, 94, 70, 20},    {kTotalizeId, 226, 24, 64, 22},
        {kAcceptId, 226, 50, 64, 22},      {kCancelId, 226, 76, 64, 22},
    };
}

BOOL CalibratorPts::OnInitDialog() {
    CCalibratorDlgBase::OnInitDialog();
    m_runningMode = 0;
    m_percentInEffect = 0;
    m_savedBase = 0;
    m_ignoreShownAtMs = 0;
    SetUpControls();
    if (m_core != nullptr) {
        m_core->SetState(CalibratorCore::kStateIdle);
    }
    return TRUE;
}

void CalibratorPts::SetUpControls() {
    SetItemText(kFrameId, LoadText(IDS_CALIB_START_CAPTION));
    SetItemText(kTotalizeId, LoadText(IDS_CALIB_TOTALIZE));
    SetItemText(kAcceptId, LoadText(IDS_CALIB_ACCEPT));
    SetItemText(kCancelId, LoadText(IDS_CALIB_CANCEL));
    SetItemText(kIgnoreId, LoadText(IDS_CALIB_IGNORE));
    m_greenLambda.SetTextColor(kLambdaGreen);
    m_redLambda.SetTextColor(kLambdaRed);
    // "l" in the Symbol font reads as lambda.
    CFont* lambdaFont = CachedFont("Symbol", 100, FW_BOLD, SYMBOL_CHARSET);
    CFont* valueFont = CachedFont("Verdana", 79, FW_NORMAL, DEFAULT_CHARSET);
    CFont* buttonFont = CachedFont("MS Shell Dlg", 94, FW_NORMAL, DEFAULT_CHARSET);
    for (CWnd* lambda : {static_cast<CWnd*>(&m_greenLambda), static_cast<CWnd*>(&m_redLambda)}) {
        if (lambdaFont != nullptr) {
            lambda->SetFont(*lambdaFont);
        }
    }
    for (int id : {kTotalizeId, kAcceptId, kCancelId, kUndoId, kRedoId, kIgnoreId, kFrameId}) {
        CWnd* item = GetDlgItem(id);
        if (item != nullptr && buttonFont != nullptr) {
            item->SetFont(*buttonFont);
        }
    }
    const COLORREF infoBack = GetSysColor(COLOR_INFOBK);
    for (CStaticExtended* value : {&m_revValue, &m_injsValue}) {
        value->SetBkColor(infoBack);
        if (valueFont != nullptr) {
            value->SetFont(*valueFont);
        }
    }
    m_revBar.SetLayout(m_scaleX, m_scaleY, 2, 4, 2, 12, 1);
    m_injsBar.SetLayout(m_scaleX, m_scaleY, 2, 4, 2, 12, 1);
    m_revValue.SetWindowText("0 1/min");
    m_injsValue.SetWindowText("0.00 ms");
    EnableBars(false);
    EnableItem(kUndoId, false);
    EnableItem(kRedoId, false);
    m_ignore.ShowWindow(SW_HIDE);
}

void CalibratorPts::OnLiveStep() {
    if (m_core == nullptr) {
        return;
    }
    ReadLiveSpeedAndInjection();
    ShowLiveValues();
    const int code = m_core->CycleStateMachine(m_dataHandler, m_percentInEffect);
    HideIgnoreWhenDue(code);
    React(code);
}

void CalibratorPts::ShowLiveValues() {
    CString text;
    text.Format("%d 1/min", m_lastRpm);
    m_revValue.SetWindowText(text);
    text.Format("%.02f ms", m_lastMs);
    m_injsValue.SetWindowText(text);
    m_revBar.SetValue(m_lastRpm);
    m_injsBar.SetValue(m_lastMs);
    m_revBar.Invalidate();
    m_injsBar.Invalidate();
}

void CalibratorPts::React(int code) {
    if (const StatusRow* row = FindRow(kStatusRows, code)) {
        SetStatus(row->textId, row->color);
        return;
    }
    if (const StatusRow* row = FindRow(kAbortRows, code)) {
        WriteFuelRequest(kGiveControlBack);
        SetStatus(row->textId, row->color);
        EndOfRun();
        return;
    }
    switch (code) {
    case CalibratorCore::kCodeResult:
        TakeResult();
        break;
    case CalibratorCore::kCodePetrolDone:
        SetStatus(IDS_CALIB_SWITCHING_TO_GAS, kStatusLight);
        SwitchToGas();
        break;
    case CalibratorCore::kCodeInitDone:
        WriteFuelRequest(kGiveControlBack);
        SetStatus(IDS_CALIB_MEASURING_PETROL, kStatusLight);
        break;
    case CalibratorCore::kCodeTooCold: {
        SetStatusText(FormatText(IDS_CALIB_WAIT_TEMPERATURE, m_core->GetParameters().minTemperatureC),
                      kStatusLight);
        break;
    }
    case CalibratorCore::kCodeLambdaUnsettled:
        SetStatus(IDS_CALIB_WAIT_LAMBDA, kStatusOrange);
        ShowIgnore();
        break;
    default:
        break;
    }
}

// While gas is measured the unit applies one percent everywhere: the percent that the map
// gave at the petrol operating point.
void CalibratorPts::SwitchToGas() {
    const CalibratorCore::StageResult& petrol = m_core->GetPetrolResult();
    SetRevScale(petrol.averageRpm, m_core->GetParameters().revsAcceptRpm);
    SetInjsScale(petrol.averageMs);
    int row = 0;
    int column = 0;
    const int cell = m_map->FindNearestCell(petrol.averageRpm, petrol.averageMs, row, column)
                         ? m_map->GetCell(row, column)
                         : 0;
    m_percentInEffect = cell + m_map->GetBasePercent();
    const int rows = m_map->GetRowCount();
    const int columns = m_map->GetColumnCount();
    if (rows > 0 && columns > 0) {
        m_map->FillBox(0, 0, 0, rows - 1, columns - 1);
    }
    SetBasePercent(m_percentInEffect);
    WriteFuelRequest(kRunOnGas);
}

void CalibratorPts::TakeResult() {
    WriteFuelRequest(kGiveControlBack);
    const int result = m_core->GetResultPercent();
    m_percentInEffect = result;
    SetBasePercent(result);
    const CalibratorCore::StageResult& petrol = m_core->GetPetrolResult();
    const int kind = m_core->GetTargetInjection() != 0.0 ? 1 : 0;
    m_map->AddMeasurement(petrol.averageRpm, petrol.averageMs, result, kind);
    m_map->ClearUndoneMeasurements();
    SetStatusText(FormatText(IDS_CALIB_FINISHED, result), kStatusGreen);
    EndOfRun();
}

void CalibratorPts::EndOfRun() {
    SetItemText(kFrameId, LoadText(IDS_CALIB_START_CAPTION));
    EnableItem(kGreenLambdaId, true);
    EnableItem(kRedLambdaId, true);
    EnableBars(false);
    Refold();
    UpdateArrows();
    EnableEndButtons(true);
    m_runningMode = 0;
}

void CalibratorPts::Refold() {
    m_map->CombineLastMeasurementsIntoMatrix(m_savedBase, true);
    SetBasePercent(m_savedBase);
}

void CalibratorPts::OnGreenLambda() {
    OnLambda(kModeGreen);
}

void CalibratorPts::OnRedLambda() {
    OnLambda(kModeRed);
}

void CalibratorPts::OnLambda(int mode) {
    if (m_core == nullptr || m_map == nullptr) {
        return;
    }
    if (!IsIdleState(m_core->GetState())) {
        StopRun();
        return;
    }
    if (!EngineFastEnough()) {
        return;
    }
    StartRun(mode);
}

void CalibratorPts::StartRun(int mode) {
    m_savedBase = m_percentInEffect = m_map->GetBasePercent();
    const CalibratorCore::Parameters& p = m_core->GetParameters();
    SetRevScale(m_lastRpm, p.revsAcceptRpm);
    SetInjsScale(m_lastMs);
    EnableBars(true);
    m_core->SetLambdaCheck(mode == kModeGreen ? 1 : 0);
    m_core->SetState(CalibratorCore::kStateStart);
    m_core->SetTargetRevs(m_lastRpm);
    m_core->SetTargetInjection(m_lastMs);
    ShowRunStarted(kFrameId);
    EnableEndButtons(false);
    EnableItem(mode == kModeGreen ? kRedLambdaId : kGreenLambdaId, false);
    m_runningMode = mode;
}

void CalibratorPts::StopRun() {
    m_core->SetState(CalibratorCore::kStateStopped);
    WriteFuelRequest(kGiveControlBack);
    SetStatus(IDS_CALIB_CANCELLED, kStatusRed);
    EndOfRun();
}

void CalibratorPts::OnLinkLost() {
    if (m_core == nullptr || m_map == nullptr) {
        return;
    }
    const int state = m_core->GetState();
    if (!IsIdleState(state)) {
        m_core->SetState(CalibratorCore::kStateStopped);
        SetStatus(IDS_CALIB_CONNECTION_LOST, kStatusRed);
        // Since the switch to gas the map holds one percent everywhere; put the preview
        // back, or the next start would save that percent as the base.
        if (state == CalibratorCore::kStateWaitGas || state == CalibratorCore::kStateGas) {
            Refold();
        }
    }
    m_revBar.SetValue(0);
    m_injsBar.SetValue(0);
    EnableBars(false);
    m_revValue.SetWindowText("0 1/min");
    m_injsValue.SetWindowText("0.00 ms");
    SetItemText(kFrameId, LoadText(IDS_CALIB_START_CAPTION));
    EnableItem(kGreenLambdaId, true);
    EnableItem(kRedLambdaId, true);
    UpdateArrows();
    EnableEndButtons(true);
    m_runningMode = 0;
    CLogger::Instance().Log(kLogAlways, "CalibratorPts: aborted. connection lost.");
}

void CalibratorPts::OnIgnore() {
    if (m_core != nullptr) {
        m_core->SetLambdaIgnore(1);
    }
}

void CalibratorPts::OnTotalize() {
    EndWith(kResultTotalize);
}

void CalibratorPts::OnAccept() {
    EndWith(kResultAccept);
}

void CalibratorPts::OnCancelButton() {
    if (!ConfirmCancel()) {
        return;
    }
    if (m_core != nullptr) {
        m_core->SetState(CalibratorCore::kStateStopped);
        m_core->SetLambdaIgnore(0);
    }
    EndDialog(IDCANCEL);
}

void CalibratorPts::OnEscape() {
    if (m_runningMode != 0) {
        OnLambda(m_runningMode);
        return;
    }
    if (!ConfirmCancel()) {
        return;
    }
    if (m_core != nullptr) {
        m_core->SetState(CalibratorCore::kStateStopped);
    }
    EndDialog(IDCANCEL);
}

void CalibratorPts::EndWith(int result) {
    if (m_core != nullptr) {
        m_core->SetState(CalibratorCore::kStateIdle);
        m_core->SetLambdaIgnore(0);
    }
    EndDialog(result);
}

void CalibratorPts::SetRevScale(int rpm, int accept) {
    m_revBar.SetScale(rpm - 2.0 * accept, rpm + 2.0 * accept, rpm - static_cast<double>(accept),
                      rpm + static_cast<double>(accept), 0, "", kAboveBand, kBelowBand, kInBand);
}

void CalibratorPts::SetInjsScale(double ms) {
    m_injsBar.SetScale(1.25 * ms, ms - 0.25 * ms, 2, "", kAboveBand, kInBand);
}

void CalibratorPts::EnableBars(bool enable) {
    m_revBar.EnableWindow(enable ? TRUE : FALSE);
    m_injsBar.EnableWindow(enable ? TRUE : FALSE);
    m_revBar.Invalidate();
    m_injsBar.Invalidate();
}

void CalibratorPts::EnableEndButtons(bool enable) {
    EnableItem(kTotalizeId, enable);
    EnableItem(kAcceptId, enable);
    EnableItem(kCancelId, enable);
}

void CalibratorPts::ShowIgnore() {
    m_ignoreShownAtMs = NowMs();
    if (!m_ignore.IsWindowVisible()) {
        m_ignore.ShowWindow(SW_SHOW);
    }
    m_ignore.Invalidate();
}

void CalibratorPts::HideIgnoreWhenDue(int code) {
    if (code == CalibratorCore::kCodeLambdaUnsettled || !m_ignore.IsWindowVisible()) {
        return;
    }
    if (NowMs() - m_ignoreShownAtMs > kIgnoreShownMs) {
        m_ignore.ShowWindow(SW_HIDE);
    }
}
