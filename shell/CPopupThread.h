// The user-interface thread of a splash or busy box: creates the window from its run-time
// class, signals that the creation has finished, and runs the window's messages until the
// window is destroyed; then it deletes the window.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CEvent.h"
#include "classlib/core/CWinThread.h"

#include <atomic>

class CPopupWnd;
struct CRuntimeClass;

class CPopupThread : public CWinThread {
    DECLARE_DYNAMIC(CPopupThread)

public:
    explicit CPopupThread(CRuntimeClass* windowClass);
    ~CPopupThread() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Set when the creation has finished, successfully or not; releases one waiter.
    CEvent& CreationDone() { return m_created; }

    // The window; null before it was created, after it failed and after it is gone.
    CPopupWnd* GetPopup() const { return m_succeeded ? m_window : nullptr; }

    // Closes the window, or, when it is still being created, makes the thread end as soon
    // as the creation returns; from the launcher's thread. Either way the thread ends.
    void RequestClose();

protected:
    // Hands the window what it needs before its creation; on the new thread.
    virtual void PrepareWindow(CPopupWnd& window);

private:
    CRuntimeClass* m_windowClass;
    CPopupWnd* m_window = nullptr;
    CEvent m_created{FALSE, FALSE};
    std::atomic<bool> m_succeeded{false};
    // Orders the creation's end against a close request, so that neither misses the other.
    CCriticalSection m_closeLock;
    bool m_closeRequested = false;  // guarded by m_closeLock
};
