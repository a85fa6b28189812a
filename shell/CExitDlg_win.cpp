#include "shell/CExitDlg.h"

#include "shell/CResourceManager.h"
#include "shell/TitledDialogTexts.h"

namespace {

constexpr UINT kIdsExit = 15110;
constexpr UINT kIdsCancel = 15111;
constexpr UINT kIdsCaption = 15112;

}  // namespace

CExitDlg::CExitDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

void CExitDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kMessageId, m_messageText);
    DDX_Control(exchange, IDCANCEL, m_cancelButton);
    DDX_Control(exchange, IDOK, m_okButton);
}

BOOL CExitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTitledDialogTexts(*this, m_resources, kIdsCaption, {{m_okButton, kIdsExit}, {m_cancelButton, kIdsCancel}});
    m_messageText.SetWindowText(m_message);
    return TRUE;
}
