// Scoped holder of one lock that lists itself in the worker's held locks while it
// holds it. Runs on the communicator's worker thread.
#pragma once

#include "link/CHeldLocks.h"
#include "link/CRecoverableLock.h"

class CHeldLock {
public:
    // Takes the lock, waiting without limit.
    CHeldLock(CRecoverableLock& lock, CHeldLocks& list);
    ~CHeldLock();
    CHeldLock(const CHeldLock&) = delete;
    CHeldLock& operator=(const CHeldLock&) = delete;

private:
    CRecoverableLock& m_lock;
    CHeldLocks& m_list;
};
