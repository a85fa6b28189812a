// Clock and delay seam of the link: the worker, the frame exchange and the replay
// port take their time and their sleeps from here, so tests run on a fake clock.
#pragma once

#include "classlib/core/WinTypes.h"

// Broken-down local time with milliseconds, as trace and log lines print it.
struct LocalTimeStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    // Monotonic milliseconds; only differences are meaningful.
    virtual DWORD NowMs() = 0;
    virtual void SleepMs(DWORD milliseconds) = 0;
    virtual LocalTimeStamp LocalTime() = 0;
};
