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

    CLocalTime LocalTime() override {
        CLocalTime t;
        t.wYear = 2024;
        t.wMonth = 5;
        t.wDay = 6;
        t.wHour = 7;
        t.wMinute = 8;
        t.wSecond = 9;
        t.wMilliseconds = 10;
        return t;
    }

    DWORD TotalSleptMs() const { return m_slept; }

private:
    std::atomic<DWORD> m_now{1000};
    std::atomic<DWORD> m_slept{0};
};
