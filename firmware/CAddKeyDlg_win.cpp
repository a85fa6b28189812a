#include "firmware/CAddKeyDlg.h"

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CDataExchange.h"
#include "firmware/CAddKeyDlgIds.h"
#include "link/IResourceManager.h"

namespace {

// The quote, % & / ( ) [ ] { } = ?, the acute accent of code page 1252, the grave accent and
// * # ' , ; . : < > |.
const char kForbidden[] = "\"%&/()[]{}=?\xB4`*#',;.:<>|";

}  // namespace

CAddKeyDlg::CAddKeyDlg(CWnd* parent) : CDialog(IDD_ADD_KEY, parent) {}

CString CAddKeyDlg::CheckKey(const CString& typed) {
    CString key = typed;
    key.Trim();
    if (key.IsEmpty() || key.FindOneOf(kForbidden) >= 0) {
        return CString();
    }
    return key;
}

CString CAddKeyDlg::Text(UINT id, LPCSTR fallback) const {
    CString text;
    if (m_resources != nullptr) {
        text = m_resources->GetString(id);
    }
    if (text.IsEmpty() && !text.LoadString(id)) {
        text = fallback;
    }
    return text;
}

void CAddKeyDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ADD_KEY_LABEL, m_label);
    DDX_Control(exchange, IDC_ADD_KEY_EDIT, m_edit);
}

BOOL CAddKeyDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(Text(IDS_ADD_KEY_CAPTION, "Add a new key"));
    m_label.SetWindowText(Text(IDS_ADD_KEY_LABEL, "Key (e.g.: en):"));
    return TRUE;
}

void CAddKeyDlg::OnOK() {
    CString typed;
    m_edit.GetWindowText(typed);
    const CString key = CheckKey(typed);
    if (key.IsEmpty()) {
        AfxMessageBox(Text(IDS_ADD_KEY_INVALID, "Please enter a valid key."), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_key = key;
    CDialog::OnOK();
}
