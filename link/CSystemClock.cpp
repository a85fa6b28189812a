// The real clock: steady time and sleeps from the standard library, the wall time
// from CLocalTime, so that it serves both platforms.
#include "link/CSystemClock.h"

#include "classlib/core/CLocalTime.h"

#include <chrono>
#include <thread>

DWORD CSystemClock::NowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void CSystemClock::SleepMs(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

CLocalTime CSystemClock::LocalTime() {
    return CLocalTime::Now();
}

CSystemClock& CSystemClock::Instance() {
    static CSystemClock clock;
    return clock;
}
