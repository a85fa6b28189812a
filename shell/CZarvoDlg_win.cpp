#include "shell/CZarvoDlg.h"

#include "classlib/core/CSingleLock.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"
#include "shell/CZarvoApp.h"
#include "shell/ZarvoNames.h"

namespace {

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

constexpr UINT kIdsMainMenu = 15012;
constexpr UINT kIdsExitQuestion = 15015;
constexpr UINT kIdsExitSaveHint = 15017;

constexpr UINT kNotifyAccelerator = 1;
// The bitmap of the record ids that the unit's firmware supports.
constexpr int kElementSupportedIds = 110;

// Guards the end-of-full-read handler against re-entry while its own prompts run.
bool g_fullReadRunning = false;

}  // namespace

BEGIN_MESSAGE_MAP(CZarvoDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(kIdExit, OnExit)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_REGISTERED_MESSAGE(CZarvoApp::s_findInstanceMessage, OnFindInstance)
    ON_MESSAGE(WM_DH_FULL_READ_DONE, OnFullCtrlRead)
    ON_WM_CLOSE()
    ON_MESSAGE(WM_COMM_DEAD, OnCommunicatorDead)
END_MESSAGE_MAP()

CZarvoDlg::CZarvoDlg() : CDialog(kTemplateId) {
    m_icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZARVO));
}

CZarvoDlg::~CZarvoDlg() {
    m_dataHandler.UnregisterWindow(this);
    m_dataHandler.SetMainWindow(nullptr);
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

    m_dataHandler.RegisterWindow(this);
    SetTexts();
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

    CreateStatusPanel();

    m_communicator.SetWatchDog(&m_watchDog);
    m_communicator.SetDataHandler(&m_dataHandler);
    m_communicator.StartThread();
    m_dataHandler.BroadcastLanguageChanged();
    m_connectionStatus = 0;
    m_watchDog.SetMainWindow(this);
    m_watchDog.StartThread(&m_communicator);
    Invalidate(TRUE);
    return TRUE;
}

void CZarvoDlg::CreateStatusPanel() {
    m_statusPanel.SetDataHandler(&m_dataHandler);
    m_statusPanel.SetResourceManager(&m_resources);
    if (!m_statusPanel.Create(CConnStatusDlg::kTemplateId, this)) {
        CLogger::Instance().Log(0, "CZarvoDlg::OnInitDialog(): the status panel could not be created.");
        return;
    }
    m_statusPanel.ShowWindow(SW_SHOW);
}

void CZarvoDlg::SetTexts() {
    m_resources.GetString(kIdsMainMenu, m_modeName);
    UpdateTitle();
}

BOOL CZarvoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    // Keyboard commands belong to the pages, and the main menu has none.
    if (code == kNotifyAccelerator && m_mode == 1) {
        return TRUE;
    }
    if (code == 0 && id == IDOK && m_mode == 1) {
        return TRUE;
    }
    if (code == 0 && id == IDCANCEL && m_mode == 1) {
        if (ConfirmExit()) {
            DoAtFinal();
            EndDialog(IDCANCEL);
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CZarvoDlg::OnSysCommand(UINT id, LPARAM lParam) {
    Default();
}

HCURSOR CZarvoDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_icon);
}

void CZarvoDlg::OnExit() {
    ExitProgram(IDOK);
}

void CZarvoDlg::OnClose() {
    ExitProgram(IDOK);
}

void CZarvoDlg::ExitProgram(int result) {
    if (!ConfirmExit()) {
        return;
    }
    DoAtFinal();
    EndDialog(result);
}

bool CZarvoDlg::ConfirmExit() {
    if (!m_dataHandler.HasConfiguration() || !m_dataHandler.IsModified()) {
        return true;
    }
    CString question;
    CString hint;
    m_resources.GetString(kIdsExitQuestion, question);
    m_resources.GetString(kIdsExitSaveHint, hint);
    question += hint;
    return AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CZarvoDlg::DoAtFinal() {
    {
        CSingleLock guard(&m_exitLock, TRUE);
        m_exiting = 1;
    }
    CLogger& log = CLogger::Instance();
    log.Log(3000, "CZarvoDlg::DoAtFinal(): sending TERM signal to WatchDog ...");
    m_watchDog.StopThread();
    log.Log(3000, "CZarvoDlg::DoAtFinal(): sending TERM signal to Communicator ...");
    if (m_communicator.StopThread() == 0) {
        log.Log(3000, "CZarvoDlg::DoAtFinal(): sending KILL signal to Communicator ...");
        m_communicator.KillThread();
    }
    log.Log(3000, "CZarvoDlg::DoAtFinal(): done.");
}

void CZarvoDlg::SetModified(BOOL modified) {
    m_modified = modified ? 1 : 0;
}

void CZarvoDlg::SetFileName(LPCSTR fileName) {
    m_fileName = fileName != nullptr ? fileName : "";
}

void CZarvoDlg::UpdateTitle() {
    CString title(ZarvoNames::kTitlePrefix);
    title += ZarvoNames::kTitleSeparator;
    title += m_modeName;
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
        m_updateAllowed = (status == 2 || status == 4 || status == 5) ? 1 : 0;
        m_patchAllowed = 0;
    }
    UpdateFirmwareButton(m_patchButton, m_patchAllowed != 0);
    UpdateFirmwareButton(m_updateButton, m_updateAllowed != 0);
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

LRESULT CZarvoDlg::OnFullCtrlRead(WPARAM wParam, LPARAM lParam) {
    CLogger& log = CLogger::Instance();
    log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): started.");
    if (g_fullReadRunning) {
        log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): already running. skipped.");
        return 0;
    }
    log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): running.");
    g_fullReadRunning = true;
    m_dataHandler.CheckConnectedUnit();
    m_communicator.SetWaitState(0);
    log.Log(3500, "CZarvoDlg::OnFullCtrlRead(): finished.");
    g_fullReadRunning = false;
    m_patchAllowed = m_dataHandler.IsReadSupported(kElementSupportedIds) >= 1 ? 1 : 0;
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
    m_communicator.KillThread();
    m_communicator.StartThread();
    m_connectionStatus = 0;
    return 0;
}
