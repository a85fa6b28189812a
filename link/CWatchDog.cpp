// The watchdog thread and its wait.
#include "link/CWatchDog.h"

#include "classlib/core/CWinThread.h"
#include "link/CLogger.h"

namespace {

// Indexes of CEvent::WaitAny's list; stop is listed first so that it wins.
constexpr int kStopSignalled = 0;
constexpr int kHeartbeatSignalled = 1;

}  // namespace

CWatchDog::CWatchDog(DWORD timeoutMs) : m_timeoutMs(timeoutMs) {}

CWatchDog::~CWatchDog() {
    if (m_thread) {
        StopThread();
    }
}

void CWatchDog::StartThread(CCommunicator* communicator) {
    m_communicator = communicator;
    if (m_thread) {
        return;
    }
    m_heartbeat.ResetEvent();
    m_stop.ResetEvent();
    CWinThread* thread = AfxBeginThread(ThreadEntry, this, kThreadPriorityNormal, 0, kCreateSuspended);
    if (thread == nullptr) {
        CLogger::Instance().Log(0, "CWatchDog::StartThread(): the thread could not be created.");
        return;
    }
    thread->m_bAutoDelete = FALSE;
    m_thread.reset(thread);
    m_thread->ResumeThread();
}

void CWatchDog::StopThread() {
    CLogger::Instance().Log(3000, "WatchDogThread: StopThread().");
    m_stop.SetEvent();
    if (m_thread) {
        m_thread->Wait(kInfiniteWaitMs);
        m_thread.reset();
    }
}

void CWatchDog::Heartbeat() {
    m_heartbeat.SetEvent();
}

UINT CWatchDog::ThreadEntry(LPVOID watchDog) {
    static_cast<CWatchDog*>(watchDog)->WatchDogThread();
    return 0;
}

// Runs on the watchdog's own thread.
void CWatchDog::WatchDogThread() {
    CLogger& logger = CLogger::Instance();
    logger.Log(3000, "WatchDogThread: started.");
    DWORD timeoutMs = m_timeoutMs;
    for (;;) {
        const int signalled = CEvent::WaitAny({&m_stop, &m_heartbeat}, timeoutMs);
        if (signalled == kStopSignalled) {
            logger.Log(3000, "WatchDogThread: terminating...");
            break;
        }
        if (signalled == kHeartbeatSignalled) {
            timeoutMs = m_timeoutMs;
            continue;
        }
        if (signalled != CEvent::kWaitTimedOut) {
            continue;
        }
        logger.Log(100, "WatchDogThread: communicator thread is dead.");
        if (m_mainWindow != nullptr) {
            m_mainWindow->PostMessage(WM_COMM_DEAD, 0, 0);
        }
        timeoutMs = kInfiniteWaitMs;
    }
    logger.Log(3000, "WatchDogThread: finished.");
}
