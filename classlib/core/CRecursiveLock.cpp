// POSIX backend of the critical section and the mutex (also compiled on Windows,
// where nothing uses it, so that it stays in step with the portable build).
#include "classlib/core/CRecursiveLock.h"

#include <chrono>

bool CRecursiveLock::Acquire(DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(m_mutex);
    const std::thread::id self = std::this_thread::get_id();
    if (m_depth > 0 && m_owner == self) {
        ++m_depth;
        return true;
    }
    const auto isFree = [this] { return m_depth == 0; };
    if (timeoutMs == kInfiniteWaitMs) {
        m_released.wait(guard, isFree);
    } else if (!m_released.wait_for(guard, std::chrono::milliseconds(timeoutMs), isFree)) {
        return false;
    }
    m_owner = self;
    m_depth = 1;
    return true;
}

bool CRecursiveLock::Release(bool ownerOnly) {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_depth == 0) {
        return false;
    }
    if (ownerOnly && m_owner != std::this_thread::get_id()) {
        return false;
    }
    if (--m_depth == 0) {
        m_owner = std::thread::id();
        m_released.notify_one();
    }
    return true;
}
