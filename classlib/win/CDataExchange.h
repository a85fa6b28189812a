// Moves values between a dialog's members and its controls; DoDataExchange gets one.
// The only exchange in use binds members to template controls (DDX_Control).
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control id of the dialog, or null (reported, and the exchange marked
    // failed) when the dialog has no such control.
    HWND PrepareCtrl(int id);

    // TRUE once any step of the exchange failed.
    BOOL HasFailed() const { return m_failed; }

    CWnd* m_pDlgWnd;          // not owned
    BOOL m_bSaveAndValidate;  // TRUE: controls to members

private:
    BOOL m_failed = FALSE;
};

// Binds control (a member object with no window yet) to the dialog's control id by
// subclassing it; a bound member is left as it is.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
