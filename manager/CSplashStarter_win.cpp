#include "manager/CSplashStarter.h"

#include "classlib/win/CWinApp.h"
#include "link/CKeptThreads.h"
#include "link/CLogger.h"
#include "manager/CSplashThread.h"

CSplashStarter::CSplashStarter() = default;

CSplashStarter::~CSplashStarter() {
    Stop(nullptr);
}

BOOL CSplashStarter::Start(CRuntimeClass* windowClass) {
    if (m_thread != nullptr) {
        return FALSE;
    }
    CWinThread* thread =
        AfxBeginThread(RUNTIME_CLASS(CSplashThread), kThreadPriorityNormal, 0, kCreateSuspended);
    if (thread == nullptr) {
        CLogger::Instance().Log(1000,
                                "CSplashStarter::Start(): the start window's thread could not be made.");
        return FALSE;
    }
    m_thread.reset(static_cast<CSplashThread*>(thread));
    m_thread->SetWindowClass(windowClass);
    m_thread->m_bAutoDelete = FALSE;
    m_thread->ResumeThread();
    return TRUE;
}

BOOL CSplashStarter::Stop(CWnd* focus) {
    if (m_thread == nullptr) {
        return FALSE;
    }
    if (!m_thread->WaitReady(kStopTimeoutMs)) {
        CLogger::Instance().Log(1000, "CSplashStarter::Stop(): the start window did not report ready.");
    }
    const DWORD ownThread = GetCurrentThreadId();
    const BOOL attached = AttachThreadInput(ownThread, m_thread->m_nThreadID, TRUE);
    CWnd* target = focus != nullptr ? focus : AfxGetMainWnd();
    if (target != nullptr && target->GetSafeHwnd() != nullptr) {
        target->SetFocus();
        target->SetForegroundWindow();
    }
    CSplashWnd* splash = m_thread->GetSplash();
    if (splash != nullptr && splash->GetSafeHwnd() != nullptr) {
        splash->AllowClose();
        splash->PostMessage(WM_CLOSE);
    }
    const BOOL ended = m_thread->Wait(kStopTimeoutMs);
    if (attached) {
        AttachThreadInput(ownThread, m_thread->m_nThreadID, FALSE);
    }
    if (!ended) {
        // The thread still uses its object: keep it rather than free it under the thread.
        CLogger::Instance().Log(1000, "CSplashStarter::Stop(): the start window's thread did not end.");
        CKeptThreads::Keep(std::move(m_thread));
        return TRUE;
    }
    m_thread.reset();
    return TRUE;
}
