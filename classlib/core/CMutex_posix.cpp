// Mutex on POSIX: a recursive lock that only its owner releases. Names are shared
// within the process only; the single-instance guard that needs more runs on Windows.
#include "classlib/core/CMutex.h"
#include "classlib/core/CRecursiveLock.h"

#include <map>
#include <mutex>
#include <string>

namespace {

struct NamedLocks {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<CRecursiveLock>> byName;  // guarded by mutex
};

NamedLocks& Names() {
    static NamedLocks names;
    return names;
}

}  // namespace

struct CMutex::Impl {
    std::shared_ptr<CRecursiveLock> lock;
    bool existedBefore = false;
};

CMutex::CMutex(BOOL initiallyOwn, LPCSTR name) : m_impl(std::make_unique<Impl>()) {
    if (name != nullptr) {
        NamedLocks& names = Names();
        std::lock_guard<std::mutex> guard(names.mutex);
        std::weak_ptr<CRecursiveLock>& entry = names.byName[name];
        m_impl->lock = entry.lock();
        m_impl->existedBefore = m_impl->lock != nullptr;
        if (!m_impl->lock) {
            m_impl->lock = std::make_shared<CRecursiveLock>();
            entry = m_impl->lock;
        }
    } else {
        m_impl->lock = std::make_shared<CRecursiveLock>();
    }
    if (initiallyOwn && !m_impl->existedBefore) {
        m_impl->lock->Acquire(kInfiniteWaitMs);
    }
}

CMutex::~CMutex() = default;

BOOL CMutex::Lock(DWORD timeoutMs) {
    return m_impl->lock->Acquire(timeoutMs) ? TRUE : FALSE;
}

BOOL CMutex::Unlock() {
    return m_impl->lock->Release(true) ? TRUE : FALSE;
}

BOOL CMutex::ExistedBefore() const {
    return m_impl->existedBefore ? TRUE : FALSE;
}
