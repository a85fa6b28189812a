#include "manager/CManagerAboutDlg.h"

#include "classlib/win/CDataExchange.h"
#include "manager/CManagerApp.h"
#include "manager/res/ManagerResourceIds.h"

CManagerAboutDlg::CManagerAboutDlg(CWnd* parent) : CDialog(IDD_MANAGER_ABOUT, parent) {}

void CManagerAboutDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ABOUT_VERSION, m_version);
    DDX_Control(exchange, IDC_ABOUT_LINK, m_link);
}

BOOL CManagerAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
    CManagerApp* app = ManagerApp();
    if (app != nullptr) {
        app->GetVersion(major, minor, build, revision);
    }
    CString text;
    text.Format("ZYLMOR ZFx Viewer v%d.%02d", major, minor);
    m_version.SetWindowText(text);
    LOGFONTA logFont = {};
    HFONT dialogFont = GetFont();
    if (dialogFont != nullptr && GetObjectA(dialogFont, sizeof logFont, &logFont) != 0) {
        logFont.lfHeight -= 2;
        logFont.lfWeight = FW_BOLD;
        if (m_boldFont.CreateFontIndirect(&logFont)) {
            m_version.SetFont(m_boldFont);
        }
    }
    CString address;
    m_link.GetWindowText(address);
    m_link.SetURL(address);
    return TRUE;
}
