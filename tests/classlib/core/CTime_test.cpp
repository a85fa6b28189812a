#include "classlib/core/CTime.h"

#include "classlib/core/CLocalTime.h"
#include "classlib/core/CProcessClock.h"

#include <gtest/gtest.h>

TEST(CTime, BuildsAndFormatsALocalTime) {
    const CTime time(2009, 3, 17, 14, 5, 9);
    EXPECT_EQ(2009, time.GetYear());
    EXPECT_EQ(3, time.GetMonth());
    EXPECT_EQ(17, time.GetDay());
    EXPECT_EQ(14, time.GetHour());
    EXPECT_EQ(5, time.GetMinute());
    EXPECT_EQ(9, time.GetSecond());
    EXPECT_EQ(3, time.GetDayOfWeek());  // a Tuesday
    EXPECT_STREQ("2009-03-17 14:05:09", time.Format("%Y-%m-%d %H:%M:%S"));
    EXPECT_TRUE(CTime(time.GetTime() + 1) != time);
}

TEST(CLocalTime, AgreesWithTheCalendarClock) {
    const CTime before = CTime::GetCurrentTime();
    const CLocalTime now = CLocalTime::Now();
    const CTime after = CTime::GetCurrentTime();
    EXPECT_LT(now.wMilliseconds, 1000);
    EXPECT_GE(now.wMonth, 1);
    EXPECT_LE(now.wMonth, 12);
    const CTime stamped(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    EXPECT_LE(before.GetTime(), stamped.GetTime());
    EXPECT_GE(after.GetTime(), stamped.GetTime());
}

TEST(CProcessClock, NeverRunsBackwards) {
    const LONG first = CProcessClock::ElapsedMs();
    const LONG second = CProcessClock::ElapsedMs();
    EXPECT_GE(first, 0);
    EXPECT_LE(first, second);
}
