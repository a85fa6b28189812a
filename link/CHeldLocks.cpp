// Bookkeeping of the worker's locks.
#include "link/CHeldLocks.h"

#include <algorithm>

void CHeldLocks::Add(CRecoverableLock* lock) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_locks.push_back(lock);
}

bool CHeldLocks::Remove(CRecoverableLock* lock) {
    std::lock_guard<std::mutex> guard(m_mutex);
    const auto it = std::find(m_locks.rbegin(), m_locks.rend(), lock);
    if (it == m_locks.rend()) {
        return false;
    }
    m_locks.erase(std::next(it).base());
    return true;
}

void CHeldLocks::ReleaseAll() {
    std::lock_guard<std::mutex> guard(m_mutex);
    for (CRecoverableLock* lock : m_locks) {
        lock->Unlock();
    }
    m_locks.clear();
}

bool CHeldLocks::IsEmpty() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_locks.empty();
}
