// The real clock, built on the standard library so that it serves both platforms.
#include "link/CSystemClock.h"

#include <chrono>
#include <ctime>
#include <thread>

DWORD CSystemClock::NowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void CSystemClock::SleepMs(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

LocalTimeStamp CSystemClock::LocalTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &seconds);
#else
    localtime_r(&seconds, &parts);
#endif
    LocalTimeStamp stamp;
    stamp.year = parts.tm_year + 1900;
    stamp.month = parts.tm_mon + 1;
    stamp.day = parts.tm_mday;
    stamp.hour = parts.tm_hour;
    stamp.minute = parts.tm_min;
    stamp.second = parts.tm_sec;
    stamp.millisecond = static_cast<int>(ms.count());
    return stamp;
}

CSystemClock& CSystemClock::Instance() {
    static CSystemClock clock;
    return clock;
}
