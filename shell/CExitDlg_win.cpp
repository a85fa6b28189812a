#include "shell/CExitDlg.h"

#include "shell/CResourceManager.h"
#include "shell/ZarvoNames.h"

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
    CString text;
    if (m_resources != nullptr) {
        m_resources->GetString(kIdsCaption, text);
    }
    SetWindowText(CString(ZarvoNames::kTitlePrefix) + ZarvoNames::kTitleSeparator + text);
    if (m_resources != nullptr) {
        m_resources->GetString(kIdsExit, text);
        m_okButton.SetWindowText(text);
        m_resources->GetString(kIdsCancel, text);
        m_cancelButton.SetWindowText(text);
    }
    m_messageText.SetWindowText(m_message);
    return TRUE;
}
