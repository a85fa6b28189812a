// The application object and the program's entry.
#include "classlib/win/CWinApp.h"

#include "classlib/core/CException.h"
#include "classlib/core/DescribeLibraryException.h"
#include "classlib/win/AfxGetAppName.h"
#include "classlib/win/AfxMessageLoop.h"
#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CMessageFilterHook.h"

#include <cstdlib>
#include <exception>
#include <string>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace {

CWinApp* g_app = nullptr;  // set once by the application object's constructor

// CString::LoadString of a program: the string table of the module that resources come
// from, which follows the chosen language.
BOOL LoadFromResourceModule(UINT id, CString& text) {
    char buffer[4096];
    const int length = LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
    if (length <= 0) {
        return FALSE;
    }
    text = CString(buffer, length);
    return TRUE;
}

}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName != nullptr ? appName : AfxGetAppName()) {
    g_app = this;
    CString::SetStringLoader(&LoadFromResourceModule);
    // The main thread has no thread object of its own: the application is it.
    BindToCallingThread();
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    while (AfxPumpMessage()) {
    }
    ExitInstance();
    return AfxGetQuitCode();
}

BOOL CWinApp::ProcessMessageFilter(int code, LPMSG msg) {
    return FALSE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    ParseCommandLine(info, __argc, __argv);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info, int argc, const char* const* argv) {
    for (int index = 1; index < argc; ++index) {
        const char* param = argv[index];
        const BOOL isFlag = param[0] == '/' || param[0] == '-';
        info.ParseParam(isFlag ? param + 1 : param, isFlag, index + 1 == argc);
    }
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    if (thread != nullptr && thread->m_pMainWnd != nullptr) {
        return thread->m_pMainWnd;
    }
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        AfxReportError("The program has no application object.");
        return -1;
    }
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = showCommand;
    CMessageFilterHook filter;
    std::string failure;
    try {
        if (!app->InitInstance()) {
            return app->ExitInstance();
        }
        return app->Run();
    } catch (CException* caught) {
        failure = "Unhandled error: " + DescribeLibraryException(caught);
    } catch (const std::exception& caught) {
        failure = std::string("Unhandled error: ") + caught.what();
    } catch (...) {
        failure = "Unhandled error of unknown kind.";
    }
    AfxReportError(failure.c_str());
    return -1;
}

// In this file, not a file of its own: a program that derives its application class
// links this object, so the C runtime's start-up finds WinMain whatever the link order.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
