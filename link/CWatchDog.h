// Watches the communicator's worker: when no heartbeat comes for 5120 ms it posts
// 0x700 to the main window once, then waits for the next heartbeat to watch again.
// Its own thread does the watching; Heartbeat is called on the worker thread.
#pragma once

#include "classlib/core/CEvent.h"
#include "classlib/core/WinTypes.h"
#include "link/IMessageTarget.h"

#include <memory>

class CCommunicator;
class CWinThread;

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
    static UINT ThreadEntry(LPVOID watchDog);
    void WatchDogThread();

    std::unique_ptr<CWinThread> m_thread;     // touched by the owner's thread only
    CCommunicator* m_communicator = nullptr;  // not owned
    CEvent m_heartbeat;                       // resets itself when it releases a wait
    CEvent m_stop;                            // resets itself when it releases a wait
    IMessageTarget* m_mainWindow = nullptr;
    DWORD m_timeoutMs;
};
