// Lock with an owner and a depth, released by any thread.
#include "link/CRecoverableLock.h"

void CRecoverableLock::Lock() {
    std::unique_lock<std::mutex> guard(m_mutex);
    const std::thread::id self = std::this_thread::get_id();
    m_released.wait(guard, [&] { return m_depth == 0 || m_owner == self; });
    m_owner = self;
    ++m_depth;
}

void CRecoverableLock::Unlock() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_depth == 0) {
        return;
    }
    --m_depth;
    if (m_depth == 0) {
        m_owner = std::thread::id();
        m_released.notify_all();
    }
}

bool CRecoverableLock::IsLocked() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_depth > 0;
}
