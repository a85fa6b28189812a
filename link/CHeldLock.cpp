// Lock holder of the communicator's worker.
#include "link/CHeldLock.h"

CHeldLock::CHeldLock(CSyncObject& lock, CHeldLocks& list) : m_lock(lock), m_list(list) {
    m_lock.Lock();
    m_list.Add(&m_lock);
}

CHeldLock::~CHeldLock() {
    // A lock that is no longer listed was released already by whoever killed the worker.
    if (m_list.Remove(&m_lock)) {
        m_lock.Unlock();
    }
}
