#include "firmware/CFirmwareUpdateDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

namespace {

constexpr UINT kCaptionId = 15225;       // "MCU Firmware Updating"
constexpr UINT kErasingId = 15226;       // "Erasing: %d%%."
constexpr UINT kWriteErrorId = 15227;    // "Write error. You have to restart updating."
constexpr UINT kBrokenId = 15228;        // "The update is broken. You have to restart updating."
constexpr UINT kAbortedId = 15229;       // "Aborted. Connection lost. You have to restart updating."

constexpr int kUpdateModeStatus = 5;

}  // namespace

BEGIN_MESSAGE_MAP(CFirmwareUpdateDlg, CProgressDlgBase)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_BN_CLICKED(CFirmwareUpdateDlg::kCloseId, OnClose)
END_MESSAGE_MAP()

CFirmwareUpdateDlg::CFirmwareUpdateDlg(CWnd* parent)
    : CProgressDlgBase(kTemplateId, {kPhaseTextId, kProgressId, kStatusTextId, kCloseId}, parent) {}

CFirmwareUpdateDlg::~CFirmwareUpdateDlg() = default;

BOOL CFirmwareUpdateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    DoLayout();
    m_lastCode = 0;
    return TRUE;
}

void CFirmwareUpdateDlg::DoLayout() {
    LayOut(Centring::kOnOwnerElseDesktop);
    m_progress.SetRange(0, 1000);
    m_progress.SetPos(0, 1);
    SetTexts();
    Invalidate(TRUE);
}

void CFirmwareUpdateDlg::SetTexts() {
    SetWindowText(LoadText(m_resources, kCaptionId));
    ShowProgressLine(kInitializingId, 0);
    m_stateText.SetWindowText(LoadText(m_resources, kWaitingId));
    m_closeButton.SetWindowText(LoadText(m_resources, kCloseTextId));
}

void CFirmwareUpdateDlg::ShowStatus(UINT textId, bool enableClose) {
    m_stateText.SetWindowText(LoadText(m_resources, textId));
    m_closeButton.EnableWindow(enableClose ? TRUE : FALSE);
}

void CFirmwareUpdateDlg::OnUpdateProgress(int code, int perMille) {
    m_lastCode = code;
    const int percent = perMille / 10;
    switch (code) {
    case kCodeErasing:
    case kCodeWriting:
    case kCodeFinished:
        ShowProgressLine(code == kCodeErasing ? kErasingId : kWritingId, percent);
        m_progress.SetPos(perMille, 0);
        ShowStatus(code == kCodeFinished ? kFinishedId : kProgrammingId, code == kCodeFinished);
        return;
    case kCodeWriteError:
        ShowStatus(kWriteErrorId, true);
        return;
    case kCodeBroken:
        ShowStatus(kBrokenId, true);
        return;
    default:
        return;
    }
}

LRESULT CFirmwareUpdateDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    const bool uploading = m_lastCode == 0 || m_lastCode == kCodeWriting || m_lastCode == kCodeErasing;
    if (static_cast<int>(status) != kUpdateModeStatus && uploading) {
        ShowStatus(kAbortedId, true);
    }
    return 0;
}

void CFirmwareUpdateDlg::OnClose() {
    EndDialog(1);
}
