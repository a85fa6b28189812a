#include "manager/CManagerApp.h"

#include "classlib/core/CProcessClock.h"
#include "classlib/win/AfxInitCommonControls.h"
#include "classlib/win/ProgramFile.h"
#include "link/CLogger.h"
#include "manager/CManagerDlg.h"
#include "manager/CSplashStarter.h"
#include "manager/CSplashZFZWnd.h"
#include "manager/ManagerCommonControls.h"
#include "manager/ManagerNames.h"
#include "manager/ManagerSettings.h"
#include "manager/res/ManagerResourceIds.h"

#include <memory>
#include <vector>

namespace {

constexpr UINT kFindInstanceTimeoutMs = 200;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using CScopedMutex = std::unique_ptr<void, HandleCloser>;

}  // namespace

CManagerApp::CManagerApp() = default;

CManagerApp* ManagerApp() {
    return dynamic_cast<CManagerApp*>(AfxGetApp());
}

BOOL CManagerApp::InitInstance() {
    AfxInitCommonControls(ManagerCommonControls::kClasses);
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    const CString startFile = commandLine.m_strFileName;

    CScopedMutex mutex(CreateMutexA(nullptr, FALSE, ManagerNames::kSingleInstanceText));
    const DWORD mutexError = GetLastError();
    if (mutexError == ERROR_ALREADY_EXISTS || mutexError == ERROR_ACCESS_DENIED) {
        HandOverToRunningInstance(startFile);
        return FALSE;
    }
    const LONG startTime = CProcessClock::ElapsedMs();
    CSplashStarter splash;
    const bool splashStarted = splash.Start(RUNTIME_CLASS(CSplashZFZWnd)) != FALSE;
    Sleep(1);
    EnterProgramFolder();
    ReadVersion();
    m_accelerators = LoadAcceleratorsA(m_hInstance, MAKEINTRESOURCEA(IDR_MANAGER_ACCEL));

    auto dialog = std::make_unique<CManagerDlg>();
    if (splashStarted) {
        dialog->SetSplash(&splash, startTime);
    }
    dialog->SetStartFile(startFile);
    dialog->SetSettingsKey(ManagerSettings::KeyPath(m_major, m_minor));
    m_pMainWnd = dialog.get();
    dialog->DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

void CManagerApp::HandOverToRunningInstance(const CString& startFile) const {
    HWND running = nullptr;
    EnumWindows(&CManagerApp::FindRunningInstanceProc, reinterpret_cast<LPARAM>(&running));
    if (running == nullptr) {
        CLogger::Instance().Log(1000, "CManagerApp: the running instance did not answer.");
        return;
    }
    SetForegroundWindow(running);
    if (IsIconic(running)) {
        ShowWindow(running, SW_RESTORE);
    }
    if (startFile.IsEmpty()) {
        return;
    }
    COPYDATASTRUCT data = {};
    data.dwData = ManagerNames::kCopyDataOpenFile;
    data.cbData = static_cast<DWORD>(startFile.GetLength() + 1);
    data.lpData = const_cast<LPSTR>(startFile.GetString());
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                        SMTO_BLOCK | SMTO_ABORTIFHUNG, kFindInstanceTimeoutMs, &answer);
}

BOOL CALLBACK CManagerApp::FindRunningInstanceProc(HWND window, LPARAM result) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, CManagerDlg::s_findInstanceMessage, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                            kFindInstanceTimeoutMs, &answer) == 0) {
        return TRUE;
    }
    if (answer != CManagerDlg::s_findInstanceMessage) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

BOOL CManagerApp::ProcessMessageFilter(int code, LPMSG msg) {
    CWnd* mainWindow = m_pMainWnd;
    if (m_accelerators != nullptr && mainWindow != nullptr && mainWindow->GetSafeHwnd() != nullptr &&
        TranslateAcceleratorA(mainWindow->GetSafeHwnd(), m_accelerators, msg) != 0) {
        return TRUE;
    }
    return CWinApp::ProcessMessageFilter(code, msg);
}

void CManagerApp::GetVersion(int& major, int& minor, int& build, int& revision) const {
    major = m_major;
    minor = m_minor;
    build = m_build;
    revision = m_revision;
}

void CManagerApp::EnterProgramFolder() const {
    ::EnterProgramFolder();
}

// A program without a version block keeps version 0.00.
void CManagerApp::ReadVersion() {
    switch (ReadProgramVersion(m_major, m_minor, m_build, m_revision)) {
    case ProgramVersionRead::Read:
        return;
    case ProgramVersionRead::NoBlock:
        CLogger::Instance().Log(1000, "CManagerApp: the program has no version block.");
        return;
    case ProgramVersionRead::Unreadable:
        CLogger::Instance().Log(1000, "CManagerApp: the version block cannot be read.");
        return;
    }
}
