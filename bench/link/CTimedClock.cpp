#include "bench/link/CTimedClock.h"

#include "link/CSystemClock.h"

#include <chrono>
#include <thread>

DWORD CTimedClock::NowMs() {
    return static_cast<DWORD>(SteadyMs());
}

void CTimedClock::SleepMs(DWORD milliseconds) {
    const double begin = SteadyMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    m_sleeps.push_back({begin, SteadyMs()});
    ++m_counts[milliseconds];
}

CLocalTime CTimedClock::LocalTime() {
    return CSystemClock::Instance().LocalTime();
}
