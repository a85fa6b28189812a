#include "grid/CGridComboEditBox.h"

#include "grid/CGridInPlaceCombo.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CGridComboEditBox, CEdit)

BEGIN_MESSAGE_MAP(CGridComboEditBox, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

// Keys are handled here before a dialog can take Tab, Return or Escape for itself.
BOOL CGridComboEditBox::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) {
        TranslateMessage(msg);
        DispatchMessageA(msg);
        return TRUE;
    }
    if (msg->message == WM_SYSCHAR) {
        return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
}

void CGridComboEditBox::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    CWnd* owner = GetParent();
    if (CGridInPlaceCombo::IsLeavingKey(key) && (GetKeyState(VK_CONTROL) & 0x8000) != 0 && GetDlgCtrlID() == static_cast<int>(kEditId) &&
        owner != nullptr) {
        owner->SendMessage(WM_KEYDOWN, key, MAKELPARAM(repeat, flags));
        return;
    }
    CEdit::OnKeyDown(key, repeat, flags);
}

void CGridComboEditBox::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    CWnd* owner = GetParent();
    if ((key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && owner != nullptr) {
        owner->SendMessage(WM_KEYUP, key, MAKELPARAM(repeat, flags));
        return;
    }
    CEdit::OnKeyUp(key, repeat, flags);
}

void CGridComboEditBox::OnKillFocus(CWnd* newWnd) {
    CEdit::OnKillFocus(newWnd);
    CGridInPlaceCombo* combo = dynamic_cast<CGridInPlaceCombo*>(GetParent());
    if (combo != nullptr) {
        combo->EndEdit();
    }
}
