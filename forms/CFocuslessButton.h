// A button that can hand the keyboard focus back, after a click, to the control that had
// it before the button took it.
#pragma once

#include "classlib/win/CButton.h"

#include <windows.h>

class CFocuslessButton : public CButton {
    DECLARE_DYNAMIC(CFocuslessButton)

public:
    CFocuslessButton() = default;

    // Nonzero: each click gives the focus back to the window that had it before.
    void SetReturnFocus(BOOL returnFocus) { m_returnFocus = returnFocus; }

protected:
    void OnSetFocus(CWnd* oldWnd);
    // Reflected BN_CLICKED; FALSE so that the parent is notified as well.
    BOOL OnClicked();

    DECLARE_MESSAGE_MAP()

private:
    BOOL m_returnFocus = FALSE;
    HWND m_previousFocus = nullptr;  // not owned
};
