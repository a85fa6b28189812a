// A mutex that may carry a name, so that a second start of a program finds the
// first one (single instance).
#pragma once

#include "classlib/core/CSyncObject.h"

#include <memory>

class CMutex : public CSyncObject {
public:
    // name: null for an unnamed mutex. On Windows a name is seen by every process of
    // the session; elsewhere by every CMutex of this process. initiallyOwn is ignored
    // when the named mutex exists already.
    explicit CMutex(BOOL initiallyOwn = FALSE, LPCSTR name = nullptr);
    ~CMutex() override;

    // Recursive for the owner.
    BOOL Lock(DWORD timeoutMs = kInfiniteWaitMs) override;
    // Only the owning thread may release.
    BOOL Unlock() override;
    // TRUE when the name was taken before this object was created: the mutex existed,
    // or it exists but this process may not open it. Such an object cannot be locked
    // in the second case.
    BOOL ExistedBefore() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
