// The worker's held locks: a thread that dies (here: hangs) holding element locks
// and the queue lock leaves them listed, and releasing the list from another thread
// frees them for everyone else.
#include "link/CHeldLocks.h"

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CEvent.h"
#include "link/CHeldLock.h"

#include <new>
#include <thread>

#include <gtest/gtest.h>

namespace {

// timeoutMs: how long the third thread may wait; the lock is free when it gets it.
bool CanBeTakenByAThirdThread(CCriticalSection& lock, DWORD timeoutMs = 2000) {
    bool taken = false;
    std::thread third([&] {
        taken = lock.Lock(timeoutMs) != FALSE;
        if (taken) {
            lock.Unlock();
        }
    });
    third.join();
    return taken;
}

}  // namespace

TEST(CHeldLocks, ListsEveryLockWhileHeldAndForgetsItWhenTheHolderEnds) {
    CHeldLocks list;
    CCriticalSection a;
    CCriticalSection b;
    {
        CHeldLock holdA(a, list);
        {
            CHeldLock holdB(b, list);
            EXPECT_FALSE(CanBeTakenByAThirdThread(b, 0));
        }
        EXPECT_TRUE(CanBeTakenByAThirdThread(b));
        EXPECT_FALSE(list.IsEmpty());
    }
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(CanBeTakenByAThirdThread(a));
}

TEST(CHeldLocks, ReleasesTheLocksOfAStuckWorkerFromAnotherThread) {
    CHeldLocks list;
    CCriticalSection element;
    CCriticalSection settingA;
    CCriticalSection settingB;
    CEvent holding(FALSE, TRUE);
    CEvent finish(FALSE, TRUE);
    std::thread worker([&] {
        CHeldLock e(element, list);
        CHeldLock a(settingA, list);
        CHeldLock b(settingB, list);
        holding.SetEvent();
        finish.Lock();
        // Its holders end after the release: they must not release a second time.
    });
    ASSERT_TRUE(holding.Lock(5000));
    for (CCriticalSection* lock : {&element, &settingA, &settingB}) {
        EXPECT_FALSE(CanBeTakenByAThirdThread(*lock, 0));
    }
    list.ReleaseAll();
    EXPECT_TRUE(list.IsEmpty());
    for (CCriticalSection* lock : {&element, &settingA, &settingB}) {
        EXPECT_TRUE(CanBeTakenByAThirdThread(*lock));
    }
    finish.SetEvent();
    worker.join();
    // Taken once by the worker, released once: the locks are free, not over-released.
    for (CCriticalSection* lock : {&element, &settingA, &settingB}) {
        EXPECT_TRUE(CanBeTakenByAThirdThread(*lock));
        EXPECT_FALSE(lock->Unlock());
    }
}

// A terminated worker never runs its holders' destructors, and its stack, where the
// holders live, is freed: releasing must not touch a holder.
TEST(CHeldLocks, ReleasesTheLocksOfAWorkerWhoseHoldersAreGone) {
    CHeldLocks list;
    CCriticalSection queue;
    CEvent holding(FALSE, TRUE);
    CEvent finish(FALSE, TRUE);
    std::thread worker([&] {
        auto* stack = new unsigned char[sizeof(CHeldLock)];
        new (stack) CHeldLock(queue, list);
        delete[] stack;  // gone without its destructor, as with a terminated thread
        holding.SetEvent();
        finish.Lock();
    });
    ASSERT_TRUE(holding.Lock(5000));
    EXPECT_FALSE(CanBeTakenByAThirdThread(queue, 0));
    list.ReleaseAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_TRUE(CanBeTakenByAThirdThread(queue));
    finish.SetEvent();
    worker.join();
}
