#include "shell/CFileDialogExt2ViewHook.h"

#include "shell/CFileDialogExt2.h"
#include "shell/CFileDialogExtView.h"

LRESULT CFileDialogExt2ViewHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) {
        return CWnd::WindowProc(message, wParam, lParam);
    }
    m_dialog->GetHookWnd().PostMessage(CFileDialogExtView::kSetUpMessage, 0, 0);
    const HWND view = UnsubclassWindow();
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(view, GWLP_WNDPROC)), view, message,
                           wParam, lParam);
}
