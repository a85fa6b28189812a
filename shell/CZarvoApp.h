// The configurator's application object. InitInstance guards the single instance,
// reads the program version, opens the log connection and runs the main menu dialog
// modally; that dialog's loop is the program's loop, so InitInstance returns FALSE.
#pragma once

#include "classlib/win/CWinApp.h"
#include "shell/CSlushLauncher.h"
#include "shell/CSplashLauncher.h"

#include <windows.h>

class CZarvoApp : public CWinApp {
public:
    CZarvoApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL ProcessMessageFilter(int code, LPMSG msg) override;

    // The version read at start-up; FALSE (and zeros) before it was read.
    BOOL GetAppVersion(int& major, int& minor, int& build, int& revision) const;

    // Registered under the single-instance text; the running main dialog answers it
    // with its own id.
    static const UINT s_findInstanceMessage;

protected:
    void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    static BOOL CALLBACK FindRunningInstanceProc(HWND window, LPARAM result);

    bool ActivateRunningInstance() const;
    void EnterProgramFolder() const;
    void ReadVersion();
    void RunMainDialog(LONG startTime, bool splashShown);

    CSplashLauncher m_splash;
    CSlushLauncher m_busyWindow;
    HACCEL m_accelerators = nullptr;
    int m_major = 0;
    int m_minor = 0;
    int m_build = 0;
    int m_revision = 0;
    BYTE m_versionRead = 0;
};

// The program's one application object.
CZarvoApp& ZarvoApp();
