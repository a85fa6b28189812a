// The creation hook: a thread-local WH_CBT hook that subclasses the first window
// created after it was set.
#include "classlib/win/CWndCreateHook.h"

#include "classlib/win/CWnd.h"

namespace {

thread_local CWnd* t_pending = nullptr;

}  // namespace

CWndCreateHook::CWndCreateHook(CWnd* wnd) : m_savedPending(t_pending) {
    m_hook = SetWindowsHookExA(WH_CBT, &CWndCreateHook::CbtProc, nullptr, GetCurrentThreadId());
    if (m_hook != nullptr) {
        t_pending = wnd;
    }
}

CWndCreateHook::~CWndCreateHook() {
    if (m_hook != nullptr) {
        UnhookWindowsHookEx(m_hook);
    }
    t_pending = m_savedPending;
}

LRESULT CALLBACK CWndCreateHook::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pending != nullptr) {
        CWnd* wnd = t_pending;
        // Windows that the new window's own creation makes (dialog controls) stay plain.
        t_pending = nullptr;
        wnd->SubclassBound(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
