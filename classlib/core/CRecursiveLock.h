// A recursive lock with an owner field, the POSIX backend of the critical section
// and the mutex. Unlike std::recursive_mutex it can be released by a thread that
// does not own it, which the communicator's kill path needs: after a worker died
// holding locks, the UI thread releases them so that a third thread can take them.
#pragma once

#include "classlib/core/CSyncObject.h"

#include <condition_variable>
#include <mutex>
#include <thread>

class CRecursiveLock {
public:
    CRecursiveLock() = default;
    CRecursiveLock(const CRecursiveLock&) = delete;
    CRecursiveLock& operator=(const CRecursiveLock&) = delete;

    // Takes the lock (again, when the caller already owns it); waits at most timeoutMs
    // (kInfiniteWaitMs: without a time-out). TRUE when taken.
    bool Acquire(DWORD timeoutMs);
    // Drops one level of ownership. With ownerOnly, a caller that is not the owner is
    // refused; otherwise anyone may release. FALSE when the lock was not held (or refused).
    bool Release(bool ownerOnly);

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    std::thread::id m_owner;  // guarded by m_mutex; empty while free
    unsigned m_depth = 0;     // guarded by m_mutex; 0 while free
};
