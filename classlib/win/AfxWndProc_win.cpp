// The window procedure of all library windows, with its exception boundary: an
// exception must not unwind through system code that called the procedure.
#include "classlib/win/AfxWndProc.h"

#include "classlib/core/CException.h"
#include "classlib/core/DescribeLibraryException.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CWnd.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

namespace {

thread_local MSG t_currentMessage = {};

struct HandlerSlot {
    std::mutex mutex;
    AfxErrorHandler handler;  // guarded by mutex; empty: the default
};

HandlerSlot& Slot() {
    static HandlerSlot slot;
    return slot;
}

void DefaultReport(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

// Keeps the thread's "current message" for Default while a handler runs, also across
// nested calls of the procedure.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) : m_saved(t_currentMessage) {
        t_currentMessage = MSG{hwnd, message, wParam, lParam, 0, {0, 0}};
    }

    ~CurrentMessageScope() { t_currentMessage = m_saved; }

    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    MSG m_saved;
};

}  // namespace

const MSG& AfxGetCurrentMessage() {
    return t_currentMessage;
}

AfxErrorHandler AfxSetErrorHandler(AfxErrorHandler handler) {
    HandlerSlot& slot = Slot();
    std::lock_guard<std::mutex> guard(slot.mutex);
    return std::exchange(slot.handler, std::move(handler));
}

void AfxReportError(const char* text) {
    AfxErrorHandler handler;
    {
        HandlerSlot& slot = Slot();
        std::lock_guard<std::mutex> guard(slot.mutex);
        handler = slot.handler;
    }
    if (handler) {
        handler(text);
        return;
    }
    DefaultReport(text);
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd == nullptr) {
        // Only a window whose object let go of it on another thread gets here.
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    std::string failure;
    {
        CurrentMessageScope scope(hwnd, message, wParam, lParam);
        try {
            result = wnd->WindowProc(message, wParam, lParam);
        } catch (CException* caught) {
            failure = "Unhandled error in a window: " + DescribeLibraryException(caught);
        } catch (const std::exception& caught) {
            failure = std::string("Unhandled error in a window: ") + caught.what();
        } catch (...) {
            failure = "Unhandled error of unknown kind in a window.";
        }
    }
    // Reported outside the catch blocks: the report may pump messages.
    if (!failure.empty()) {
        AfxReportError(failure.c_str());
    }
    if (message == WM_NCDESTROY) {
        wnd->OnFinalDestroy();
    }
    return result;
}
