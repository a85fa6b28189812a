// Mutexes: the named single-instance guard and owner-only release.
#include "classlib/core/CMutex.h"

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

// A name no other test run uses, since named mutexes are shared across processes.
std::string UniqueName(const char* what) {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::string("ZarvoSyncTest-") + what + "-" + std::to_string(ticks);
}

}  // namespace

TEST(CMutex, NamedMutexTellsASecondCreatorThatTheNameIsTaken) {
    const std::string name = UniqueName("instance");
    {
        CMutex first(FALSE, name.c_str());
        EXPECT_FALSE(first.ExistedBefore());
        CMutex second(FALSE, name.c_str());
        EXPECT_TRUE(second.ExistedBefore());
    }
    CMutex afterBothClosed(FALSE, name.c_str());
    EXPECT_FALSE(afterBothClosed.ExistedBefore());
}

TEST(CMutex, NamedMutexesOfOneNameShareTheLock) {
    const std::string name = UniqueName("shared");
    CMutex first(TRUE, name.c_str());
    CMutex second(FALSE, name.c_str());
    BOOL taken = TRUE;
    std::thread other([&second, &taken] { taken = second.Lock(50); });
    other.join();
    EXPECT_FALSE(taken);
    EXPECT_TRUE(first.Unlock());
}

TEST(CMutex, OnlyTheOwnerReleasesIt) {
    CMutex mutex;
    ASSERT_TRUE(mutex.Lock());
    ASSERT_TRUE(mutex.Lock(0));
    BOOL released = TRUE;
    BOOL taken = TRUE;
    std::thread other([&] {
        released = mutex.Unlock();
        taken = mutex.Lock(50);
    });
    other.join();
    EXPECT_FALSE(released);
    EXPECT_FALSE(taken);
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());
}
