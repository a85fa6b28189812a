// Critical section on POSIX: a recursive lock that any thread may release.
#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CRecursiveLock.h"

struct CCriticalSection::Impl {
    CRecursiveLock lock;
};

CCriticalSection::CCriticalSection() : m_impl(std::make_unique<Impl>()) {}

CCriticalSection::~CCriticalSection() = default;

BOOL CCriticalSection::Lock(DWORD timeoutMs) {
    return m_impl->lock.Acquire(timeoutMs) ? TRUE : FALSE;
}

BOOL CCriticalSection::TryLock() {
    return m_impl->lock.Acquire(0) ? TRUE : FALSE;
}

BOOL CCriticalSection::Unlock() {
    return m_impl->lock.Release(false) ? TRUE : FALSE;
}
