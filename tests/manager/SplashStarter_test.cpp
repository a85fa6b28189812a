// A start window whose thread does not end when stopped: the starter gives up waiting
// within its bound and keeps the thread's object for the thread, which ends later.
#include "link/CKeptThreads.h"
#include "manager/CSplashStarter.h"
#include "manager/CSplashThread.h"
#include "manager/CSplashWnd.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Set by the test; the window's close waits for it, as on a stuck user-interface thread.
HANDLE g_release = nullptr;

}  // namespace

class CHangingSplashWnd : public CSplashWnd {
    DECLARE_DYNCREATE(CHangingSplashWnd)

public:
    BOOL Create() override {
        m_width = 40;
        m_height = 20;
        return CSplashWnd::Create();
    }

protected:
    void OnClose() {
        WaitForSingleObject(g_release, INFINITE);
        CSplashWnd::OnClose();
    }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CHangingSplashWnd, CSplashWnd)

BEGIN_MESSAGE_MAP(CHangingSplashWnd, CSplashWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

TEST(SplashStarter, AThreadThatDoesNotEndIsKeptAndEndsLater) {
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CSplashStarter starter;
    ASSERT_TRUE(starter.Start(RUNTIME_CLASS(CHangingSplashWnd)));
    CSplashThread* thread = starter.GetThread();
    // Polled, not waited for: the ready signal releases one waiter, and that is Stop.
    for (int i = 0; i < 200 && thread->GetSplash() == nullptr; ++i) {
        Sleep(10);
    }
    ASSERT_NE(thread->GetSplash(), nullptr);

    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(starter.Stop());
    EXPECT_LT(GetTickCount64() - start, ULONGLONG{3 * CSplashStarter::kStopTimeoutMs});
    EXPECT_FALSE(starter.IsStarted());
    EXPECT_TRUE(CKeptThreads::Holds(thread));

    // The kept object is still the thread's: it ends through it once the window may close.
    SetEvent(g_release);
    EXPECT_TRUE(thread->Wait(CSplashStarter::kStopTimeoutMs));
    CloseHandle(g_release);
}

}  // namespace
