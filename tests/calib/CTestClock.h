// A clock that moves only when the test advances it.
#pragma once

#include "link/IClock.h"

class CTestClock : public IClock {
public:
    DWORD NowMs() override { return m_now; }

    void SleepMs(DWORD milliseconds) override { m_now += milliseconds; }

    CLocalTime LocalTime() override { return CLocalTime(); }

    void Advance(DWORD milliseconds) { m_now += milliseconds; }

    void Set(DWORD now) { m_now = now; }

private:
    DWORD m_now = 5000;
};
