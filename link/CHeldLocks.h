// The lock holders the communicator's worker has taken and not yet released, so
// that killing the worker can release them. Shared by the worker and the thread
// that kills it.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CSingleLock.h"

#include <cstddef>
#include <vector>

class CHeldLocks {
public:
    // Room for the locks of all setting elements and the queue lock, so that the
    // worker does not allocate while it holds locks (a kill may land at any point).
    static constexpr std::size_t kReservedHolders = 160;
    // How long the killing thread waits for the list's own guard: only a worker that
    // was terminated inside Add or Remove keeps it longer, and it will never come back.
    static constexpr DWORD kGuardWaitMs = 1000;

    CHeldLocks();
    CHeldLocks(const CHeldLocks&) = delete;
    CHeldLocks& operator=(const CHeldLocks&) = delete;

    void Add(CSingleLock* holder);
    // Takes the holder out of the list; false when it was not listed (already released).
    bool Remove(CSingleLock* holder);
    // Releases every listed holder and empties the list.
    void ReleaseAll();
    bool IsEmpty() const;

private:
    mutable CCriticalSection m_guard;
    std::vector<CSingleLock*> m_holders;  // guarded by m_guard; not owned
};
