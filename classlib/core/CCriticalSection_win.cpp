// Critical section on Windows. LeaveCriticalSection from a thread that does not own
// the section releases it (checked under Wine), which the kill path relies on.
#include "classlib/core/CCriticalSection.h"

#include <windows.h>

struct CCriticalSection::Impl {
    CRITICAL_SECTION section;
    // LeaveCriticalSection on a free section corrupts it, so the depth is counted here
    // to refuse an unlock too many. Changed with interlocked calls, since a thread that
    // does not own the section may release it.
    volatile LONG depth = 0;
};

CCriticalSection::CCriticalSection() : m_impl(std::make_unique<Impl>()) {
    InitializeCriticalSection(&m_impl->section);
}

CCriticalSection::~CCriticalSection() {
    DeleteCriticalSection(&m_impl->section);
}

BOOL CCriticalSection::Lock(DWORD timeoutMs) {
    if (timeoutMs == kInfiniteWaitMs) {
        EnterCriticalSection(&m_impl->section);
        InterlockedIncrement(&m_impl->depth);
        return TRUE;
    }
    // Critical sections have no timed wait: poll until the deadline.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!TryLock()) {
        if (GetTickCount64() >= deadline) {
            return FALSE;
        }
        Sleep(1);
    }
    return TRUE;
}

BOOL CCriticalSection::TryLock() {
    if (!TryEnterCriticalSection(&m_impl->section)) {
        return FALSE;
    }
    InterlockedIncrement(&m_impl->depth);
    return TRUE;
}

BOOL CCriticalSection::Unlock() {
    if (InterlockedCompareExchange(&m_impl->depth, 0, 0) == 0) {
        return FALSE;
    }
    InterlockedDecrement(&m_impl->depth);
    LeaveCriticalSection(&m_impl->section);
    return TRUE;
}
