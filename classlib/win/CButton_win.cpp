// Buttons: thin wrappers of the BM_* messages.
#include "classlib/win/CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("BUTTON", caption, style, rect, parent, id);
}

int CButton::GetCheck() const {
    return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0));
}

void CButton::SetCheck(int check) {
    ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

UINT CButton::GetState() const {
    return static_cast<UINT>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0));
}

void CButton::SetState(BOOL highlight) {
    ::SendMessageA(m_hWnd, BM_SETSTATE, static_cast<WPARAM>(highlight), 0);
}

UINT CButton::GetButtonStyle() const {
    // The low word holds the button's own BS_* part of the window style.
    return static_cast<UINT>(GetStyle() & 0xFFFF);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
    ::SendMessageA(m_hWnd, BM_SETSTYLE, style, MAKELPARAM(redraw, 0));
}

HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(
        ::SendMessageA(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

HBITMAP CButton::GetBitmap() const {
    return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
}
