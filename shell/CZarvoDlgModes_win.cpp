// The main dialog's modes: the main menu, Configure (a tab host above the live status page)
// and Diagnosis (a tab host). The hosts, their pages and the live status page are created
// once and only shown, hidden, enabled and disabled here.
#include "forms/CScrollPage.h"
#include "link/CLogger.h"
#include "shell/CZarvoDlg.h"

#include <cmath>

namespace {

constexpr UINT kIdsConfigure = 15004;
constexpr UINT kIdsDiagnosis = 15005;
constexpr UINT kIdsMainMenu = 15012;
constexpr UINT kIdsInformationTab = 15040;
constexpr UINT kIdsStaticDataTab = 15041;
constexpr UINT kIdsBasicTableTab = 15042;
constexpr UINT kIdsAdaptiveTablesTab = 15245;
constexpr UINT kIdsEventLogTab = 15073;
constexpr UINT kIdsTroubleCodesTab = 15511;

// In design units of the 620 x 440 layout: the room above the hosts, below them, and the
// live status page's height under the Configure host.
constexpr int kHostTop = 28;
constexpr int kHostBottom = 24;
constexpr int kLiveStatusHeight = 94;

constexpr int kIdUpdate = 1008;
constexpr int kIdPatch = 1009;
// The buttons the main menu shows and the modes hide; Finalize and Restore stay hidden.
constexpr int kMenuButtons[] = {1000, 1001, 1002, 1003, 1005, 1006, kIdUpdate, kIdPatch};

int Design(int length, double scale) {
    return static_cast<int>(std::trunc(length * scale));
}

}  // namespace

void CZarvoDlg::CreateLiveStatus() {
    m_liveStatus.SetDataHandler(&m_dataHandler);
    m_liveStatus.SetResourceManager(&m_resources);
    m_liveStatus.SetFontCache(&m_fonts);
    m_liveStatus.SetNextPageRequest([this](int mode, int tab) { SetNextPage(mode, tab); });
    if (!m_liveStatus.Create(CConfigStatus::kTemplateId, this)) {
        CLogger::Instance().Log(0, "CZarvoDlg::OnInitDialog(): the live status page could not be created.");
        return;
    }
    m_liveStatus.ShowWindow(SW_HIDE);
}

void CZarvoDlg::CreateTabHosts() {
    m_configureHost.AddPage(&m_unitInfoPage, kIdsInformationTab);
    m_configureHost.AddPage(&m_settingsPage, kIdsStaticDataTab);
    m_configureHost.AddPage(&m_mapPage, kIdsBasicTableTab);
    m_adaptTablesPage.SetConfigDynamic(&m_mapPage);
    m_configureHost.AddPage(&m_adaptTablesPage, kIdsAdaptiveTablesTab);
    CreateTabHost(m_configureHost, Design(kHostBottom, m_scaleY) + Design(kLiveStatusHeight, m_scaleY));

    m_diagnosisHost.AddPage(&m_eventLogPage, kIdsEventLogTab);
    m_diagnosisHost.AddPage(&m_dtcPage, kIdsTroubleCodesTab);
    CreateTabHost(m_diagnosisHost, Design(kHostBottom, m_scaleY));
}

void CZarvoDlg::CreateTabHost(CTabHostDlg& host, int bottomMargin) {
    RECT placement = {};
    GetClientRect(&placement);
    placement.top += Design(kHostTop, m_scaleY);
    placement.bottom -= bottomMargin;
    host.SetDataHandler(&m_dataHandler);
    host.SetResourceManager(&m_resources);
    host.SetFontCache(&m_fonts);
    host.SetScale(m_scaleX, m_scaleY);
    host.SetPlacement(placement);
    if (!host.Create(CTabHostDlg::kTemplateId, this)) {
        CLogger::Instance().Log(0, "CZarvoDlg::OnInitDialog(): a tab host could not be created.");
        return;
    }
    host.ShowWindow(SW_HIDE);
    host.EnableWindow(FALSE);
}

CTabHostDlg* CZarvoDlg::HostOf(int mode) {
    if (mode == CModeNavigator::kConfigure) {
        return &m_configureHost;
    }
    if (mode == CModeNavigator::kDiagnosis) {
        return &m_diagnosisHost;
    }
    return nullptr;
}

void CZarvoDlg::OnConfigure() {
    EnterMode(CModeNavigator::kConfigure);
}

void CZarvoDlg::OnDiagnosis() {
    EnterMode(CModeNavigator::kDiagnosis);
}

void CZarvoDlg::EnterMode(int mode) {
    CTabHostDlg* host = HostOf(mode);
    if (host == nullptr || host->GetSafeHwnd() == nullptr) {
        return;
    }
    HideMenu();
    m_navigator.Enter(mode);
    LoadModeName();
    UpdateTitle();
    ShowHost(*host);
    if (mode == CModeNavigator::kConfigure && m_liveStatus.GetSafeHwnd() != nullptr) {
        m_liveStatus.ShowWindow(SW_SHOW);
        m_liveStatus.EnableWindow(TRUE);
    }
}

void CZarvoDlg::LoadModeName() {
    UINT textId = kIdsMainMenu;
    if (m_navigator.GetMode() == CModeNavigator::kConfigure) {
        textId = kIdsConfigure;
    } else if (m_navigator.GetMode() == CModeNavigator::kDiagnosis) {
        textId = kIdsDiagnosis;
    }
    m_resources.GetString(textId, m_modeName);
}

void CZarvoDlg::ShowHost(CTabHostDlg& host) {
    host.ShowWindow(SW_SHOW);
    host.EnableWindow(TRUE);
    CWnd* tabs = host.GetDlgItem(CTabHostDlg::kTabCtrlId);
    if (tabs != nullptr) {
        tabs->SetFocus();
    }
}

void CZarvoDlg::HideMenu() {
    for (int id : kMenuButtons) {
        CWnd* button = GetDlgItem(id);
        if (button != nullptr) {
            button->ShowWindow(SW_HIDE);
            button->EnableWindow(FALSE);
        }
    }
    SetDefID(IDOK);
}

void CZarvoDlg::ShowMenu() {
    for (int id : kMenuButtons) {
        CWnd* button = GetDlgItem(id);
        if (button == nullptr) {
            continue;
        }
        bool enable = true;
        if (id == kIdUpdate) {
            enable = m_updateAllowed != 0;
        } else if (id == kIdPatch) {
            enable = m_patchAllowed != 0;
        }
        button->ShowWindow(SW_SHOW);
        button->EnableWindow(enable ? TRUE : FALSE);
    }
}

// Escape on a page that did not use it: back to the main menu, then on to a page asked for
// in advance or back along the history.
void CZarvoDlg::LeaveMode() {
    const int left = m_navigator.GetMode();
    CTabHostDlg* host = HostOf(left);
    if (host == nullptr) {
        return;
    }
    host->ShowWindow(SW_HIDE);
    host->EnableWindow(FALSE);
    if (left == CModeNavigator::kConfigure && m_liveStatus.GetSafeHwnd() != nullptr) {
        m_liveStatus.ShowWindow(SW_HIDE);
        m_liveStatus.EnableWindow(FALSE);
    }
    const int activeTab = host->GetActiveIndex();
    ShowMenu();
    CButton& modeButton = left == CModeNavigator::kConfigure ? m_configureButton : m_diagnosisButton;
    GotoDlgCtrl(&modeButton);
    SetDefID(static_cast<UINT>(modeButton.GetDlgCtrlID()));
    const CModeNavigator::Destination next = m_navigator.Leave(activeTab);
    LoadModeName();
    UpdateTitle();

    CTabHostDlg* nextHost = HostOf(next.mode);
    if (nextHost == nullptr) {
        return;
    }
    SelectTab(*nextHost, next.tab);
    EnterMode(next.mode);
}

// A tab the host does not have keeps its selection, so that the active page stays one of
// its pages.
void CZarvoDlg::SelectTab(CTabHostDlg& host, int tab) {
    CWnd* tabs = host.GetDlgItem(CTabHostDlg::kTabCtrlId);
    if (tabs == nullptr) {
        return;
    }
    const int count = static_cast<int>(tabs->SendMessage(TCM_GETITEMCOUNT));
    if (tab < 0 || tab >= count) {
        return;
    }
    tabs->SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(tab));
    host.SetActivePage(tab);
}

void CZarvoDlg::RouteAccelerator(WPARAM wParam, LPARAM lParam) {
    switch (m_navigator.AcceleratorTarget(LOWORD(wParam), m_routing != 0)) {
    case CModeNavigator::CommandTarget::None:
        return;
    case CModeNavigator::CommandTarget::StatusPage:
        m_liveStatus.PostMessage(WM_COMMAND, wParam, lParam);
        return;
    case CModeNavigator::CommandTarget::ActivePage: {
        CTabHostDlg* host = HostOf(m_navigator.GetMode());
        CScrollPage* page = host != nullptr ? host->GetActivePage() : nullptr;
        if (page != nullptr && page->GetSafeHwnd() != nullptr) {
            page->PostMessage(WM_COMMAND, wParam, lParam);
        }
        return;
    }
    }
}

// The page's answer: nonzero when it used the command. Without a page, nothing used it.
LRESULT CZarvoDlg::SendToActivePage(WPARAM wParam, LPARAM lParam) {
    CTabHostDlg* host = HostOf(m_navigator.GetMode());
    CScrollPage* page = host != nullptr ? host->GetActivePage() : nullptr;
    if (page == nullptr || page->GetSafeHwnd() == nullptr) {
        return 0;
    }
    return page->SendMessage(WM_COMMAND, wParam, lParam);
}
