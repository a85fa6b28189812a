#include "classlib/core/CLocalTime.h"

#include <windows.h>

CLocalTime CLocalTime::Now() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    CLocalTime time;
    time.wYear = local.wYear;
    time.wMonth = local.wMonth;
    time.wDayOfWeek = local.wDayOfWeek;
    time.wDay = local.wDay;
    time.wHour = local.wHour;
    time.wMinute = local.wMinute;
    time.wSecond = local.wSecond;
    time.wMilliseconds = local.wMilliseconds;
    return time;
}
