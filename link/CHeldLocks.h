// The locks the communicator's worker has taken and not yet released, so that killing
// the worker can release them. Shared by the worker and the thread that kills it. The
// list names the locks themselves, never their holders: a holder may live on the
// worker's stack, which is gone once the worker was terminated.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CSingleLock.h"

#include <cstddef>
#include <vector>

class CHeldLocks {
public:
    // Room for the locks of all setting elements, the queue lock and the lock around the
    // data handler's calls, so that the worker does not allocate while it holds locks
    // (a kill may land at any point).
    static constexpr std::size_t kReservedHolders = 160;
    // How long the killing thread waits for the list's own guard: only a worker that
    // was terminated inside Add or Remove keeps it longer, and it will never come back.
    static constexpr DWORD kGuardWaitMs = 1000;

    CHeldLocks();
    CHeldLocks(const CHeldLocks&) = delete;
    CHeldLocks& operator=(const CHeldLocks&) = delete;

    void Add(CSyncObject* lock);
    // Takes the lock out of the list; false when it was not listed (already released).
    bool Remove(CSyncObject* lock);
    // Releases every listed lock and empties the list.
    void ReleaseAll();
    bool IsEmpty() const;

private:
    mutable CCriticalSection m_guard;
    std::vector<CSyncObject*> m_locks;  // guarded by m_guard; not owned
};
