#include "shell/CConnStatusDlg.h"
#include "classlib/core/FormatText.h"

#include "classlib/win/AfxMsgMap.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "shell/CResourceManager.h"
#include "shell/CZarvoApp.h"
#include "shell/MainMenuLayout.h"
#include "forms/fonts/GetCachedFont.h"
#include "shell/ZarvoNames.h"

namespace {

constexpr int kStatusFontTenths = 120;
constexpr int kVersionFontTenths = 60;

struct StatusLook {
    int status;
    UINT textId;
    COLORREF colour;
};

constexpr StatusLook kStatusLooks[] = {
    {1, 15032, RGB(200, 0, 0)},   {2, 15033, RGB(0, 160, 0)}, {3, 15034, RGB(255, 128, 0)},
    {4, 15035, RGB(255, 128, 0)}, {5, 15199, RGB(0, 0, 208)}, {6, 15200, RGB(255, 128, 0)},
};
constexpr StatusLook kInitializing = {0, 15031, RGB(0, 0, 0)};

const StatusLook& LookOf(int status) {
    for (const StatusLook& look : kStatusLooks) {
        if (look.status == status) {
            return look;
        }
    }
    return kInitializing;
}

}  // namespace

BEGIN_MESSAGE_MAP(CConnStatusDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CConnStatusDlg::CConnStatusDlg() = default;

CConnStatusDlg::~CConnStatusDlg() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
    }
}

UINT CConnStatusDlg::StatusTextId(int status) {
    return LookOf(status).textId;
}

COLORREF CConnStatusDlg::StatusColour(int status) {
    return LookOf(status).colour;
}

void CConnStatusDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CConnStatusDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kVersionTextId, m_versionText);
    DDX_Control(exchange, kStatusTextId, m_statusText);
}

BOOL CConnStatusDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_status = -1;
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
    }
    Layout();
    return TRUE;
}

void CConnStatusDlg::Layout() {
    CWnd* parent = GetParent();
    if (parent == nullptr) {
        return;
    }
    RECT parentArea = {};
    parent->GetClientRect(&parentArea);
    const int pw = parentArea.right - parentArea.left;
    const int ph = parentArea.bottom - parentArea.top;
    // The panel scales with the main window's layout.
    const MainMenuLayout design = ComputeMainMenuLayout(pw, ph);
    const double sx = design.scaleX;
    const double sy = design.scaleY;
    const int mx = static_cast<int>(4 * sx);
    const int my = static_cast<int>(2 * sy);
    const int height = static_cast<int>(24 * sy);
    MoveWindow(parentArea.left, ph - height, pw, height, TRUE);

    RECT area = {};
    GetClientRect(&area);
    const int cw = area.right - area.left;
    const int ch = area.bottom - area.top;
    const int statusWidth = cw - 3 * mx - cw / 8;
    m_statusText.MoveWindow(mx, my, statusWidth, ch - 2 * my, TRUE);
    m_versionText.MoveWindow(statusWidth + 2 * mx, my, cw / 8, ch - 2 * my, TRUE);

    CFont* statusFont = GetCachedFont(m_fonts, this, "Verdana", kStatusFontTenths, sx, sy);
    if (statusFont != nullptr) {
        m_statusText.SetFont(*statusFont, FALSE);
    }
    CFont* versionFont = GetCachedFont(m_fonts, this, "MS Shell Dlg", kVersionFontTenths, sx, sy);
    if (versionFont != nullptr) {
        m_versionText.SetFont(*versionFont, FALSE);
    }

    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
    ZarvoApp().GetAppVersion(major, minor, build, revision);
    CString version;
    version.Format(ZarvoNames::kVersionFormat, major, minor, build, revision);
    m_versionText.SetWindowText(version);

    ShowStatusText();
    Invalidate(TRUE);
}

void CConnStatusDlg::ShowStatusText() {
    const StatusLook& look = LookOf(m_status);
    const CString format = LoadText(m_resources, look.textId);
    // The resource manager hands out only translations whose conversions match the
    // built-in text, so the port and baud rate meet the conversions they expect.
    CString text = FormatText(format, m_portNumber, m_baudRate);
    if (m_editsHeld) {
        text += " - ";
        text += LoadText(m_resources, kEditsHeldTextId);
    }
    m_statusText.SetTextColor(look.colour);
    m_statusText.SetWindowText(text);
}

void CConnStatusDlg::OnShowWindow(BOOL show, UINT status) {
    Default();
}

LRESULT CConnStatusDlg::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

void CConnStatusDlg::SetEditsHeld(bool held) {
    m_editsHeld = held;
    if (GetSafeHwnd() != nullptr) {
        ShowStatusText();
    }
}

LRESULT CConnStatusDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    m_status = static_cast<int>(status);
    m_portNumber = static_cast<int>(port);
    m_baudRate = 9600;
    ShowStatusText();
    return 0;
}

LRESULT CConnStatusDlg::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    ShowStatusText();
    return 0;
}
