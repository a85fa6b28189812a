// Bookkeeping of the worker's lock holders.
#include "link/CHeldLocks.h"

#include <algorithm>

CHeldLocks::CHeldLocks() {
    m_locks.reserve(kReservedHolders);
}

void CHeldLocks::Add(CSyncObject* lock) {
    CSingleLock guard(&m_guard, TRUE);
    m_locks.push_back(lock);
}

bool CHeldLocks::Remove(CSyncObject* lock) {
    CSingleLock guard(&m_guard, TRUE);
    const auto it = std::find(m_locks.rbegin(), m_locks.rend(), lock);
    if (it == m_locks.rend()) {
        return false;
    }
    m_locks.erase(std::next(it).base());
    return true;
}

void CHeldLocks::ReleaseAll() {
    CSingleLock guard(&m_guard);
    // A worker terminated while it held the guard cannot release it; going on without
    // it is safe then, as nobody else touches the list any more.
    guard.Lock(kGuardWaitMs);
    for (CSyncObject* lock : m_locks) {
        lock->Unlock();
    }
    m_locks.clear();
}

bool CHeldLocks::IsEmpty() const {
    CSingleLock guard(&m_guard, TRUE);
    return m_locks.empty();
}
