#include "firmware/CFirmwarePatchDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "shell/CResourceManager.h"
#include "shell/GetCachedFont.h"

namespace {

constexpr UINT kWritingId = 15389;       // "Writing: %d%%."
constexpr UINT kInitializingId = 15390;  // "Initializing: %d%%."
constexpr UINT kWaitingId = 15391;       // "Waiting ..."
constexpr UINT kCloseTextId = 15392;     // "Close"
constexpr UINT kFailedId = 15393;        // "Failed. Connection lost. You have to restart patching."
constexpr UINT kFinishedId = 15395;      // "Finished successfully."
constexpr UINT kProgrammingId = 15397;   // "Programming ..."

constexpr int kFontTenths = 80;
constexpr int kCommandElements[] = {PatchTransferMachine::kElementBusy, PatchTransferMachine::kElementStart,
                                    PatchTransferMachine::kElementFinish, PatchTransferMachine::kElementPacket};

int Scaled(double units, double scale) {
    return static_cast<int>(units * scale);
}

UINT StatusTextId(PatchTransferMachine::StatusText status) {
    switch (status) {
    case PatchTransferMachine::kStatusProgramming:
        return kProgrammingId;
    case PatchTransferMachine::kStatusFinished:
        return kFinishedId;
    case PatchTransferMachine::kStatusFailed:
        return kFailedId;
    default:
        return kWaitingId;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CFirmwarePatchDlg, CDialog)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnDataChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_BN_CLICKED(CFirmwarePatchDlg::kCloseId, OnClose)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFirmwarePatchDlg::CFirmwarePatchDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

// A window destroyed without WM_DESTROY reaching the map still leaves no stale subscriber.
CFirmwarePatchDlg::~CFirmwarePatchDlg() {
    Unsubscribe();
}

void CFirmwarePatchDlg::SetDataHandler(CDataHandler* dataHandler) {
    m_dataHandler = dataHandler;
    m_link.SetDataHandler(dataHandler);
}

void CFirmwarePatchDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        ::PostMessageA(window, message, wParam, lParam);
    }
}

void CFirmwarePatchDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kPhaseTextId, m_phaseText);
    DDX_Control(exchange, kProgressId, m_progress);
    DDX_Control(exchange, kStatusTextId, m_statusText);
    DDX_Control(exchange, kCloseId, m_closeButton);
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
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    const int width = Scaled(280, sx);
    const int height = Scaled(160, sy);
    const int mx = Scaled(9, sx);
    const int my = Scaled(9, sy);
    const int line = Scaled(16, sy);
    const int gap4 = Scaled(4, sy);
    const int gap8 = Scaled(8, sy);
    const int buttonWidth = Scaled(70, sx);
    const int buttonHeight = Scaled(20, sy);

    CFont* font = GetCachedFont(m_fonts, this, "Verdana", kFontTenths, sx, sy);

    RECT parentArea = {};
    CWnd* parent = m_pParentWnd != nullptr ? m_pParentWnd : GetParent();
    if (parent != nullptr && parent->GetSafeHwnd() != nullptr) {
        parent->GetWindowRect(&parentArea);
    } else {
        ::GetWindowRect(::GetDesktopWindow(), &parentArea);
    }
    MoveWindow((parentArea.left + parentArea.right) / 2 - width / 2,
               (parentArea.top + parentArea.bottom) / 2 - height / 2, width, height, TRUE);

    RECT client = {};
    GetClientRect(&client);
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    m_phaseText.MoveWindow(mx, my, cw - 2 * mx, line, TRUE);
    m_progress.MoveWindow(mx, my + line + gap4, cw - 2 * mx, line, TRUE);
    const int statusTop = my + line + gap4 + line + 2 * gap8;
    m_statusText.MoveWindow(mx, statusTop, cw - 2 * mx, ch - statusTop - 2 * gap8 - buttonHeight - my, TRUE);
    m_closeButton.MoveWindow(cw - buttonWidth - mx, ch - buttonHeight - my, buttonWidth, buttonHeight, TRUE);
    m_closeButton.EnableWindow(FALSE);
    if (font != nullptr) {
        const HFONT handle = *font;
        m_phaseText.SetFont(handle, FALSE);
        m_statusText.SetFont(handle, FALSE);
        m_closeButton.SetFont(handle, FALSE);
    }
    SetWindowText(LoadText(IDS_PATCH_CAPTION));
    m_closeButton.SetWindowText(LoadText(kCloseTextId));
    Invalidate(TRUE);
}

CString CFirmwarePatchDlg::LoadText(UINT id) const {
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(id, text);
    }
    return text;
}

// The texts, the bar and Close as the transfer stands; the bar glides to a new step.
void CFirmwarePatchDlg::ShowTransfer() {
    const UINT phaseId =
        m_transfer.GetPhase() == PatchTransferMachine::kPhaseWriting ? kWritingId : kInitializingId;
    CString phase;
    // The resource manager hands out only translations whose conversions match the
    // built-in text, so the percentage meets the one %d it expects.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    phase.Format(LoadText(phaseId), m_transfer.GetPercent());
#pragma GCC diagnostic pop
    m_phaseText.SetWindowText(phase);
    m_statusText.SetWindowText(LoadText(StatusTextId(m_transfer.GetStatusText())));
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

void CFirmwarePatchDlg::OnOK() {}

void CFirmwarePatchDlg::OnCancel() {}
