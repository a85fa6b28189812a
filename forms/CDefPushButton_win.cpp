#include "forms/CDefPushButton.h"

namespace {

constexpr UINT kTypeMask = 0x0F;
constexpr UINT kGroupBoxKind = BS_GROUPBOX;  // 7

bool IsRadioKind(UINT kind) {
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

UINT DialogCode(HWND hwnd) {
    return static_cast<UINT>(::SendMessageA(hwnd, WM_GETDLGCODE, 0, 0));
}

bool IsButtonCode(UINT code) {
    return (code & DLGC_BUTTON) != 0;
}

bool ShowsDefault(UINT code) {
    return (code & DLGC_DEFPUSHBUTTON) != 0;
}

void SetButtonStyle(HWND hwnd, UINT style) {
    ::SendMessageA(hwnd, BM_SETSTYLE, style, TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDefPushButton, CButton)
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

void CDefPushButton::PreSubclassWindow() {
    const UINT kind = GetStyle() & kTypeMask;
    if (kind == BS_DEFPUSHBUTTON) {
        m_defaultAllowed = TRUE;
        m_isDefault = TRUE;
        m_buttonKind = BS_PUSHBUTTON;
    } else if (kind == BS_PUSHBUTTON) {
        m_defaultAllowed = TRUE;
        m_buttonKind = BS_PUSHBUTTON;
    } else {
        m_buttonKind = kind;
    }
    ModifyStyle(kTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

UINT CDefPushButton::OnGetDlgCode() {
    UINT code = CButton::OnGetDlgCode();
    if (IsRadioKind(m_buttonKind)) {
        code |= DLGC_RADIOBUTTON;
    } else if (m_buttonKind == kGroupBoxKind) {
        return DLGC_STATIC;
    }
    if (m_defaultAllowed || m_isDefault) {
        code |= m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    }
    return code;
}

LRESULT CDefPushButton::OnSetStyle(WPARAM style, LPARAM redraw) {
    const UINT kind = static_cast<UINT>(style) & kTypeMask;
    if (kind == BS_DEFPUSHBUTTON) {
        m_isDefault = TRUE;
    } else if (kind == BS_PUSHBUTTON) {
        m_isDefault = FALSE;
    }
    // The window stays owner-drawn whatever the dialog manager asks for.
    return DefWindowProc(BM_SETSTYLE, (style & ~WPARAM{0x4}) | BS_OWNERDRAW, redraw);
}

void CDefPushButton::EnableDefault(BOOL allowed) {
    m_defaultAllowed = allowed;
    if (allowed || !m_isDefault) {
        return;
    }
    SendMessage(BM_SETSTYLE, GetStyle() & ~kTypeMask, TRUE);
    const HWND parent = ::GetParent(m_hWnd);
    const LRESULT defaultId = ::SendMessageA(parent, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID) {
        ::SendMessageA(parent, DM_SETDEFID, LOWORD(defaultId), 0);
    }
}

void SetDefaultButton(HWND dialog, UINT controlId) {
    if (dialog == nullptr || !::IsWindow(dialog)) {
        return;
    }
    const LRESULT oldDefault = ::SendMessageA(dialog, DM_GETDEFID, 0, 0);
    ::SendMessageA(dialog, DM_SETDEFID, controlId, 0);
    if (HIWORD(oldDefault) == DC_HASDEFID) {
        const HWND oldButton = ::GetDlgItem(dialog, LOWORD(oldDefault));
        const UINT code = oldButton != nullptr ? DialogCode(oldButton) : 0;
        if (IsButtonCode(code) && ShowsDefault(code)) {
            SetButtonStyle(oldButton, BS_PUSHBUTTON);
        }
    }
    const HWND newButton = ::GetDlgItem(dialog, static_cast<int>(controlId));
    if (newButton == nullptr || !IsButtonCode(DialogCode(newButton))) {
        return;
    }
    const HWND focus = ::GetFocus();
    const UINT focusCode = focus != nullptr ? DialogCode(focus) : 0;
    if (IsButtonCode(focusCode) && (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        if (ShowsDefault(DialogCode(newButton)) && newButton != focus) {
            SetButtonStyle(newButton, BS_PUSHBUTTON);
        }
        if (!ShowsDefault(focusCode)) {
            SetButtonStyle(focus, BS_DEFPUSHBUTTON);
        }
        return;
    }
    if (!ShowsDefault(DialogCode(newButton))) {
        SetButtonStyle(newButton, BS_DEFPUSHBUTTON);
    }
}
