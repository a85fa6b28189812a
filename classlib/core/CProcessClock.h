// Milliseconds of wall time since the program started, for time stamps of
// samples and minimum display times. Steady: never jumps with the calendar clock.
#pragma once

#include "classlib/core/WinTypes.h"

class CProcessClock {
public:
    static LONG ElapsedMs();
};
