// The thread's WH_MSGFILTER hook.
#include "classlib/win/CMessageFilterHook.h"

#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CWinApp.h"

#include <cstdio>
#include <exception>

CMessageFilterHook::CMessageFilterHook() {
    m_hook = SetWindowsHookExA(WH_MSGFILTER, &CMessageFilterHook::FilterProc, nullptr, GetCurrentThreadId());
    if (m_hook == nullptr) {
        std::fprintf(stderr, "SetWindowsHookEx(WH_MSGFILTER): %lu\n", GetLastError());
    }
}

CMessageFilterHook::~CMessageFilterHook() {
    if (m_hook != nullptr) {
        UnhookWindowsHookEx(m_hook);
    }
}

LRESULT CALLBACK CMessageFilterHook::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
    CWinApp* app = AfxGetApp();
    if (code < 0 || app == nullptr) {
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // A hook is called from system code: nothing may be thrown through it.
    try {
        if (app->ProcessMessageFilter(code, reinterpret_cast<LPMSG>(lParam))) {
            return 1;
        }
    } catch (const std::exception& caught) {
        AfxReportError(caught.what());
    } catch (...) {
        AfxReportError("Unhandled error of unknown kind in the message filter.");
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
