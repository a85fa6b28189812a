#include "forms/MoveFocusOff.h"

void MoveFocusOff(CWnd& dialog, std::initializer_list<const CWnd*> controls) {
    const CWnd* focus = CWnd::GetFocus();
    if (focus == nullptr) {
        return;
    }
    const HWND focused = focus->GetSafeHwnd();
    for (const CWnd* control : controls) {
        if (focused == control->GetSafeHwnd()) {
            dialog.SendMessage(WM_NEXTDLGCTL, 0, FALSE);
            return;
        }
    }
}
