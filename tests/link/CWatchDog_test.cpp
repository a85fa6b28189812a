// The watchdog with a shortened silence: one 0x700 per silence, none while beats
// come, and a prompt stop.
#include "link/CWatchDog.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

class CCountingWindow : public IMessageTarget {
public:
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override {
        if (message == WM_COMM_DEAD && wParam == 0 && lParam == 0) {
            ++deadMessages;
        }
    }

    std::atomic<int> deadMessages{0};
};

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

constexpr DWORD kShortTimeoutMs = 100;

}  // namespace

TEST(CWatchDog, StaysQuietWhileHeartbeatsCome) {
    CCountingWindow window;
    CWatchDog dog(kShortTimeoutMs);
    dog.SetMainWindow(&window);
    dog.StartThread(nullptr);
    for (int i = 0; i < 15; ++i) {
        SleepMs(kShortTimeoutMs / 4);
        dog.Heartbeat();
    }
    dog.StopThread();
    EXPECT_EQ(0, window.deadMessages);
}

TEST(CWatchDog, PostsOnceForEachSilenceAndIsReArmedByTheNextBeat) {
    CCountingWindow window;
    CWatchDog dog(kShortTimeoutMs);
    dog.SetMainWindow(&window);
    dog.StartThread(nullptr);
    SleepMs(kShortTimeoutMs * 5);
    EXPECT_EQ(1, window.deadMessages);
    dog.Heartbeat();
    SleepMs(kShortTimeoutMs * 3);
    EXPECT_EQ(2, window.deadMessages);
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
    EXPECT_EQ(0, window.deadMessages);
}
