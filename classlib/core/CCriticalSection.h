// A lock for the threads of one process. It may be released by a thread other than
// the one that took it: after the communicator's worker is terminated, the UI thread
// releases every lock the dead worker held.
#pragma once

#include "classlib/core/CSyncObject.h"

#include <memory>

class CCriticalSection : public CSyncObject {
public:
    CCriticalSection();
    ~CCriticalSection() override;

    // Recursive for the owning thread. A time-out other than kInfiniteWaitMs is honoured.
    BOOL Lock(DWORD timeoutMs = kInfiniteWaitMs) override;
    // Takes the lock only when it is free (or already the caller's).
    BOOL TryLock();
    // Releases one level; works from any thread. FALSE when the lock was not held.
    BOOL Unlock() override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
