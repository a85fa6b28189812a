#include "shell/CZarvoApp.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/win/AfxInitCommonControls.h"
#include "classlib/win/ProgramFile.h"
#include "grid/EnsureGridOle.h"
#include "link/CLogSession.h"
#include "link/CLogger.h"
#include "link/RecentSettings.h"
#include "res/ResourceIds.h"
#include "shell/CZarvoCommandLineInfo.h"
#include "shell/CPopupWnd.h"
#include "shell/CSplashZarvoWnd.h"
#include "shell/CZarvoDlg.h"
#include "shell/ZarvoCommonControls.h"
#include "shell/ZarvoNames.h"

#include <memory>
#include <vector>

namespace {

constexpr UINT kHelpCommand = 57670;
constexpr UINT kFindInstanceTimeoutMs = 200;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using CScopedMutex = std::unique_ptr<void, HandleCloser>;

// The registry key of the settings is named after the running program's version.
void ProgramVersion(int& major, int& minor) {
    int build = 0;
    int revision = 0;
    ZarvoApp().GetAppVersion(major, minor, build, revision);
}

}  // namespace

const UINT CZarvoApp::s_findInstanceMessage = RegisterWindowMessageA(ZarvoNames::kSingleInstanceText);

BEGIN_MESSAGE_MAP(CZarvoApp, CWinApp)
    ON_COMMAND(kHelpCommand, OnHelp)
END_MESSAGE_MAP()

CZarvoApp::CZarvoApp() = default;

CZarvoApp& ZarvoApp() {
    return static_cast<CZarvoApp&>(*AfxGetApp());
}

BOOL CZarvoApp::InitInstance() {
    AfxInitCommonControls(ZarvoCommonControls::kClasses);
    CZarvoCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    m_versionRead = 0;

    CScopedMutex mutex(CreateMutexA(nullptr, FALSE, ZarvoNames::kSingleInstanceText));
    const DWORD mutexError = GetLastError();
    if (mutexError == ERROR_ALREADY_EXISTS || mutexError == ERROR_ACCESS_DENIED) {
        ActivateRunningInstance();
        return FALSE;
    }
    const LONG startTime = CProcessClock::ElapsedMs();
    bool splashShown = false;
    if (commandLine.m_showSplash) {
        splashShown = m_splash.Show(RUNTIME_CLASS(CSplashZarvoWnd));
        Sleep(10);
    }
    EnterProgramFolder();
    ReadVersion();
    // Now with the version line.
    CPopupWnd* splash = splashShown ? m_splash.GetWindow() : nullptr;
    if (splash != nullptr && splash->GetSafeHwnd() != nullptr) {
        ::InvalidateRect(splash->GetSafeHwnd(), nullptr, TRUE);
    }
    SetAppVersionSource(&ProgramVersion);
    CLogSession logSession;
    CLogger::Instance().Log(3000, "Application started.");
    m_accelerators = LoadAcceleratorsA(m_hInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    // Before the main dialog builds its pages' grids, for their drag and drop.
    EnsureGridOle();
    RunMainDialog(startTime, splashShown);
    // The mutex goes last: the dialog's destruction writes files that a new instance reads.
    return FALSE;
}

void CZarvoApp::RunMainDialog(LONG startTime, bool splashShown) {
    auto dialog = std::make_unique<CZarvoDlg>();
    if (splashShown) {
        dialog->SetSplash(&m_splash, startTime);
    }
    dialog->SetBusyWindow(&m_busyWindow);
    m_pMainWnd = dialog.get();
    dialog->DoModal();
    Sleep(200);
    m_busyWindow.Hide(nullptr);
    CLogger::Instance().Log(3000, "Application finished.");
    m_pMainWnd = nullptr;
}

int CZarvoApp::ExitInstance() {
    return CWinApp::ExitInstance();
}

BOOL CZarvoApp::ProcessMessageFilter(int code, LPMSG msg) {
    CWnd* mainWindow = m_pMainWnd;
    if (m_accelerators != nullptr && mainWindow != nullptr && mainWindow->GetSafeHwnd() != nullptr &&
        TranslateAcceleratorA(mainWindow->GetSafeHwnd(), m_accelerators, msg) != 0) {
        return TRUE;
    }
    return CWinApp::ProcessMessageFilter(code, msg);
}

BOOL CZarvoApp::GetAppVersion(int& major, int& minor, int& build, int& revision) const {
    major = m_major;
    minor = m_minor;
    build = m_build;
    revision = m_revision;
    return m_versionRead != 0 ? TRUE : FALSE;
}

void CZarvoApp::OnHelp() {}

bool CZarvoApp::ActivateRunningInstance() const {
    HWND running = nullptr;
    EnumWindows(&CZarvoApp::FindRunningInstanceProc, reinterpret_cast<LPARAM>(&running));
    if (running == nullptr) {
        return false;
    }
    SetForegroundWindow(running);
    if (IsIconic(running)) {
        ShowWindow(running, SW_RESTORE);
    }
    return true;
}

BOOL CALLBACK CZarvoApp::FindRunningInstanceProc(HWND window, LPARAM result) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, s_findInstanceMessage, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                            kFindInstanceTimeoutMs, &answer) == 0) {
        return TRUE;
    }
    if (answer != s_findInstanceMessage) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

void CZarvoApp::EnterProgramFolder() const {
    ::EnterProgramFolder();
}

// A program without a version block keeps version 0.00.0-0000.
void CZarvoApp::ReadVersion() {
    switch (ReadProgramVersion(m_major, m_minor, m_build, m_revision)) {
    case ProgramVersionRead::Read:
        m_versionRead = 1;
        return;
    case ProgramVersionRead::NoBlock:
        CLogger::Instance().Log(0, "CZarvoApp::ReadVersion(): the program has no version block.");
        return;
    case ProgramVersionRead::Unreadable:
        CLogger::Instance().Log(0, "CZarvoApp::ReadVersion(): the version block cannot be read.");
        return;
    }
}
