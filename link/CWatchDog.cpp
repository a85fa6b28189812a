// The watchdog thread and its wait.
#include "link/CWatchDog.h"

#include "classlib/core/CWinThread.h"
#include "link/CKeptThreads.h"
#include "link/CLogger.h"

#include <chrono>

namespace {

// Indexes of CEvent::WaitAny's list; stop is listed first so that it wins.
constexpr int kStopSignalled = 0;
constexpr int kHeartbeatSignalled = 1;

}  // namespace

CWatchDog::CWatchDog(DWORD timeoutMs, DWORD stopWaitMs)
    : m_shared(std::make_shared<Shared>()), m_stopWaitMs(stopWaitMs) {
    m_shared->timeoutMs = timeoutMs;
}

CWatchDog::~CWatchDog() {
    if (m_thread) {
        StopThread();
    }
    if (m_thread) {
        CKeptThreads::Keep(std::move(m_thread));
    }
}

void CWatchDog::SetMainWindow(IMessageTarget* window) {
    m_window = window;
    SetThreadWindow(window);
}

void CWatchDog::SetThreadWindow(IMessageTarget* window) {
    std::unique_lock<std::timed_mutex> guard(m_shared->windowLock, std::defer_lock);
    if (!guard.try_lock_for(std::chrono::milliseconds(m_stopWaitMs))) {
        CLogger::Instance().Log(0, "CWatchDog: the thread does not end its post to the main window.");
        return;
    }
    m_shared->window = window;
}

void CWatchDog::StartThread(CCommunicator* communicator) {
    m_communicator = communicator;
    if (m_thread && m_thread->Wait(0)) {
        m_thread.reset();  // one that was given up on has ended since
    }
    if (m_thread) {
        return;
    }
    m_shared->heartbeat.ResetEvent();
    m_shared->stop.ResetEvent();
    SetThreadWindow(m_window);
    // The thread owns one reference to the shared part and drops it when it ends.
    auto* threadShare = new std::shared_ptr<Shared>(m_shared);
    CWinThread* thread = AfxBeginThread(ThreadEntry, threadShare, kThreadPriorityNormal, 0, kCreateSuspended);
    if (thread == nullptr) {
        delete threadShare;
        CLogger::Instance().Log(0, "CWatchDog::StartThread(): the thread could not be created.");
        return;
    }
    thread->m_bAutoDelete = FALSE;
    m_thread.reset(thread);
    m_thread->ResumeThread();
}

void CWatchDog::StopThread() {
    CLogger::Instance().Log(3000, "WatchDogThread: StopThread().");
    if (!m_thread) {
        return;
    }
    m_shared->stop.SetEvent();
    if (m_thread->Wait(m_stopWaitMs)) {
        m_thread.reset();
        return;
    }
    CLogger::Instance().Log(0,
                            "CWatchDog::StopThread(): the thread did not end; it is left to end on its own.");
    SetThreadWindow(nullptr);
}

void CWatchDog::Heartbeat() {
    m_shared->heartbeat.SetEvent();
}

UINT CWatchDog::ThreadEntry(LPVOID share) {
    const std::unique_ptr<std::shared_ptr<Shared>> shared(static_cast<std::shared_ptr<Shared>*>(share));
    WatchDogThread(**shared);
    return 0;
}

// Runs on the watchdog's own thread.
void CWatchDog::WatchDogThread(Shared& shared) {
    CLogger& logger = CLogger::Instance();
    logger.Log(3000, "WatchDogThread: started.");
    DWORD timeoutMs = shared.timeoutMs;
    for (;;) {
        const int signalled = CEvent::WaitAny({&shared.stop, &shared.heartbeat}, timeoutMs);
        if (signalled == kStopSignalled) {
            logger.Log(3000, "WatchDogThread: terminating...");
            break;
        }
        if (signalled == kHeartbeatSignalled) {
            timeoutMs = shared.timeoutMs;
            continue;
        }
        if (signalled != CEvent::kWaitTimedOut) {
            continue;
        }
        logger.Log(100, "WatchDogThread: communicator thread is dead.");
        {
            std::lock_guard<std::timed_mutex> guard(shared.windowLock);
            if (shared.window != nullptr) {
                shared.window->PostMessage(WM_COMM_DEAD, 0, 0);
            }
        }
        timeoutMs = kInfiniteWaitMs;
    }
    logger.Log(3000, "WatchDogThread: finished.");
}
