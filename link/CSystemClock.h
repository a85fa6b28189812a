// The real clock: steady milliseconds, thread sleeps and the local wall time.
#pragma once

#include "link/IClock.h"

class CSystemClock : public IClock {
public:
    DWORD NowMs() override;
    void SleepMs(DWORD milliseconds) override;
    CLocalTime LocalTime() override;

    // One shared instance for the link's objects that are not given a clock.
    static CSystemClock& Instance();
};
