#include "forms/CFocuslessButton.h"

IMPLEMENT_DYNAMIC(CFocuslessButton, CButton)

BEGIN_MESSAGE_MAP(CFocuslessButton, CButton)
    ON_WM_SETFOCUS()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

void CFocuslessButton::OnSetFocus(CWnd* oldWnd) {
    CButton::OnSetFocus(oldWnd);
    m_previousFocus = oldWnd != nullptr ? oldWnd->GetSafeHwnd() : nullptr;
}

BOOL CFocuslessButton::OnClicked() {
    if (!m_returnFocus || m_previousFocus == nullptr) {
        return FALSE;
    }
    const HWND previous = m_previousFocus;
    m_previousFocus = nullptr;
    if (::IsWindow(previous)) {
        ::SendMessageA(::GetParent(previous), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(previous), TRUE);
    }
    return FALSE;
}
