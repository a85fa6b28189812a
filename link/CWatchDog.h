// Watches the communicator's worker: when no heartbeat comes for 5120 ms it posts
// 0x700 to the main window once, then waits for the next heartbeat to watch again.
// Its own thread does the watching; Heartbeat is called on the worker thread.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/IMessageTarget.h"

#include <condition_variable>
#include <mutex>
#include <thread>

class CCommunicator;

class CWatchDog {
public:
    static constexpr DWORD kTimeoutMs = 5120;

    // timeoutMs is the silence that counts as a dead worker; tests shorten it.
    explicit CWatchDog(DWORD timeoutMs = kTimeoutMs);
    virtual ~CWatchDog();
    CWatchDog(const CWatchDog&) = delete;
    CWatchDog& operator=(const CWatchDog&) = delete;

    void SetMainWindow(IMessageTarget* window) { m_mainWindow = window; }  // not owned

    // Stores the communicator; starts the thread unless it runs already.
    void StartThread(CCommunicator* communicator);
    // Stops the thread and waits for it.
    void StopThread();
    void Heartbeat();

private:
    enum class Wake {
        Stop,
        Heartbeat,
        Timeout
    };

    void WatchDogThread();
    Wake Wait(bool withTimeout);

    std::thread m_thread;                     // touched by the owner's thread only
    CCommunicator* m_communicator = nullptr;  // not owned
    IMessageTarget* m_mainWindow = nullptr;
    DWORD m_timeoutMs;

    // Two self-resetting events; guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_signal;
    bool m_heartbeat = false;
    bool m_stop = false;
};
