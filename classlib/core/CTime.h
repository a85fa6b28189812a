// A calendar time in whole seconds (a time_t), shown in local time.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <ctime>

// <windows.h> maps GetCurrentTime() to GetTickCount(). Undone here for files
// that include it first; GetTickCount below serves files that include it afterwards.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class CTime {
public:
    CTime() = default;

    explicit CTime(std::time_t time) : m_time(time) {}

    // Local time; month 1 to 12.
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();

    static CTime GetTickCount() { return GetCurrentTime(); }

    std::time_t GetTime() const { return m_time; }

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 is Sunday

    // strftime conversions in local time.
    CString Format(LPCSTR format) const;

    bool operator==(const CTime& other) const { return m_time == other.m_time; }

    bool operator!=(const CTime& other) const { return m_time != other.m_time; }

    bool operator<(const CTime& other) const { return m_time < other.m_time; }

private:
    std::tm Local() const;

    std::time_t m_time = 0;
};
