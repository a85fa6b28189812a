#include "shell/CAboutDlg.h"

#include "shell/CZarvoApp.h"
#include "shell/ZarvoNames.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

CString CAboutDlg::NameLine(const CString& productLine, int major, int minor, int build, int revision) {
    CString version;
    version.Format(ZarvoNames::kVersionFormat, major, minor, build, revision);
    CString line(productLine);
    line += " ";
    line += version;
    return line;
}

void CAboutDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kNameLineId, m_nameLine);
    DDX_Control(exchange, kLinkId, m_link);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
    ZarvoApp().GetAppVersion(major, minor, build, revision);
    CString productLine;
    m_nameLine.GetWindowText(productLine);
    m_nameLine.SetWindowText(NameLine(productLine, major, minor, build, revision));
    m_link.SetURL(ZarvoNames::kWebAddress);
    return TRUE;
}
