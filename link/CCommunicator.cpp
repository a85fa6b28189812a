// The communicator's worker thread: its start, stop, kill and the bounded wait for its end.
#include "link/CCommunicator.h"

#include "classlib/core/CWinThread.h"
#include "link/CKeptThreads.h"
#include "link/CLogger.h"

CCommunicator::CCommunicator(DWORD stopWaitMs)
    : m_worker(std::make_shared<CCommunicatorWorker>()), m_stopWaitMs(stopWaitMs) {}

CCommunicator::~CCommunicator() {
    m_worker->Stop();
    if (WaitForOldThread()) {
        return;
    }
    // The thread keeps the worker's state alive; what lives outside (the data handler,
    // the watchdog) may go once the worker no longer reaches them.
    CLogger::Instance().Log(0, "CCommunicator: the worker has not ended; it is left to end on its own.");
    if (!m_worker->Detach(m_stopWaitMs)) {
        CLogger::Instance().Log(0, "CCommunicator: the worker does not return from the data handler.");
    }
    CKeptThreads::Keep(std::move(m_thread));
}

void CCommunicator::StartThread() {
    if (!WaitForOldThread()) {
        // Two workers must never share one state: the old one is kept, told to stop.
        CLogger::Instance().Log(
            0, "CCommunicator::StartThread(): the old worker has not ended; none is started.");
        return;
    }
    m_worker->BeginPasses();
    // The thread owns one reference to the worker and drops it when it ends.
    auto* threadShare = new std::shared_ptr<CCommunicatorWorker>(m_worker);
    CWinThread* thread = AfxBeginThread(ThreadEntry, threadShare, kThreadPriorityNormal, 0, kCreateSuspended);
    if (thread == nullptr) {
        delete threadShare;
        m_worker->Stop();
        CLogger::Instance().Log(0, "CCommunicator::StartThread(): the worker could not be created.");
        return;
    }
    thread->m_bAutoDelete = FALSE;
    m_thread.reset(thread);
    m_thread->ResumeThread();
}

UINT CCommunicator::ThreadEntry(LPVOID worker) {
    const std::unique_ptr<std::shared_ptr<CCommunicatorWorker>> shared(
        static_cast<std::shared_ptr<CCommunicatorWorker>*>(worker));
    (*shared)->CommunicatorThread();
    return 0;
}

// A thread that a kill could not end (POSIX) still runs the worker's loop; it was told
// to stop and must be gone before a new one starts. False when it is still there.
bool CCommunicator::WaitForOldThread() {
    if (!m_thread) {
        return true;
    }
    if (!m_thread->Wait(m_stopWaitMs)) {
        return false;
    }
    m_thread.reset();
    return true;
}

int CCommunicator::StopThread() {
    m_worker->Stop();
    return WaitForOldThread() ? 1 : 0;
}

int CCommunicator::KillThread() {
    m_worker->Stop();
    int result = 0;
    if (m_thread) {
        if (!m_thread->Terminate(0)) {
            // The worker lives on and still owns the port, its list and its locks; told
            // to stop, it frees them itself at the end of its pass.
            m_worker->ReportKilled();
            CLogger::Instance().Log(0, "CCommunicator::KillThread(): the worker could not be terminated.");
            return 1;
        }
        if (!m_thread->CloseThreadHandle()) {
            result = 2;
        }
        m_thread.reset();
    }
    m_worker->FreeAfterKill();
    CLogger::Instance().Log(0, "CCommunicator::KillThread(): done.");
    return result;
}
