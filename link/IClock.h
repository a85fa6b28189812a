// Clock and delay seam of the link: the worker, the frame exchange and the replay
// port take their time and their sleeps from here, so tests run on a fake clock.
#pragma once

#include "classlib/core/CLocalTime.h"
#include "classlib/core/WinTypes.h"

class IClock {
public:
    virtual ~IClock() = default;
    // Monotonic milliseconds; only differences are meaningful.
    virtual DWORD NowMs() = 0;
    virtual void SleepMs(DWORD milliseconds) = 0;
    virtual CLocalTime LocalTime() = 0;
};
