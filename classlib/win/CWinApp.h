// The application object: one static instance per program. AfxWinMain runs its
// InitInstance on the main thread; a dialog-based program does all its work there
// (its main dialog's modal loop is the program's loop) and returns FALSE.
#pragma once

#include "classlib/core/CWinThread.h"
#include "classlib/win/CCmdTarget.h"
#include "classlib/win/CCommandLineInfo.h"

#include <windows.h>

class CWinApp : public CWinThread, public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    // appName null: the executable's base name.
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // The main thread's loop, for programs whose InitInstance returns TRUE: runs until
    // WM_QUIT, then ExitInstance.
    int Run() override;

    // Gets every message that a system modal loop (dialog boxes, message boxes, menus)
    // is about to handle on the main thread; TRUE consumes it. The base consumes none.
    virtual BOOL ProcessMessageFilter(int code, LPMSG msg);

    // Hands each parameter of the program's command line to info.ParseParam.
    void ParseCommandLine(CCommandLineInfo& info);
    // The same for a given argument vector (argv[0] is the program).
    static void ParseCommandLine(CCommandLineInfo& info, int argc, const char* const* argv);

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The application object, or null before it was constructed.
CWinApp* AfxGetApp();
// The calling thread's main window, else the application's.
CWnd* AfxGetMainWnd();

// Runs the application object: InitInstance, then Run or ExitInstance. Returns the
// program's exit code. WinMain calls it.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
