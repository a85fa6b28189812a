// A lock holder: takes one synchronisation object and releases it when destroyed.
// The holder may be released from another thread than the one that took it (the
// communicator lists its holders so that the UI thread can release a dead worker's).
#pragma once

#include "classlib/core/CSyncObject.h"

class CSingleLock {
public:
    // object: not owned, must outlive the holder. With initialLock the object is taken
    // at once, without a time-out.
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    // TRUE when the object is held after the call (also when it was held already).
    BOOL Lock(DWORD timeoutMs = kInfiniteWaitMs);
    // Releases the object if this holder holds it; TRUE when nothing is left held.
    BOOL Unlock();

    BOOL IsLocked() const { return m_locked; }

private:
    CSyncObject* m_object;  // not owned
    BOOL m_locked = FALSE;
};
