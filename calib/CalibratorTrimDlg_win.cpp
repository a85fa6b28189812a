#include "calib/CalibratorTrimDlg.h"

#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorCoreTrim.h"
#include "calib/ICalibrationMap.h"
#include "classlib/win/AfxMsgMap.h"

BEGIN_MESSAGE_MAP(CalibratorTrimDlg, CCalibratorDlgBase)
    ON_BN_CLICKED(CalibratorTrimDlg::kStartId, OnStart)
    ON_BN_CLICKED(CalibratorTrimDlg::kUseLongId, OnUseLong)
    ON_BN_CLICKED(CalibratorTrimDlg::kOkId, OnOkButton)
    ON_BN_CLICKED(CCalibratorDlgBase::kCancelId, OnCancelButton)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CalibratorTrimDlg::CalibratorTrimDlg(UINT templateId, CWnd* page) : CCalibratorDlgBase(templateId, page) {}

void CalibratorTrimDlg::SetFilterValue(int value) {
    m_filterValue = value;
    if (CalibratorCoreTrim* core = TrimCore()) {
        core->SetFilterValue(value);
    }
}

BOOL CalibratorTrimDlg::OnInitDialog() {
    CCalibratorDlgBase::OnInitDialog();
    SetItemText(kUseLongLabelId, LoadText(IDS_CALIB_USE_LONG));
    SetItemText(kStartId, LoadText(IDS_CALIB_START_CAPTION));
    SetItemText(kOkId, LoadText(IDS_CALIB_OK));
    SetItemText(kCancelId, LoadText(IDS_CALIB_CANCEL));
    EnableItem(kUndoId, false);
    EnableItem(kRedoId, false);
    if (CalibratorCoreTrim* core = TrimCore()) {
        core->SetState(CalibratorCoreTrim::kStateIdle);
    }
    return TRUE;
}

void CalibratorTrimDlg::StopOnLinkLost() {
    if (IsRunOn()) {
        TrimCore()->SetState(StoppedState());
        SetStatus(IDS_CALIB_CONNECTION_LOST, kStatusRed);
    }
}

void CalibratorTrimDlg::EnableIdleControls(bool enable) {
    EnableItem(kOkId, enable);
    EnableItem(kCancelId, enable);
    EnableItem(kUseLongId, enable);
    EnableItem(kUseLongLabelId, enable);
}

void CalibratorTrimDlg::OnStart() {
    if (TrimCore() == nullptr || m_map == nullptr) {
        return;
    }
    if (IsRunOn()) {
        StopRun();
        return;
    }
    if (!EngineFastEnough()) {
        return;
    }
    StartRun();
    ShowRunStarted(kStartId);
    EnableIdleControls(false);
    m_runningMode = kModeRunning;
}

void CalibratorTrimDlg::Refold() {
    if (!m_map->HasNewMeasurement()) {
        m_map->RestoreSavedMatrix();
        return;
    }
    FoldMeasurements();
}

void CalibratorTrimDlg::OnUseLong() {
    CalibratorCoreTrim* core = TrimCore();
    if (core == nullptr || !IsItemEnabled(kUseLongId)) {
        return;
    }
    core->SetUseLongTrim(core->GetUseLongTrim() != 0 ? 0 : 1);
    CWnd* box = GetDlgItem(kUseLongId);
    if (box != nullptr) {
        box->Invalidate();
    }
}

void CalibratorTrimDlg::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    CalibratorCoreTrim* core = TrimCore();
    if (id == kUseLongId && core != nullptr) {
        DrawCheckBox(*drawItem, core->GetUseLongTrim() != 0);
        return;
    }
    CCalibratorDlgBase::OnDrawItem(id, drawItem);
}

void CalibratorTrimDlg::OnOkButton() {
    if (CalibratorCoreTrim* core = TrimCore()) {
        core->SetState(CalibratorCoreTrim::kStateIdle);
    }
    EndDialog(1);
}

void CalibratorTrimDlg::OnCancelButton() {
    if (!ConfirmCancel()) {
        return;
    }
    if (CalibratorCoreTrim* core = TrimCore()) {
        core->SetState(StoppedState());
    }
    EndDialog(IDCANCEL);
}

void CalibratorTrimDlg::OnEscape() {
    if (TrimCore() != nullptr && IsRunOn()) {
        OnStart();
        return;
    }
    OnCancelButton();
}
