// The common part of the splash and the busy box: a top-most pop-up of a computed size on a
// user-interface thread of its own, owned by an invisible window so that it has no task-bar
// entry, centred on the work area, and deaf to WM_CLOSE until its launcher allows closing.
#pragma once

#include "classlib/win/CWnd.h"

#include <atomic>

class CPopupWnd : public CWnd {
    DECLARE_DYNAMIC(CPopupWnd)

public:
    CPopupWnd();
    ~CPopupWnd() override;

    // Makes the window; called on its thread.
    virtual BOOL Create() = 0;

    // Set by the launcher's thread before it posts WM_CLOSE.
    void AllowClosing() { m_closingAllowed = true; }

protected:
    // The owner and the box of m_width x m_height; classStyle for the box's class.
    BOOL CreatePopup(UINT classStyle, HICON classIcon);

    int OnCreate(LPCREATESTRUCT create);
    void OnClose();

    DECLARE_MESSAGE_MAP()

protected:
    std::atomic<bool> m_closingAllowed{false};
    CWnd m_owner;
    int m_width = 0;
    int m_height = 0;
};
