// The local wall-clock time with milliseconds, as log lines and file names
// stamp it. The system part is CLocalTime_win.cpp or CLocalTime_posix.cpp.
#pragma once

#include "classlib/core/WinTypes.h"

struct CLocalTime {
    WORD wYear = 0;
    WORD wMonth = 0;      // 1 to 12
    WORD wDayOfWeek = 0;  // 0 is Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;

    static CLocalTime Now();
};
