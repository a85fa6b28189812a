// Scoped lock holder of the communicator's worker: takes one lock and lists it in the
// worker's held locks while it holds it.
#pragma once

#include "classlib/core/CSingleLock.h"
#include "link/CHeldLocks.h"

class CHeldLock {
public:
    // Takes the lock, waiting without limit.
    CHeldLock(CSyncObject& lock, CHeldLocks& list);
    ~CHeldLock();
    CHeldLock(const CHeldLock&) = delete;
    CHeldLock& operator=(const CHeldLock&) = delete;

private:
    CSyncObject& m_lock;
    CHeldLocks& m_list;
};
