// The thin window-handle holder.
#include "classlib/win/CWnd.h"

BOOL CWnd::Attach(HWND hwnd) {
    if (m_hWnd != nullptr || hwnd == nullptr) {
        return FALSE;
    }
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::IsWindow() const {
    return m_hWnd != nullptr && ::IsWindow(m_hWnd);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A null window would post to the calling thread's own queue instead.
    if (m_hWnd == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::ShowWindow(int showCommand) {
    return ::ShowWindow(m_hWnd, showCommand);
}
