// Lock holder of the communicator's worker.
#include "link/CHeldLock.h"

CHeldLock::CHeldLock(CSyncObject& lock, CHeldLocks& list) : m_holder(&lock), m_list(list) {
    m_holder.Lock();
    m_list.Add(&m_holder);
}

CHeldLock::~CHeldLock() {
    // A holder that is no longer listed was released already by whoever killed the
    // worker; otherwise the holder's own destructor releases the lock.
    m_list.Remove(&m_holder);
}
