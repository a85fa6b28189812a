#include "shell/CZarvoDlg.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/core/CSingleLock.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "grid/CInPlaceEdit.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/IMessageTarget.h"
#include "link/RecentSettings.h"
#include "res/ResourceIds.h"
#include "shell/CAboutDlg.h"
#include "shell/CSplashLauncher.h"
#include "shell/CZarvoApp.h"
#include "shell/PatchRecordChecks.h"
#include "shell/ZarvoNames.h"

namespace {

// The splash stays at least this long after the start.
constexpr long kSplashMinimumMs = 1500;

constexpr int kIdConfigure = 1000;
constexpr int kIdDiagnosis = 1001;
constexpr int kIdLanguage = 1002;
constexpr int kIdExit = 1003;
constexpr int kIdFinalize = 1004;
constexpr int kIdLoad = 1005;
constexpr int kIdSave = 1006;
constexpr int kIdRestore = 1007;
constexpr int kIdUpdate = 1008;
constexpr int kIdPatch = 1009;

constexpr UINT kNotifyAccelerator = 1;

// Guards the end-of-full-read handler against re-entry while its own prompts run.
bool g_fullReadRunning = false;


// Typing not yet taken over would be written over the data that just arrived.
void DropUnfinishedTyping() {
    const HWND focus = ::GetFocus();
    if (focus == nullptr) {
        return;
    }
    if (auto* editor = dynamic_cast<CInPlaceEdit*>(CWnd::FromHandlePermanent(focus))) {
        editor->CancelEdit();
        return;
    }
    char className[16] = {};
    GetClassNameA(focus, className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0) {
        ::SendMessageA(focus, EM_UNDO, 0, 0);
        ::SendMessageA(focus, EM_EMPTYUNDOBUFFER, 0, 0);
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CZarvoDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(kIdConfigure, OnConfigure)
    ON_BN_CLICKED(kIdDiagnosis, OnDiagnosis)
    ON_BN_CLICKED(kIdExit, OnExit)
    ON_BN_CLICKED(kIdFinalize, OnFinalize)
    ON_BN_CLICKED(kIdRestore, OnRestore)
    ON_BN_CLICKED(kIdLoad, OnLoad)
    ON_BN_CLICKED(kIdSave, OnSave)
    ON_BN_CLICKED(kIdLanguage, OnLanguage)
    ON_BN_CLICKED(kIdUpdate, OnFirmwareUpdate)
    ON_BN_CLICKED(kIdPatch, OnFirmwarePatch)
    ON_WM_TIMER()
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_REGISTERED_MESSAGE(CZarvoApp::s_findInstanceMessage, OnFindInstance)
    ON_MESSAGE(WM_DH_UNIT_BUSY, OnUnitBusy)
    ON_MESSAGE(WM_DH_FULL_READ_DONE, OnFullCtrlRead)
    ON_MESSAGE(WM_DH_UPDATE_PROGRESS, OnUpdateProgress)
    ON_MESSAGE(WM_DH_FULL_READ_PROGRESS, OnRetrieveProgress)
    ON_WM_CLOSE()
    ON_MESSAGE(WM_COMM_DEAD, OnCommunicatorDead)
END_MESSAGE_MAP()

CZarvoDlg::CZarvoDlg()
    : CDialog(kTemplateId), m_updateDialog(this), m_transferDialog(this), m_languageDialog(this) {
    m_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZARVO));
}

CZarvoDlg::~CZarvoDlg() {
    m_dataHandler.UnregisterWindow(this);
    m_dataHandler.UnregisterWindow(&m_updateDialog);
    m_dataHandler.UnregisterWindow(&m_busyDialog);
    m_dataHandler.SetMainWindow(nullptr);
    m_dataHandler.SetUserPrompter(nullptr);
    m_dataHandler.SetPrompter(nullptr);
}

void CZarvoDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        ::PostMessageA(window, message, wParam, lParam);
    }
}

void CZarvoDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kIdPatch, m_patchButton);
    DDX_Control(exchange, kIdUpdate, m_updateButton);
    DDX_Control(exchange, kIdLanguage, m_languageButton);
    DDX_Control(exchange, kIdRestore, m_restoreButton);
    DDX_Control(exchange, kIdSave, m_saveButton);
    DDX_Control(exchange, kIdLoad, m_loadButton);
    DDX_Control(exchange, kIdFinalize, m_finalizeButton);
    DDX_Control(exchange, kIdExit, m_exitButton);
    DDX_Control(exchange, kIdDiagnosis, m_diagnosisButton);
    DDX_Control(exchange, kIdConfigure, m_configureButton);
}

BOOL CZarvoDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_exiting = 0;

    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    MoveWindow(&workArea, TRUE);
    LoadPictures();

    m_dataHandler.RegisterWindow(this);
    Layout();
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
    ZarvoApp().GetAppVersion(major, minor, build, revision);
    m_dataHandler.SetProgramVersion(major, minor);
    m_dataHandler.SetResourceManager(&m_resources);
    m_dataHandler.SetCommunicator(&m_communicator);
    m_dataHandler.SetMainWindow(this);
    m_dataHandler.SetUserPrompter(this);
    m_dataHandler.SetPrompter(&m_transferDialog);
    m_transferDialog.SetResourceManager(&m_resources);
    m_languageDialog.SetResourceManager(&m_resources);

    m_updateDialog.SetDataHandler(&m_dataHandler);
    m_updateDialog.SetResourceManager(&m_resources);
    m_updateDialog.SetFontCache(&m_fonts);
    m_dataHandler.RegisterWindow(&m_updateDialog);
    m_busyDialog.SetDataHandler(&m_dataHandler);
    m_busyDialog.SetResourceManager(&m_resources);
    m_busyDialog.SetFontCache(&m_fonts);
    m_dataHandler.RegisterWindow(&m_busyDialog);
    m_retrieveDialog.SetResourceManager(&m_resources);
    m_retrieveDialog.SetFontCache(&m_fonts);
    CreateLiveStatus();
    CreateTabHosts();
    CreateStatusPanel();

    m_communicator.SetWatchDog(&m_watchDog);
    m_communicator.SetDataHandler(&m_dataHandler);
    m_communicator.StartThread();
    m_dataHandler.BroadcastLanguageChanged();
    m_connectionStatus = 0;
    m_watchDog.SetMainWindow(this);
    m_watchDog.StartThread(&m_communicator);
    PruneRecentFiles();
    Invalidate(TRUE);
    CloseSplash();
    return TRUE;
}

void CZarvoDlg::CloseSplash() {
    if (m_splash == nullptr) {
        return;
    }
    const LONG elapsed = CProcessClock::ElapsedMs() - m_startTime;
    if (elapsed < kSplashMinimumMs) {
        Sleep(static_cast<DWORD>(kSplashMinimumMs - elapsed));
    }
    m_splash->Close(nullptr);
    m_splash = nullptr;
}

void CZarvoDlg::CreateStatusPanel() {
    m_statusPanel.SetDataHandler(&m_dataHandler);
    m_statusPanel.SetResourceManager(&m_resources);
    m_statusPanel.SetFontCache(&m_fonts);
    if (!m_statusPanel.Create(CConnStatusDlg::kTemplateId, this)) {
        CLogger::Instance().Log(0, "CZarvoDlg::OnInitDialog(): the status panel could not be created.");
        return;
    }
    m_statusPanel.ShowWindow(SW_SHOW);
}

BOOL CZarvoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    if (code == kNotifyAccelerator) {
        RouteAccelerator(wParam, lParam);
        return TRUE;
    }
    const bool inMenu = m_navigator.GetMode() == CModeNavigator::kMainMenu;
    if (code == 0 && id == IDOK) {
        if (!inMenu) {
            SendToActivePage(wParam, lParam);
        }
        return TRUE;
    }
    if (code == 0 && id == IDCANCEL) {
        if (!inMenu) {
            if (SendToActivePage(wParam, lParam) == 0) {
                LeaveMode();
            }
            return TRUE;
        }
        ExitProgram(IDCANCEL);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

INT_PTR CZarvoDlg::RunModal(CDialog& dialog) {
    m_routing = 0;
    m_runningDialogs.push_back(&dialog);
    const INT_PTR result = dialog.DoModal();
    m_runningDialogs.pop_back();
    m_routing = 1;
    return result;
}

// A dialog that waits for the unit (the busy dialog) would never end once the
// communicator has stopped, and the main dialog's run would wait for it for ever.
void CZarvoDlg::EndRunningDialogs() {
    for (auto it = m_runningDialogs.rbegin(); it != m_runningDialogs.rend(); ++it) {
        if ((*it)->GetSafeHwnd() != nullptr) {
            (*it)->EndDialog(IDCANCEL);
        }
    }
}

void CZarvoDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) != kAboutCommand) {
        Default();
        return;
    }
    CAboutDlg about(this);
    RunModal(about);
}

HCURSOR CZarvoDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_icon);
}

void CZarvoDlg::SetModified(BOOL modified) {
    m_modified = modified ? 1 : 0;
}

void CZarvoDlg::SetFileName(LPCSTR fileName) {
    m_fileName = fileName != nullptr ? fileName : "";
}

void CZarvoDlg::SetEditsHeld(BOOL held) {
    m_statusPanel.SetEditsHeld(held != FALSE);
}

void CZarvoDlg::UpdateTitle() {
    CString title = ZarvoNames::TitledCaption(m_modeName);
    if (!m_fileName.IsEmpty()) {
        CString file;
        file.Format(" - [%s%s]", static_cast<LPCSTR>(m_fileName), m_modified ? "*" : "");
        title += file;
    }
    SetWindowText(title);
}

LRESULT CZarvoDlg::OnStatusChanged(WPARAM status, LPARAM port) {
    m_connectionStatus = static_cast<int>(status);
    if (status >= 1 && status <= 6) {
        m_updateAllowed = (IsLinkUp(status) || status == kStatusUpdateMode) ? 1 : 0;
        m_patchAllowed = 0;
    }
    UpdateFirmwareButton(m_patchButton, m_patchAllowed != 0);
    UpdateFirmwareButton(m_updateButton, m_updateAllowed != 0);
    // The retrieval ends with its last report, which a lost link never sends.
    if (!IsLinkUp(m_connectionStatus)) {
        EndRetrieveDialog();
    }
    if (m_updateTimer != 0) {
        OnTimer(0);
    }
    return 0;
}

void CZarvoDlg::UpdateFirmwareButton(CButton& button, bool enable) {
    if (button.GetSafeHwnd() == nullptr || !button.IsWindowVisible()) {
        return;
    }
    if (!enable && CWnd::GetFocus() == &button) {
        CWnd::SendMessage(WM_NEXTDLGCTL, 0, 0);
    }
    button.EnableWindow(enable ? TRUE : FALSE);
}

LRESULT CZarvoDlg::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    SetTexts();
    return 0;
}

LRESULT CZarvoDlg::OnFindInstance(WPARAM wParam, LPARAM lParam) {
    return CZarvoApp::s_findInstanceMessage;
}

LRESULT CZarvoDlg::OnUnitBusy(WPARAM wParam, LPARAM lParam) {
    if (m_busyDialog.GetSafeHwnd() != nullptr || m_retrieveDialog.GetSafeHwnd() != nullptr) {
        return 0;
    }
    RunModal(m_busyDialog);
    return 0;
}

// Opened by the first report only: a closing report with no dialog up would open one
// that nothing ever ends.
LRESULT CZarvoDlg::OnRetrieveProgress(WPARAM wParam, LPARAM lParam) {
    if (m_busyDialog.GetSafeHwnd() != nullptr) {
        return 0;
    }
    if (m_retrieveDialog.GetSafeHwnd() == nullptr) {
        if (wParam != 0) {
            RunModal(m_retrieveDialog);
        }
        return 0;
    }
    if (wParam != 0) {
        m_retrieveDialog.SetProgress(static_cast<int>(lParam));
        return 0;
    }
    EndRetrieveDialog();
    return 0;
}

void CZarvoDlg::EndRetrieveDialog() {
    if (m_retrieveDialog.GetSafeHwnd() != nullptr) {
        m_retrieveDialog.EndDialog(1);
    }
}

LRESULT CZarvoDlg::OnFullCtrlRead(WPARAM wParam, LPARAM lParam) {
    CLogger& log = CLogger::Instance();
    log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): started.");
    if (g_fullReadRunning) {
        log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): already running. skipped.");
        return 0;
    }
    log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): running.");
    g_fullReadRunning = true;
    DropUnfinishedTyping();
    m_mapPage.StoreMeasurements();
    m_dataHandler.CheckConnectedUnit();
    m_communicator.SetWaitState(0);
    log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): finished.");
    g_fullReadRunning = false;
    m_patchAllowed = m_dataHandler.IsReadSupported(PatchRecordChecks::kElementSupportedIds) >= 1 ? 1 : 0;
    if (m_patchButton.GetSafeHwnd() != nullptr) {
        m_patchButton.EnableWindow(m_patchAllowed ? TRUE : FALSE);
    }
    return 0;
}

LRESULT CZarvoDlg::OnCommunicatorDead(WPARAM wParam, LPARAM lParam) {
    CSingleLock guard(&m_exitLock, TRUE);
    if (m_exiting != 0) {
        return 0;
    }
    CLogger::Instance().Log(3000, "CZarvoDlg::OnCommunicatorDead(): restarting.");
    EndRetrieveDialog();
    m_communicator.KillThread();
    m_communicator.StartThread();
    m_connectionStatus = 0;
    return 0;
}
