// The watchdog thread and its wait.
#include "link/CWatchDog.h"

#include "link/CLogger.h"

#include <chrono>

CWatchDog::CWatchDog(DWORD timeoutMs) : m_timeoutMs(timeoutMs) {}

CWatchDog::~CWatchDog() {
    if (m_thread.joinable()) {
        StopThread();
    }
}

void CWatchDog::StartThread(CCommunicator* communicator) {
    m_communicator = communicator;
    if (m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_heartbeat = false;
        m_stop = false;
    }
    m_thread = std::thread([this] { WatchDogThread(); });
}

void CWatchDog::StopThread() {
    CLogger::Instance().Log(3000, "WatchDogThread: StopThread().");
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stop = true;
    }
    m_signal.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CWatchDog::Heartbeat() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_heartbeat = true;
    }
    m_signal.notify_all();
}

// Waits for stop or heartbeat (stop wins when both are set) and resets the one taken.
CWatchDog::Wake CWatchDog::Wait(bool withTimeout) {
    std::unique_lock<std::mutex> guard(m_mutex);
    const auto signalled = [&] { return m_stop || m_heartbeat; };
    if (withTimeout) {
        if (!m_signal.wait_for(guard, std::chrono::milliseconds(m_timeoutMs), signalled)) {
            return Wake::Timeout;
        }
    } else {
        m_signal.wait(guard, signalled);
    }
    if (m_stop) {
        m_stop = false;
        return Wake::Stop;
    }
    m_heartbeat = false;
    return Wake::Heartbeat;
}

// Runs on the watchdog's own thread.
void CWatchDog::WatchDogThread() {
    CLogger& logger = CLogger::Instance();
    logger.Log(3000, "WatchDogThread: started.");
    bool watching = true;
    for (;;) {
        const Wake wake = Wait(watching);
        if (wake == Wake::Stop) {
            logger.Log(3000, "WatchDogThread: terminating...");
            break;
        }
        if (wake == Wake::Heartbeat) {
            watching = true;
            continue;
        }
        logger.Log(100, "WatchDogThread: communicator thread is dead.");
        if (m_mainWindow != nullptr) {
            m_mainWindow->PostMessage(WM_COMM_DEAD, 0, 0);
        }
        watching = false;
    }
    logger.Log(3000, "WatchDogThread: finished.");
}
