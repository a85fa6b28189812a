// An owner-drawn push button that still takes part in the dialog's default-button logic:
// it answers WM_GETDLGCODE like the push button it replaced, remembers whether the dialog
// made it the default, and can refuse to be the default.
#pragma once

#include "classlib/win/CButton.h"

#include <windows.h>

class CDefPushButton : public CButton {
public:
    CDefPushButton() = default;

    // The low four style bits the button had before it was made owner-drawn; 0 for both
    // kinds of push button.
    UINT GetButtonKind() const { return m_buttonKind; }

    BOOL IsDefault() const { return m_isDefault; }

    // FALSE on the default button hands the default back to the dialog's default id.
    void EnableDefault(BOOL allowed);

protected:
    void PreSubclassWindow() override;
    UINT OnGetDlgCode();
    LRESULT OnSetStyle(WPARAM style, LPARAM redraw);

    DECLARE_MESSAGE_MAP()

private:
    BOOL m_defaultAllowed = FALSE;
    BOOL m_isDefault = FALSE;
    UINT m_buttonKind = 15;
};

// Makes controlId the default of dialog and moves the default look between its buttons.
void SetDefaultButton(HWND dialog, UINT controlId);
