// Bookkeeping of the worker's lock holders.
#include "link/CHeldLocks.h"

#include <algorithm>

CHeldLocks::CHeldLocks() {
    m_holders.reserve(kReservedHolders);
}

void CHeldLocks::Add(CSingleLock* holder) {
    CSingleLock guard(&m_guard, TRUE);
    m_holders.push_back(holder);
}

bool CHeldLocks::Remove(CSingleLock* holder) {
    CSingleLock guard(&m_guard, TRUE);
    const auto it = std::find(m_holders.rbegin(), m_holders.rend(), holder);
    if (it == m_holders.rend()) {
        return false;
    }
    m_holders.erase(std::next(it).base());
    return true;
}

void CHeldLocks::ReleaseAll() {
    CSingleLock guard(&m_guard);
    // A worker terminated while it held the guard cannot release it; going on without
    // it is safe then, as nobody else touches the list any more.
    guard.Lock(kGuardWaitMs);
    for (CSingleLock* holder : m_holders) {
        holder->Unlock();
    }
    m_holders.clear();
}

bool CHeldLocks::IsEmpty() const {
    CSingleLock guard(&m_guard, TRUE);
    return m_holders.empty();
}
