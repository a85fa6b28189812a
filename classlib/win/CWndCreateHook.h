// Binds a window to its object while CreateWindowEx or CreateDialog is still running,
// so that the object gets the window's first messages (WM_NCCREATE, WM_CREATE,
// WM_INITDIALOG). Per thread: each thread creates its own windows.
#pragma once

#include <windows.h>

class CWnd;

class CWndCreateHook {
public:
    // The next window the calling thread creates becomes wnd's. Not owned.
    explicit CWndCreateHook(CWnd* wnd);
    // Gives up on a creation that never reached the hook.
    ~CWndCreateHook();
    CWndCreateHook(const CWndCreateHook&) = delete;
    CWndCreateHook& operator=(const CWndCreateHook&) = delete;

    // FALSE when the hook could not be installed.
    bool IsInstalled() const { return m_hook != nullptr; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    CWnd* m_savedPending = nullptr;  // an outer creation on this thread, restored afterwards
};
