#include "shell/CBusyProgressDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ElementTable.h"

namespace {

constexpr UINT kIdsUnitBusy = 15247;
constexpr int kJobStateByte = 3;


}  // namespace

BEGIN_MESSAGE_MAP(CBusyProgressDlg, CProgressPopupDlg)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnLiveCycle)
END_MESSAGE_MAP()

CBusyProgressDlg::CBusyProgressDlg() : CProgressPopupDlg(kTemplateId, kIdsUnitBusy, kJobDone) {}

CBusyProgressDlg::~CBusyProgressDlg() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
    }
}

CBusyProgressDlg::JobAction CBusyProgressDlg::ActionOf(int jobState) {
    if (jobState >= 0 && jobState <= kJobDone) {
        return JobAction::Move;
    }
    switch (jobState) {
    case 240:
    case 241:
        return JobAction::Stay;
    case 253:
        return JobAction::Abort;
    case 254:
        return JobAction::EndFull;
    case 255:
        return JobAction::End;
    default:
        return JobAction::Fail;
    }
}

void CBusyProgressDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

BOOL CBusyProgressDlg::OnInitDialog() {
    CProgressPopupDlg::OnInitDialog();
    // Opened with the link already down, no status change would ever come to end it.
    if (m_dataHandler != nullptr && !IsLinkUp(m_dataHandler->GetStatus())) {
        PostMessage(WM_DH_STATUS_CHANGED, static_cast<UINT_PTR>(m_dataHandler->GetStatus()), 0);
    }
    return TRUE;
}

LRESULT CBusyProgressDlg::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

LRESULT CBusyProgressDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    if (!IsLinkUp(static_cast<int>(status))) {
        Finish(kResultLinkLost);
    }
    return 0;
}

LRESULT CBusyProgressDlg::OnLiveCycle(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    const int length = m_dataHandler->GetElementLength(DATA_STATUS_ENGINE_STATUS);
    if (length <= kJobStateByte) {
        return 0;
    }
    m_engineStatus.assign(static_cast<size_t>(length), 0);
    m_dataHandler->ReadData(DATA_STATUS_ENGINE_STATUS, m_engineStatus.data());
    m_lastJobState = m_engineStatus[kJobStateByte];
    switch (ActionOf(m_lastJobState)) {
    case JobAction::Move:
        SetProgress(m_lastJobState);
        break;
    case JobAction::Stay:
        break;
    case JobAction::End:
        Finish(kResultJobEnded);
        break;
    case JobAction::EndFull:
        SetProgress(kJobDone);
        m_dataHandler->ResetWriteDoneFlag();
        Finish(kResultJobEnded);
        break;
    case JobAction::Abort:
        Finish(kResultAborted);
        break;
    case JobAction::Fail:
        Finish(kResultLinkLost);
        break;
    }
    return 0;
}

void CBusyProgressDlg::Finish(int result) {
    if (m_dataHandler != nullptr) {
        m_dataHandler->FlushFCR();
    }
    EndDialog(result);
}
