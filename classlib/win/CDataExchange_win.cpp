// Data exchange between a dialog and its controls.
#include "classlib/win/CDataExchange.h"

#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CWnd.h"

#include <cstdio>

HWND CDataExchange::PrepareCtrl(int id) {
    const HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (control == nullptr) {
        char text[96];
        std::snprintf(text, sizeof(text), "The dialog has no control %d to exchange data with.", id);
        AfxReportError(text);
        m_failed = TRUE;
    }
    return control;
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) {
        return;
    }
    const HWND hwnd = exchange->PrepareCtrl(id);
    if (hwnd == nullptr) {
        return;
    }
    if (!control.SubclassWindow(hwnd)) {
        char text[96];
        std::snprintf(text, sizeof(text), "Control %d of the dialog is bound to another object.", id);
        AfxReportError(text);
    }
}
