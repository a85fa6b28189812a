// The thread's WH_MSGFILTER hook.
#include "classlib/win/CMessageFilterHook.h"

#include "classlib/core/DescribeLibraryException.h"
#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CWinApp.h"

#include <cstdio>
#include <exception>
#include <string>

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
    std::string failure;
    try {
        if (app->ProcessMessageFilter(code, reinterpret_cast<LPMSG>(lParam))) {
            return 1;
        }
    } catch (CException* caught) {
        failure = "Unhandled error in the message filter: " + DescribeLibraryException(caught);
    } catch (const std::exception& caught) {
        failure = std::string("Unhandled error in the message filter: ") + caught.what();
    } catch (...) {
        failure = "Unhandled error of unknown kind in the message filter.";
    }
    // Reported outside the catch blocks: the report may pump messages.
    if (!failure.empty()) {
        AfxReportError(failure.c_str());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
