#include "calib/CalibratorContDlg.h"

#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorCoreCont.h"
#include "calib/ICalibrationMap.h"

namespace {

constexpr int kMeasurementKind = 1;

constexpr CCalibratorDlgBase::StatusRow kStatusRows[] = {
    {CalibratorCoreCont::kCodeTrimsInvalid, IDS_CALIB_WAIT_OBD, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCoreCont::kCodeNoClosedLoop, IDS_CALIB_WAIT_CLOSED_LOOP, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCoreCont::kCodeRevsTooLow, IDS_CALIB_WAIT_REVS, CCalibratorDlgBase::kStatusOrange},
    {CalibratorCoreCont::kCodeMeasuring, IDS_CALIB_MEASURING, CCalibratorDlgBase::kStatusLight},
};

constexpr CCalibratorDlgBase::StatusRow kAbortRows[] = {
    {CalibratorCoreCont::kCodeGasLost, IDS_CALIB_GAS_LOST, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreCont::kCodeBelowMinimum, IDS_CALIB_MINIMUM_REACHED, CCalibratorDlgBase::kStatusRed},
    {CalibratorCoreCont::kCodeAboveMaximum, IDS_CALIB_MAXIMUM_REACHED, CCalibratorDlgBase::kStatusRed},
};

}  // namespace

CalibratorContDlg::CalibratorContDlg(CWnd* page) : CalibratorTrimDlg(kTemplateId, page) {}

CalibratorCoreTrim* CalibratorContDlg::TrimCore() const {
    return m_core;
}

int CalibratorContDlg::StoppedState() const {
    return CalibratorCoreCont::kStateStopped;
}

std::vector<CCalibratorDlgBase::ControlPlace> CalibratorContDlg::ControlPlaces() const {
    return {
        {kStatusId, 4, 4, 286, 16},         {kStartId, 4, 28, 90, 26},    {kUseLongId, 4, 62, 14, 14},
        {kUseLongLabelId, 22, 62, 120, 14}, {kUndoId, 150, 28, 34, 22},   {kRedoId, 188, 28, 34, 22},
        {kOkId, 226, 28, 64, 22},           {kCancelId, 226, 54, 64, 22},
    };
}

bool CalibratorContDlg::IsRunOn() const {
    const int state = m_core->GetState();
    return state != CalibratorCoreCont::kStateIdle && state != CalibratorCoreCont::kStateStopped;
}

void CalibratorContDlg::OnLiveStep() {
    if (m_core == nullptr) {
        return;
    }
    ReadLiveSpeedAndInjection();
    const int percentInEffect = m_map->GetInterpolatedValue(m_lastRpm, m_lastMs) + m_map->GetBasePercent();
    React(m_core->Step(m_dataHandler, percentInEffect));
}

void CalibratorContDlg::React(int code) {
    if (ShowRowOf(kStatusRows, kAbortRows, code)) {
        return;
    }
    switch (code) {
    case CalibratorCoreCont::kCodeStarted:
        WriteFuelRequest(kRunOnGas);
        break;
    case CalibratorCoreCont::kCodePointFound:
        TakePoint();
        break;
    case CalibratorCoreCont::kCodeTooCold:
        SetStatusText(FormatText(IDS_CALIB_WAIT_TEMPERATURE, m_core->GetParameters().minTemperatureC),
                      kStatusOrange);
        break;
    default:
        break;
    }
}

// The core goes on to the next point by itself; the user may end the dialog meanwhile.
void CalibratorContDlg::TakePoint() {
    const int result = m_core->GetResultPercent();
    m_map->AddMeasurement(m_core->GetPositionRpm(), m_core->GetPositionMs(), result, kMeasurementKind);
    SetStatusText(FormatText(IDS_CALIB_FINISHED, result), kStatusGreen);
    FoldMeasurements();
    UpdateArrows();
    EnableIdleControls(true);
    m_runningMode = 0;
}

void CalibratorContDlg::EndOfRun() {
    SetItemText(kStartId, LoadText(IDS_CALIB_START_CAPTION));
    EnableItem(kStartId, true);
    UpdateArrows();
    EnableItem(kOkId, true);
    EnableItem(kCancelId, true);
    m_runningMode = 0;
}

void CalibratorContDlg::StartRun() {
    m_core->SetState(CalibratorCoreCont::kStateStart);
}

void CalibratorContDlg::StopRun() {
    m_core->SetState(CalibratorCoreCont::kStateStopped);
    EndOfRun();
    SetStatus(IDS_CALIB_STOPPED, kStatusOrange);
}

void CalibratorContDlg::FoldMeasurements() {
    m_map->CombineLastMeasurementsIntoMatrix(m_map->GetBasePercent(), false);
}

void CalibratorContDlg::OnLinkLost() {
    if (m_core == nullptr) {
        return;
    }
    StopOnLinkLost();
    SetItemText(kStartId, LoadText(IDS_CALIB_START_CAPTION));
    UpdateArrows();
    EnableIdleControls(true);
    m_runningMode = 0;
}
