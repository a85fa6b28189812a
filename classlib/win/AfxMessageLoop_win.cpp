// The library's message pumps.
#include "classlib/win/AfxMessageLoop.h"

#include "classlib/core/CWinThread.h"
#include "classlib/win/AfxWndProc.h"
#include "classlib/win/CWnd.h"

#include <cstdio>

namespace {

thread_local int t_quitCode = 0;
// Pumps running on this thread; a handler's modal loop nests inside the outer pump.
thread_local int t_pumpDepth = 0;
// Set while AfxRunThreadLoop runs: only such a loop ends with its main window. The
// application's thread keeps its queue free of WM_QUIT when its main dialog closes,
// since message boxes after that would end at once.
thread_local bool t_loopEndsWithMainWindow = false;

// User-interface threads started by the core get their loop from here.
[[maybe_unused]] const bool g_loopInstalled = (CWinThread::SetMessageLoop(&AfxRunThreadLoop), true);

// Counts one running pump for as long as it lives.
class PumpDepthScope {
public:
    PumpDepthScope() { ++t_pumpDepth; }

    ~PumpDepthScope() { --t_pumpDepth; }

    PumpDepthScope(const PumpDepthScope&) = delete;
    PumpDepthScope& operator=(const PumpDepthScope&) = delete;
};

}  // namespace

BOOL AfxPumpMessage() {
    PumpDepthScope depth;
    // A handler that runs a nested modal loop may still hold temporary objects: only
    // the outermost pump drops them.
    if (t_pumpDepth == 1) {
        CWnd::DeleteTempMap();
    }
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) {
        char text[64];
        std::snprintf(text, sizeof(text), "GetMessage: %lu", GetLastError());
        AfxReportError(text);
        return FALSE;
    }
    if (got == 0) {
        t_quitCode = static_cast<int>(msg.wParam);
        return FALSE;
    }
    if (!CWnd::WalkPreTranslateTree(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

int AfxGetQuitCode() {
    return t_quitCode;
}

int AfxRunThreadLoop(CWinThread* thread) {
    if (thread->m_pMainWnd == nullptr) {
        // Nothing could ever end the loop.
        return 0;
    }
    t_loopEndsWithMainWindow = true;
    while (AfxPumpMessage()) {
    }
    t_loopEndsWithMainWindow = false;
    CWnd::DeleteTempMap();
    return t_quitCode;
}

void AfxWindowGone(CWnd* wnd) {
    CWinThread* thread = AfxGetThread();
    if (thread == nullptr || thread->m_pMainWnd != wnd) {
        return;
    }
    thread->m_pMainWnd = nullptr;
    if (t_loopEndsWithMainWindow) {
        PostQuitMessage(0);
    }
}
