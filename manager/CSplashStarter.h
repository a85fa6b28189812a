// Starts a start window on its own user-interface thread and stops it again, handing the
// focus to the program's window. The thread object outlives its thread so that Stop can
// wait for it; a thread that does not end in time keeps its object (CKeptThreads).
#pragma once

#include "classlib/core/CRuntimeClass.h"
#include "classlib/win/CWnd.h"

#include <memory>

class CSplashThread;

class CSplashStarter {
public:
    // How long Stop waits for the ready signal and for the thread's end; a start window
    // that hangs must not freeze the program.
    static constexpr DWORD kStopTimeoutMs = 5000;

    CSplashStarter();
    ~CSplashStarter();
    CSplashStarter(const CSplashStarter&) = delete;
    CSplashStarter& operator=(const CSplashStarter&) = delete;

    // windowClass derives from CSplashWnd. FALSE when no thread could be made.
    BOOL Start(CRuntimeClass* windowClass);
    // Closes the window and ends the thread; focus and foreground go to focus, or to the
    // application's main window. FALSE when nothing was started.
    BOOL Stop(CWnd* focus = nullptr);

    bool IsStarted() const { return m_thread != nullptr; }

    CSplashThread* GetThread() const { return m_thread.get(); }

private:
    std::unique_ptr<CSplashThread> m_thread;
};
