// A clock for tests: time moves only when someone sleeps, so time-outs are exact.
#pragma once

#include "link/IClock.h"

#include <atomic>

class CFakeClock : public IClock {
public:
    DWORD NowMs() override { return m_now; }

    void SleepMs(DWORD milliseconds) override {
        m_now += milliseconds;
        m_slept += milliseconds;
    }

    LocalTimeStamp LocalTime() override {
        LocalTimeStamp t;
        t.year = 2024;
        t.month = 5;
        t.day = 6;
        t.hour = 7;
        t.minute = 8;
        t.second = 9;
        t.millisecond = 10;
        return t;
    }

    DWORD TotalSleptMs() const { return m_slept; }

private:
    std::atomic<DWORD> m_now{1000};
    std::atomic<DWORD> m_slept{0};
};
