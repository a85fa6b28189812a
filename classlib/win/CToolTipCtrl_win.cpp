// Tooltips: thin wrappers of the TTM_* messages.
#include "classlib/win/CToolTipCtrl.h"

#include "classlib/win/AfxInitCommonControls.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    const HWND owner = parent != nullptr ? parent->m_hWnd : nullptr;
    const CRect anywhere(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | style, anywhere,
                    owner, nullptr);
}

TTTOOLINFOA CToolTipCtrl::ToolInfo(CWnd* wnd, UINT_PTR toolId) const {
    TTTOOLINFOA info = {};
    // The record of the common controls of version 6, which the programs' manifest asks for.
    info.cbSize = TTTOOLINFOA_V3_SIZE;
    const HWND tool = wnd != nullptr ? wnd->m_hWnd : nullptr;
    if (toolId == 0) {
        // The window is the tool; its parent hears the notifications.
        info.uFlags = TTF_IDISHWND;
        info.hwnd = ::GetParent(tool);
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        return info;
    }
    info.hwnd = tool;
    info.uId = toolId;
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCSTR text, LPCRECT rect, UINT_PTR toolId) {
    if (wnd == nullptr || wnd->m_hWnd == nullptr) {
        return FALSE;
    }
    TTTOOLINFOA info = ToolInfo(wnd, toolId);
    if (toolId != 0 && rect != nullptr) {
        info.rect = *rect;
    }
    info.lpszText = const_cast<LPSTR>(text);  // copied by the control, or the callback marker
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId) {
    TTTOOLINFOA info = ToolInfo(wnd, toolId);
    ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR toolId) {
    TTTOOLINFOA info = ToolInfo(wnd, toolId);
    info.lpszText = const_cast<LPSTR>(text);  // copied by the control
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

int CToolTipCtrl::GetToolCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}

void CToolTipCtrl::Activate(BOOL activate) {
    ::SendMessageA(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(activate), 0);
}

void CToolTipCtrl::SetDelayTime(DWORD which, int delayMs) {
    ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, which, MAKELPARAM(delayMs, 0));
}

int CToolTipCtrl::GetDelayTime(DWORD which) const {
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETDELAYTIME, which, 0));
}

void CToolTipCtrl::SetMargin(LPRECT rect) {
    ::SendMessageA(m_hWnd, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(rect));
}

void CToolTipCtrl::GetMargin(LPRECT rect) const {
    ::SendMessageA(m_hWnd, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(rect));
}

int CToolTipCtrl::SetMaxTipWidth(int widthPixels) {
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, widthPixels));
}

COLORREF CToolTipCtrl::GetTipBkColor() const {
    return static_cast<COLORREF>(::SendMessageA(m_hWnd, TTM_GETTIPBKCOLOR, 0, 0));
}

void CToolTipCtrl::SetTipBkColor(COLORREF color) {
    ::SendMessageA(m_hWnd, TTM_SETTIPBKCOLOR, color, 0);
}

COLORREF CToolTipCtrl::GetTipTextColor() const {
    return static_cast<COLORREF>(::SendMessageA(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0));
}

void CToolTipCtrl::SetTipTextColor(COLORREF color) {
    ::SendMessageA(m_hWnd, TTM_SETTIPTEXTCOLOR, color, 0);
}

void CToolTipCtrl::RelayEvent(LPMSG msg) {
    ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Pop() {
    ::SendMessageA(m_hWnd, TTM_POP, 0, 0);
}
