// The watchdog with a shortened silence: one 0x700 per silence, none while beats
// come, a prompt stop, and a bounded one when its thread does not end.
#include "link/CWatchDog.h"
#include "tests/link/CCountingWindow.h"
#include "tests/link/CWaitableCount.h"

#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace {

// Holds the watchdog's thread inside its post until released, as a stalled log or
// window would.
class CStallingWindow : public IMessageTarget {
public:
    void PostMessage(UINT, UINT_PTR, LONG_PTR) override { m_posts.AddAndHold(); }

    bool WaitForPost() { return m_posts.WaitFor(1); }

    void Release() { m_posts.Release(); }

    int Posts() { return m_posts.Value(); }

private:
    CWaitableCount m_posts;
};

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

constexpr DWORD kShortTimeoutMs = 100;

// Beats for several timeouts. A run in which this thread itself was held for a timeout
// between two beats (a loaded machine) proves nothing about the watchdog: it reports
// false then, and the caller runs it again.
bool BeatSteadily(CWatchDog& dog) {
    using Clock = std::chrono::steady_clock;
    const auto timeout = std::chrono::milliseconds(kShortTimeoutMs);
    const auto start = Clock::now();
    auto last = start;
    bool steady = true;
    while (last - start < timeout * 6) {
        SleepMs(5);
        dog.Heartbeat();
        const auto now = Clock::now();
        steady = steady && now - last < timeout;
        last = now;
    }
    return steady;
}

}  // namespace

TEST(CWatchDog, StaysQuietWhileHeartbeatsCome) {
    for (int run = 0; run < 10; ++run) {
        CCountingWindow window;
        CWatchDog dog(kShortTimeoutMs);
        dog.SetMainWindow(&window);
        dog.StartThread(nullptr);
        const bool steady = BeatSteadily(dog);
        dog.StopThread();
        if (steady) {
            EXPECT_EQ(0, window.DeadMessages());
            return;
        }
    }
    GTEST_SKIP() << "the machine never let the test beat steadily";
}

// After the first message a silence of several timeouts brings no second one; a beat
// re-arms the watchdog for the next silence.
TEST(CWatchDog, PostsOnceForEachSilenceAndIsReArmedByTheNextBeat) {
    CCountingWindow window;
    CWatchDog dog(kShortTimeoutMs);
    dog.SetMainWindow(&window);
    dog.StartThread(nullptr);
    ASSERT_TRUE(window.WaitForDeadMessages(1));
    SleepMs(kShortTimeoutMs * 3);
    EXPECT_EQ(1, window.DeadMessages());
    dog.Heartbeat();
    EXPECT_TRUE(window.WaitForDeadMessages(2));
    SleepMs(kShortTimeoutMs * 3);
    EXPECT_EQ(2, window.DeadMessages());
    dog.StopThread();
}

TEST(CWatchDog, StopsAtOnceDuringASilence) {
    CCountingWindow window;
    CWatchDog dog(60000);
    dog.SetMainWindow(&window);
    dog.StartThread(nullptr);
    dog.StartThread(nullptr);  // a second start keeps the one thread
    const auto start = std::chrono::steady_clock::now();
    dog.StopThread();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(0, window.DeadMessages());
}

// The thread is held in its post when the watchdog stops and goes: the stop returns after
// its bound, and the thread, released later, ends on what it kept without posting again.
TEST(CWatchDog, AStopGivesUpOnAThreadThatDoesNotEnd) {
    constexpr DWORD kStopWaitMs = 200;
    CStallingWindow window;
    auto dog = std::make_unique<CWatchDog>(20, kStopWaitMs);
    dog->SetMainWindow(&window);
    dog->StartThread(nullptr);
    ASSERT_TRUE(window.WaitForPost());
    std::future<void> stopping = std::async(std::launch::async, [&dog] { dog->StopThread(); });
    const bool stopped = stopping.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    EXPECT_TRUE(stopped) << "the stop waits without end";
    if (stopped) {
        dog.reset();
    }
    window.Release();
    stopping.wait();
    dog.reset();
    // Time for the released thread to run on through its stop; it must not post again.
    SleepMs(200);
    EXPECT_EQ(1, window.Posts());
}
