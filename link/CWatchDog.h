// Watches the communicator's worker: when no heartbeat comes for 5120 ms it posts
// 0x700 to the main window once, then waits for the next heartbeat to watch again.
// Its own thread does the watching; Heartbeat is called on the worker thread.
#pragma once

#include "classlib/core/CEvent.h"
#include "classlib/core/WinTypes.h"
#include "link/IMessageTarget.h"

#include <memory>
#include <mutex>

class CCommunicator;
class CWinThread;

class CWatchDog {
public:
    static constexpr DWORD kTimeoutMs = 5120;
    static constexpr DWORD kStopWaitMs = 5120;

    // timeoutMs is the silence that counts as a dead worker, stopWaitMs how long a stop
    // waits for the thread; tests shorten both.
    explicit CWatchDog(DWORD timeoutMs = kTimeoutMs, DWORD stopWaitMs = kStopWaitMs);
    virtual ~CWatchDog();
    CWatchDog(const CWatchDog&) = delete;
    CWatchDog& operator=(const CWatchDog&) = delete;

    void SetMainWindow(IMessageTarget* window);  // not owned

    // Stores the communicator; starts the thread unless one runs already.
    void StartThread(CCommunicator* communicator);
    // Stops the thread and waits a while for it. A thread that does not end in time is
    // told to post no more (as soon as it is not posting) and keeps what it uses, also
    // past the watchdog's end.
    void StopThread();
    void Heartbeat();

private:
    // What the thread uses, shared between the watchdog and its thread.
    struct Shared {
        CEvent heartbeat;  // resets itself when it releases a wait
        CEvent stop;       // resets itself when it releases a wait
        std::timed_mutex windowLock;
        IMessageTarget* window = nullptr;  // guarded by windowLock; null once given up on
        DWORD timeoutMs = kTimeoutMs;
    };

    static UINT ThreadEntry(LPVOID share);
    static void WatchDogThread(Shared& shared);
    void SetThreadWindow(IMessageTarget* window);

    std::unique_ptr<CWinThread> m_thread;     // touched by the owner's thread only
    CCommunicator* m_communicator = nullptr;  // not owned
    IMessageTarget* m_window = nullptr;       // not owned
    const std::shared_ptr<Shared> m_shared;
    DWORD m_stopWaitMs;
};
