// The list of locks the communicator's worker holds at the moment, so that killing
// the worker can release them. Shared by the worker and the thread that kills it.
#pragma once

#include "link/CRecoverableLock.h"

#include <mutex>
#include <vector>

class CHeldLocks {
public:
    void Add(CRecoverableLock* lock);
    // Removes one entry of the lock; false when it was not listed (already released).
    bool Remove(CRecoverableLock* lock);
    // Releases every listed lock once per entry and empties the list.
    void ReleaseAll();
    bool IsEmpty() const;

private:
    mutable std::mutex m_mutex;
    std::vector<CRecoverableLock*> m_locks;  // guarded by m_mutex; not owned
};
