// A start window that lives on a thread of its own: a topmost pop-up owned by an invisible
// window, which takes the splash with it when it goes. WM_CLOSE is ignored until the starter
// allows closing.
#pragma once

#include "classlib/win/CWnd.h"

#include <atomic>

class CSplashWnd : public CWnd {
    DECLARE_DYNCREATE(CSplashWnd)

public:
    CSplashWnd();
    ~CSplashWnd() override;

    // Registers the window class, makes the invisible owner and the visible splash of the
    // size set before. FALSE when a window could not be made.
    virtual BOOL Create();

    // Set by the starting thread before it posts WM_CLOSE.
    void AllowClose() { m_closeAllowed = true; }

protected:
    void OnClose();

    std::atomic<bool> m_closeAllowed;
    HICON m_classIcon = nullptr;
    CWnd m_owner;
    int m_width = 0;
    int m_height = 0;

    DECLARE_MESSAGE_MAP()
};
