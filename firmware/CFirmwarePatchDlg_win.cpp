#include "firmware/CFirmwarePatchDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

namespace {

constexpr int kCommandElements[] = {PatchTransferMachine::kElementBusy, PatchTransferMachine::kElementStart,
                                    PatchTransferMachine::kElementFinish, PatchTransferMachine::kElementPacket};

UINT StatusTextId(PatchTransferMachine::StatusText status) {
    switch (status) {
    case PatchTransferMachine::kStatusProgramming:
        return CFirmwarePatchDlg::kProgrammingId;
    case PatchTransferMachine::kStatusFinished:
        return CFirmwarePatchDlg::kFinishedId;
    case PatchTransferMachine::kStatusFailed:
        return CFirmwarePatchDlg::kConnectionLostId;
    default:
        return CFirmwarePatchDlg::kWaitingId;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CFirmwarePatchDlg, CProgressDlgBase)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnDataChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_BN_CLICKED(CFirmwarePatchDlg::kCloseId, OnClose)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFirmwarePatchDlg::CFirmwarePatchDlg(CWnd* parent)
    : CProgressDlgBase(kTemplateId, {kPhaseTextId, kProgressId, kStatusTextId, kCloseId}, parent) {}

// A window destroyed without WM_DESTROY reaching the map still leaves no stale subscriber.
CFirmwarePatchDlg::~CFirmwarePatchDlg() {
    Unsubscribe();
}

void CFirmwarePatchDlg::SetDataHandler(CDataHandler* dataHandler) {
    m_dataHandler = dataHandler;
    m_link.SetDataHandler(dataHandler);
}

BOOL CFirmwarePatchDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    DoLayout();
    Subscribe();
    m_transfer.Start(m_patch);
    m_progress.SetRange(0, static_cast<short>(m_transfer.GetTotal()));
    m_progress.SetPos(0, 1);
    m_shownProgress = 0;
    ShowTransfer();
    return TRUE;
}

void CFirmwarePatchDlg::Subscribe() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->RegisterWindow(this);
    for (int element : kCommandElements) {
        m_dataHandler->Subscribe(this, element, kFlagTransferred);
    }
}

void CFirmwarePatchDlg::Unsubscribe() {
    if (m_dataHandler == nullptr) {
        return;
    }
    for (int element : kCommandElements) {
        m_dataHandler->Unsubscribe(this, element, kFlagTransferred);
    }
    m_dataHandler->UnregisterWindow(this);
}

void CFirmwarePatchDlg::DoLayout() {
    LayOut(Centring::kOnOwnerElseDesktop);
    SetWindowText(LoadText(m_resources, IDS_PATCH_CAPTION));
    m_closeButton.SetWindowText(LoadText(m_resources, kCloseTextId));
    Invalidate(TRUE);
}

// The texts, the bar and Close as the transfer stands; the bar glides to a new step.
void CFirmwarePatchDlg::ShowTransfer() {
    const UINT phaseId =
        m_transfer.GetPhase() == PatchTransferMachine::kPhaseWriting ? kWritingId : kInitializingId;
    ShowProgressLine(phaseId, m_transfer.GetPercent());
    m_stateText.SetWindowText(LoadText(m_resources, StatusTextId(m_transfer.GetStatusText())));
    m_closeButton.EnableWindow(m_transfer.IsCloseEnabled() ? TRUE : FALSE);
    if (m_transfer.GetProgress() != m_shownProgress) {
        m_shownProgress = m_transfer.GetProgress();
        m_progress.SetPos(m_shownProgress, 0);
    }
}

LRESULT CFirmwarePatchDlg::OnDataChanged(WPARAM wParam, LPARAM lParam) {
    m_transfer.OnTransferDone(static_cast<int>(LOWORD(lParam)), wParam != 0);
    ShowTransfer();
    return 0;
}

LRESULT CFirmwarePatchDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    m_transfer.OnStatusChanged(static_cast<int>(status));
    ShowTransfer();
    return 0;
}

LRESULT CFirmwarePatchDlg::OnNewData(WPARAM wParam, LPARAM lParam) {
    return 0;
}

// A click that reaches a disabled button (BM_CLICK does) must not end an unfinished run.
void CFirmwarePatchDlg::OnClose() {
    if (!m_transfer.IsCloseEnabled()) {
        return;
    }
    EndDialog(m_transfer.GetResult());
}

void CFirmwarePatchDlg::OnDestroy() {
    Default();
    Unsubscribe();
}
