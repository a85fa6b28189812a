// A re-entrant lock that a thread other than its owner may release. The communicator
// needs that to recover the locks a killed worker held; a critical section or a
// standard mutex does not allow it.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

class CRecoverableLock {
public:
    CRecoverableLock() = default;
    CRecoverableLock(const CRecoverableLock&) = delete;
    CRecoverableLock& operator=(const CRecoverableLock&) = delete;

    // Waits without limit; re-entrant for the owning thread.
    void Lock();
    // Releases one level of locking, whichever thread calls.
    void Unlock();
    bool IsLocked() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::thread::id m_owner;
    int m_depth = 0;  // guarded by m_mutex
};
