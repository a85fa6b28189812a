// Base of the objects a lock holder can take: critical sections, events and mutexes.
#pragma once

#include "classlib/core/WinTypes.h"

// Time-out that never expires.
constexpr DWORD kInfiniteWaitMs = 0xFFFFFFFF;

class CSyncObject {
public:
    CSyncObject() = default;
    virtual ~CSyncObject() = default;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    // TRUE when the object was taken within timeoutMs.
    virtual BOOL Lock(DWORD timeoutMs = kInfiniteWaitMs) = 0;
    virtual BOOL Unlock() = 0;
};
