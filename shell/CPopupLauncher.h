// Starts and ends the thread of a splash or busy box. Its destruction closes a box that
// still runs.
#pragma once

#include "classlib/core/WinTypes.h"

#include <memory>

class CPopupThread;
class CPopupWnd;
class CWnd;

class CPopupLauncher {
public:
    // Bound the waits for the creation and for the thread's end: a thread that never
    // reports or never ends would hang the caller.
    static constexpr DWORD kCreationWaitMs = 10000;
    static constexpr DWORD kEndWaitMs = 10000;

    CPopupLauncher();
    virtual ~CPopupLauncher();
    CPopupLauncher(const CPopupLauncher&) = delete;
    CPopupLauncher& operator=(const CPopupLauncher&) = delete;

    // Closes the box and waits for its thread; the focus goes to activate, or the
    // application's main window when null. False when no box runs. A thread that does not
    // end in time is left to end on its own, its object kept for it.
    bool Close(CWnd* activate);

    bool IsShown() const { return m_thread != nullptr; }

    // The running box, or null.
    CPopupWnd* GetWindow() const;

protected:
    // Runs the thread (suspended until handed over); false when a box runs already or the
    // thread could not be started.
    bool Start(std::unique_ptr<CPopupThread> thread);

private:
    std::unique_ptr<CPopupThread> m_thread;
};
