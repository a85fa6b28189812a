#include "shell/CPopupLauncher.h"

#include "classlib/win/CWinApp.h"
#include "classlib/win/CWnd.h"
#include "link/CKeptThreads.h"
#include "link/CLogger.h"
#include "shell/CPopupThread.h"
#include "shell/CPopupWnd.h"

#include <windows.h>

namespace {

constexpr DWORD kWaitSliceMs = 20;

// Messages other threads send to this one are served while it waits, so that a thread
// waiting here cannot deadlock with one that sends to it.
void ServeSentMessages() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

CPopupLauncher::CPopupLauncher() = default;

CPopupLauncher::~CPopupLauncher() {
    Close(nullptr);
}

CPopupWnd* CPopupLauncher::GetWindow() const {
    return m_thread != nullptr ? m_thread->GetPopup() : nullptr;
}

bool CPopupLauncher::Start(std::unique_ptr<CPopupThread> thread) {
    if (m_thread != nullptr) {
        return false;
    }
    thread->m_bAutoDelete = FALSE;
    if (!thread->CreateThread(kCreateSuspended)) {
        CLogger::Instance().Log(0, "CPopupLauncher: the thread could not be started.");
        return false;
    }
    thread->ResumeThread();
    m_thread = std::move(thread);
    return true;
}

bool CPopupLauncher::Close(CWnd* activate) {
    if (m_thread == nullptr) {
        return false;
    }
    DWORD waited = 0;
    while (!m_thread->CreationDone().Lock(kWaitSliceMs) && waited < kCreationWaitMs) {
        ServeSentMessages();
        waited += kWaitSliceMs;
    }
    AttachThreadInput(GetCurrentThreadId(), m_thread->m_nThreadID, TRUE);
    CWnd* focus = activate != nullptr ? activate : AfxGetMainWnd();
    // After the main dialog has ended the main window may have no window left.
    if (focus != nullptr && focus->GetSafeHwnd() != nullptr && ::IsWindow(focus->GetSafeHwnd())) {
        ::SetFocus(focus->GetSafeHwnd());
        ::SetForegroundWindow(focus->GetSafeHwnd());
    }
    m_thread->RequestClose();
    waited = 0;
    bool ended = false;
    while (!(ended = m_thread->Wait(kWaitSliceMs) != FALSE) && waited < kEndWaitMs) {
        ServeSentMessages();
        waited += kWaitSliceMs;
    }
    AttachThreadInput(GetCurrentThreadId(), m_thread->m_nThreadID, FALSE);
    if (!ended) {
        // Freeing the object under its running thread would be worse than keeping it.
        CLogger::Instance().Log(
            0, "CPopupLauncher: the box's thread did not end; it is kept to end on its own.");
        CKeptThreads::Keep(std::move(m_thread));
        return true;
    }
    m_thread.reset();
    return true;
}
