#include "shell/CTransferDirectionDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/IUserPrompter.h"
#include "shell/CResourceManager.h"
#include "shell/TitledDialogTexts.h"

namespace {

constexpr UINT kIdsCaption = 15115;
constexpr UINT kIdsFromUnit = 15113;
constexpr UINT kIdsToUnit = 15114;
constexpr UINT kIdsCancel = 15235;

// Private: the worker's report that the link went up (wParam 1) or down (0).
constexpr UINT kMsgLinkChanged = WM_APP + 0x159;

}  // namespace

BEGIN_MESSAGE_MAP(CTransferDirectionDlg, CDialog)
    ON_BN_CLICKED(CTransferDirectionDlg::kFromUnitId, OnFromUnit)
    ON_BN_CLICKED(CTransferDirectionDlg::kToUnitId, OnToUnit)
    ON_BN_CLICKED(CTransferDirectionDlg::kCancelId, OnCancelTransfer)
    ON_MESSAGE(kMsgLinkChanged, OnLinkChanged)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTransferDirectionDlg::CTransferDirectionDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

void CTransferDirectionDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kFromUnitId, m_fromUnitButton);
    DDX_Control(exchange, kCancelId, m_cancelButton);
    DDX_Control(exchange, kToUnitId, m_toUnitButton);
    DDX_Control(exchange, kMessageId, m_messageText);
}

BOOL CTransferDirectionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTitledDialogTexts(*this, m_resources, kIdsCaption,
                         {{m_fromUnitButton, kIdsFromUnit}, {m_toUnitButton, kIdsToUnit}, {m_cancelButton, kIdsCancel}});
    m_fromUnitButton.EnableWindow(TRUE);
    m_toUnitButton.EnableWindow(TRUE);
    m_cancelButton.EnableWindow(FALSE);
    m_cancelButton.ShowWindow(SW_HIDE);
    m_messageText.SetWindowText(m_message);
    m_window = GetSafeHwnd();
    // A link lost before the dialog opened is reported to no one: offer Cancel now.
    if (!m_linkUpAtOpen) {
        ShowChoice(false);
    }
    return TRUE;
}

void CTransferDirectionDlg::AdjustTransferChoice(bool linkUp) {
    const HWND window = m_window;
    if (window != nullptr) {
        ::PostMessageA(window, kMsgLinkChanged, linkUp ? 1 : 0, 0);
    }
}

LRESULT CTransferDirectionDlg::OnLinkChanged(WPARAM linkUp, LPARAM lParam) {
    ShowChoice(linkUp != 0);
    return 0;
}

void CTransferDirectionDlg::ShowChoice(bool linkUp) {
    m_fromUnitButton.EnableWindow(linkUp ? TRUE : FALSE);
    m_toUnitButton.EnableWindow(linkUp ? TRUE : FALSE);
    m_cancelButton.EnableWindow(linkUp ? FALSE : TRUE);
    m_cancelButton.ShowWindow(linkUp ? SW_HIDE : SW_SHOW);
    GotoDlgCtrl(linkUp ? &m_fromUnitButton : &m_cancelButton);
}

void CTransferDirectionDlg::OnDestroy() {
    m_window = nullptr;
    Default();
}

void CTransferDirectionDlg::OnFromUnit() {
    EndDialog(kTransferFromUnit);
}

void CTransferDirectionDlg::OnToUnit() {
    EndDialog(kTransferToUnit);
}

void CTransferDirectionDlg::OnCancelTransfer() {
    EndDialog(kTransferCancel);
}

void CTransferDirectionDlg::OnOK() {}

void CTransferDirectionDlg::OnCancel() {}
