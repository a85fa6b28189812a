// The link's clock for the benchmark: real time and real sleeps, each sleep recorded
// with the time it really took, so that the specified delays can be told apart from
// the rest of a measured run.
#pragma once

#include "bench/link/TimeSpan.h"
#include "link/IClock.h"

#include <map>
#include <vector>

class CTimedClock : public IClock {
public:
    DWORD NowMs() override;
    void SleepMs(DWORD milliseconds) override;
    CLocalTime LocalTime() override;

    const std::vector<TimeSpan>& Sleeps() const { return m_sleeps; }

    // How many sleeps of each asked length were taken.
    const std::map<DWORD, int>& SleepCounts() const { return m_counts; }

private:
    std::vector<TimeSpan> m_sleeps;
    std::map<DWORD, int> m_counts;
};
