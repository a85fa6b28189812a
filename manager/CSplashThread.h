// The user-interface thread of a start window: makes the window from its run-time class and
// runs its messages until the window is gone. The ready event tells the starter that the
// window exists, or that it could not be made.
#pragma once

#include "classlib/core/CWinThread.h"
#include "manager/CSplashWnd.h"

#include <windows.h>

class CSplashThread : public CWinThread {
    DECLARE_DYNCREATE(CSplashThread)

public:
    CSplashThread();
    ~CSplashThread() override;

    // Set before the thread runs.
    void SetWindowClass(CRuntimeClass* windowClass) { m_windowClass = windowClass; }

    // Waits for the ready signal; FALSE when it did not come within timeoutMs.
    BOOL WaitReady(DWORD timeoutMs);

    // The window, or null when it was not made; valid until the thread ends.
    CSplashWnd* GetSplash() const { return m_made ? m_splash : nullptr; }

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CRuntimeClass* m_windowClass = nullptr;
    CSplashWnd* m_splash = nullptr;  // owned
    HANDLE m_ready = nullptr;        // auto-reset, not set at first
    volatile bool m_made = false;
};
