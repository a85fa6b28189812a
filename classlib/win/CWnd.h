// A window handle with the calls that the link layer and the pages make on windows
// they do not own: post and send messages, enable and show. It neither creates nor
// destroys the window.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Takes hwnd as this object's window. FALSE when a window is attached already or
    // hwnd is null.
    BOOL Attach(HWND hwnd);
    // Lets go of the window and returns it.
    HWND Detach();

    HWND GetSafeHwnd() const { return m_hWnd; }

    // TRUE while the handle names an existing window.
    BOOL IsWindow() const;

    // Safe from any thread: the message is queued for the window's thread.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Runs the window procedure on the window's thread and waits for it: never call it
    // from a worker while the window's thread may wait for that worker.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Returns TRUE when the window was disabled before the call.
    BOOL EnableWindow(BOOL enable = TRUE);
    // Returns TRUE when the window was visible before the call.
    BOOL ShowWindow(int showCommand);

    HWND m_hWnd = nullptr;
};
