// Events: auto and manual reset, waits with time-outs, and the wait for any of
// several events that the watchdog relies on (stop listed first).
#include "classlib/core/CEvent.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

long long ElapsedMs(Clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

// Polls until the condition holds or the deadline passes.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = 5000) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace

TEST(CEvent, ResetsAutomaticallyOrByHandAsCreated) {
    struct Row {
        const char* name;
        BOOL manualReset;
        BOOL initiallySet;
        BOOL setBeforeWaits;
        BOOL firstWait;
        BOOL secondWait;
    };

    const Row rows[] = {
        {"auto, clear", FALSE, FALSE, FALSE, FALSE, FALSE},
        {"auto, set once", FALSE, FALSE, TRUE, TRUE, FALSE},
        {"auto, initially set", FALSE, TRUE, FALSE, TRUE, FALSE},
        {"manual, clear", TRUE, FALSE, FALSE, FALSE, FALSE},
        {"manual, set once", TRUE, FALSE, TRUE, TRUE, TRUE},
        {"manual, initially set", TRUE, TRUE, FALSE, TRUE, TRUE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CEvent event(row.initiallySet, row.manualReset);
        if (row.setBeforeWaits) {
            ASSERT_TRUE(event.SetEvent());
        }
        EXPECT_EQ(row.firstWait, event.Lock(0));
        EXPECT_EQ(row.secondWait, event.Lock(0));
        ASSERT_TRUE(event.ResetEvent());
        EXPECT_FALSE(event.Lock(0));
    }
}

TEST(CEvent, WaitTimesOutAfterItsTimeOut) {
    CEvent event;
    const auto start = Clock::now();
    EXPECT_FALSE(event.Lock(60));
    // Windows timers tick in steps of about 15 ms.
    EXPECT_GE(ElapsedMs(start), 40);
}

TEST(CEvent, WaitAnyPicksTheFirstListedOfSeveralSetEvents) {
    CEvent stop;
    CEvent heartbeat;
    ASSERT_TRUE(heartbeat.SetEvent());
    ASSERT_TRUE(stop.SetEvent());
    EXPECT_EQ(0, CEvent::WaitAny({&stop, &heartbeat}, 0));
    // The stop was consumed by that wait; the heartbeat is still pending.
    EXPECT_EQ(1, CEvent::WaitAny({&stop, &heartbeat}, 0));
    EXPECT_EQ(CEvent::kWaitTimedOut, CEvent::WaitAny({&stop, &heartbeat}, 0));
}

TEST(CEvent, WaitAnyTimesOutWhenNothingIsSet) {
    CEvent stop;
    CEvent heartbeat;
    const auto start = Clock::now();
    EXPECT_EQ(CEvent::kWaitTimedOut, CEvent::WaitAny({&stop, &heartbeat}, 60));
    EXPECT_GE(ElapsedMs(start), 40);
}

TEST(CEvent, WaitAnyWakesWhenAnotherThreadSetsAnEvent) {
    CEvent stop;
    CEvent heartbeat;
    std::thread beater([&heartbeat] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        heartbeat.SetEvent();
    });
    EXPECT_EQ(1, CEvent::WaitAny({&stop, &heartbeat}, kInfiniteWaitMs));
    beater.join();
}

TEST(CEvent, WaitAnyRefusesAnEmptyListOrANullEvent) {
    CEvent event(TRUE);
    EXPECT_EQ(CEvent::kWaitFailed, CEvent::WaitAny({}, 0));
    EXPECT_EQ(CEvent::kWaitFailed, CEvent::WaitAny({&event, nullptr}, 0));
    // A refused wait consumes nothing.
    EXPECT_TRUE(event.Lock(0));
}

TEST(CEvent, AutoResetReleasesOneWaiterPerSetAndManualResetReleasesAll) {
    struct Row {
        const char* name;
        BOOL manualReset;
        int releasedBySecondSet;
    };

    const Row rows[] = {{"auto", FALSE, 1}, {"manual", TRUE, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CEvent event(FALSE, row.manualReset);
        std::atomic<int> released{0};
        std::vector<std::thread> waiters;
        for (int i = 0; i < 2; ++i) {
            waiters.emplace_back([&event, &released] {
                if (event.Lock(10000)) {
                    ++released;
                }
            });
        }
        // Let both waiters block before the event is set.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(event.SetEvent());
        const int expectedFirst = 2 - row.releasedBySecondSet;
        EXPECT_TRUE(WaitUntil([&] { return released == expectedFirst; }));
        // Give a wrongly released second waiter the time to show up.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(expectedFirst, released.load());
        ASSERT_TRUE(event.SetEvent());
        for (std::thread& waiter : waiters) {
            waiter.join();
        }
        EXPECT_EQ(2, released.load());
    }
}
