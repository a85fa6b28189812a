// The application object's entry and command line, and user-interface threads whose
// loop ends with their main window.
#include "classlib/win/CWinApp.h"

#include "classlib/core/CEvent.h"
#include "classlib/win/CWnd.h"
#include "tests/classlib/win/CTestApp.h"
#include "tests/classlib/win/TestResources.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

CTestApp g_testApp;

// Records what the parser hands over, then lets the base parser run.
class CRecordingCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(LPCSTR param, BOOL isFlag, BOOL isLast) override {
        m_seen.push_back(std::string(param) + (isFlag ? " flag" : "") + (isLast ? " last" : ""));
        CCommandLineInfo::ParseParam(param, isFlag, isLast);
    }

    std::vector<std::string> m_seen;
};

// The events and counters a test reads after its thread ended.
struct ThreadReport {
    CEvent created{FALSE, FALSE};
    bool createWindow = true;
    HWND window = nullptr;
    int exits = 0;
};

ThreadReport g_report;

class CTestUiThread : public CWinThread {
    DECLARE_DYNCREATE(CTestUiThread)

public:
    BOOL InitInstance() override {
        if (!g_report.createWindow ||
            !m_window.CreateEx(0, nullptr, "ui", WS_POPUP, CRect(0, 0, 20, 20), nullptr, nullptr)) {
            g_report.created.SetEvent();
            return FALSE;
        }
        m_pMainWnd = &m_window;
        g_report.window = m_window.m_hWnd;
        g_report.created.SetEvent();
        return TRUE;
    }

    int ExitInstance() override {
        ++g_report.exits;
        return 3;
    }

private:
    CWnd m_window;
};

IMPLEMENT_DYNCREATE(CTestUiThread, CWinThread)

}  // namespace

BOOL CTestApp::ProcessMessageFilter(int code, LPMSG msg) {
    if (m_accelerators != nullptr && m_acceleratorTarget != nullptr &&
        TranslateAcceleratorA(m_acceleratorTarget, m_accelerators, msg)) {
        return TRUE;
    }
    return CWinApp::ProcessMessageFilter(code, msg);
}

CTestApp& TestApp() {
    return g_testApp;
}

TEST(CWinApp, IsTheMainThreadsObjectAndNamedAfterTheProgram) {
    EXPECT_EQ(&g_testApp, AfxGetApp());
    EXPECT_EQ(static_cast<CWinThread*>(&g_testApp), AfxGetThread());
    EXPECT_STREQ("classlib_win_test", g_testApp.m_pszAppName);
}

TEST(CWinApp, EntryThatStartsNothingEndsWithTheExitCode) {
    g_testApp.m_initResult = FALSE;
    g_testApp.m_exitCode = 7;
    g_testApp.m_exits = 0;
    EXPECT_EQ(7, AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW));
    EXPECT_EQ(1, g_testApp.m_exits);
    EXPECT_EQ(GetModuleHandleA(nullptr), g_testApp.m_hInstance);
}

TEST(CWinApp, CommandLineSwitchesLoseTheirPrefixAndTheFirstFileIsOpened) {
    const char* const argv[] = {"zfx.exe", "/nosplash", "-Embedding", "C:\\data\\map.zfz"};
    CRecordingCommandLineInfo info;
    CWinApp::ParseCommandLine(info, 4, argv);
    EXPECT_EQ((std::vector<std::string>{"nosplash flag", "Embedding flag", "C:\\data\\map.zfz last"}),
              info.m_seen);
    EXPECT_STREQ("C:\\data\\map.zfz", info.m_strFileName.GetString());
    EXPECT_EQ(CCommandLineInfo::FileOpen, info.m_nShellCommand);
    EXPECT_TRUE(info.m_bRunEmbedded);

    CRecordingCommandLineInfo empty;
    CWinApp::ParseCommandLine(empty, 1, argv);
    EXPECT_TRUE(empty.m_seen.empty());
    EXPECT_EQ(CCommandLineInfo::FileNew, empty.m_nShellCommand);
}

TEST(UiThread, LoopEndsWhenItsMainWindowIsClosed) {
    g_report.createWindow = true;
    g_report.exits = 0;
    CWinThread* thread =
        AfxBeginThread(RUNTIME_CLASS(CTestUiThread), kThreadPriorityNormal, 0, kCreateSuspended);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    ASSERT_TRUE(g_report.created.Lock(5000));
    ASSERT_NE(nullptr, g_report.window);
    EXPECT_FALSE(thread->Wait(100));  // the loop runs while the window lives

    PostMessageA(g_report.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(thread->Wait(5000));
    EXPECT_FALSE(IsWindow(g_report.window));
    EXPECT_EQ(1, g_report.exits);
    delete thread;
}

TEST(UiThread, FailedStartEndsTheThreadAtOnce) {
    g_report.createWindow = false;
    g_report.exits = 0;
    CWinThread* thread =
        AfxBeginThread(RUNTIME_CLASS(CTestUiThread), kThreadPriorityNormal, 0, kCreateSuspended);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    EXPECT_TRUE(thread->Wait(5000));
    EXPECT_EQ(1, g_report.exits);
    delete thread;
}

TEST(UiThread, OnlyThreadClassesStart) {
    EXPECT_EQ(nullptr, AfxBeginThread(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(nullptr, AfxBeginThread(static_cast<CRuntimeClass*>(nullptr)));
}

TEST(CWinApp, StringsLoadFromTheProgramsStringTable) {
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_TEST_TEXT));
    EXPECT_EQ(CString("Text from the string table"), text);
    EXPECT_FALSE(text.LoadString(IDS_TEST_TEXT + 1));
}
