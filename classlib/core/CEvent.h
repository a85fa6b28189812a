// An event that threads wait for: reset by hand, or reset by itself when it releases
// one wait (auto-reset).
#pragma once

#include "classlib/core/CSyncObject.h"

#include <initializer_list>
#include <memory>

class CEvent : public CSyncObject {
public:
    // Results of WaitAny besides the index of the event that was set.
    static constexpr int kWaitTimedOut = -1;
    static constexpr int kWaitFailed = -2;

    explicit CEvent(BOOL initiallySet = FALSE, BOOL manualReset = FALSE);
    ~CEvent() override;

    BOOL SetEvent();
    BOOL ResetEvent();
    // Waits until the event is set; an auto-reset event is cleared by the wait it releases.
    BOOL Lock(DWORD timeoutMs = kInfiniteWaitMs) override;

    // An event has nothing to release.
    BOOL Unlock() override { return TRUE; }

    // Waits until one of the events is set and returns its index in the list. When
    // several are set, the first listed wins, so list a stop event first. Returns
    // kWaitTimedOut, or kWaitFailed for an empty list, a null entry or more than 64 events.
    static int WaitAny(std::initializer_list<CEvent*> events, DWORD timeoutMs);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
