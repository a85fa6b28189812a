#include "manager/CManagerAboutDlg.h"

#include "classlib/win/CDataExchange.h"
#include "link/CLogger.h"
#include "manager/CManagerApp.h"
#include "manager/res/ManagerResourceIds.h"

#include <shellapi.h>

BEGIN_MESSAGE_MAP(CManagerAboutDlg, CDialog)
    ON_STN_CLICKED(IDC_ABOUT_LINK, OnLinkClicked)
END_MESSAGE_MAP()

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
    return TRUE;
}

void CManagerAboutDlg::OnLinkClicked() {
    CString address;
    m_link.GetWindowText(address);
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(m_hWnd, "open", address, nullptr, nullptr, SW_SHOW));
    if (result <= 32) {
        CLogger::Instance().Log(1000, "CManagerAboutDlg: %s could not be opened (%d).", address.GetString(),
                                static_cast<int>(result));
    }
}
