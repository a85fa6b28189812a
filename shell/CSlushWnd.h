// A small always-on-top box with one line of text in a button-like frame, on a
// user-interface thread of its own (see CSlushThread).
#pragma once

#include "classlib/core/CString.h"
#include "shell/CPopupWnd.h"

class CSlushWnd : public CPopupWnd {
    DECLARE_DYNCREATE(CSlushWnd)

public:
    CSlushWnd();

    // The format text (one "%c" for the spinner) and the main dialog's two scales.
    void SetMessage(LPCSTR message) { m_message = message; }

    void SetScale(double scaleX, double scaleY) {
        m_scaleX = scaleX;
        m_scaleY = scaleY;
    }

    BOOL Create() override;

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

protected:
    HICON m_classIcon = nullptr;
    CString m_message;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
};
