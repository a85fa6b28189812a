// Critical sections and lock holders, including the release by another thread that
// the communicator's kill path needs.
#include "classlib/core/CCriticalSection.h"

#include "classlib/core/CEvent.h"
#include "classlib/core/CSingleLock.h"
#include "classlib/core/CWinThread.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Asks another thread whether it could take the section right now.
bool OtherThreadCanTake(CCriticalSection& section) {
    bool taken = false;
    std::thread other([&section, &taken] {
        taken = section.TryLock() != FALSE;
        if (taken) {
            section.Unlock();
        }
    });
    other.join();
    return taken;
}

}  // namespace

TEST(CCriticalSection, IsRecursiveForItsOwnerAndFreedByTheLastUnlock) {
    CCriticalSection section;
    ASSERT_TRUE(section.Lock());
    ASSERT_TRUE(section.TryLock());
    EXPECT_FALSE(OtherThreadCanTake(section));
    ASSERT_TRUE(section.Unlock());
    EXPECT_FALSE(OtherThreadCanTake(section));
    ASSERT_TRUE(section.Unlock());
    EXPECT_TRUE(OtherThreadCanTake(section));
}

TEST(CCriticalSection, RefusesAnUnlockTooMany) {
    CCriticalSection section;
    EXPECT_FALSE(section.Unlock());
    ASSERT_TRUE(section.Lock());
    EXPECT_TRUE(section.Unlock());
    EXPECT_FALSE(section.Unlock());
    EXPECT_TRUE(OtherThreadCanTake(section));
}

TEST(CCriticalSection, TimedLockGivesUpWhileAnotherThreadHoldsIt) {
    CCriticalSection section;
    ASSERT_TRUE(section.Lock());
    BOOL taken = TRUE;
    std::thread other([&section, &taken] { taken = section.Lock(50); });
    other.join();
    EXPECT_FALSE(taken);
    section.Unlock();
}

TEST(CSingleLock, ReleasesItsObjectWhenDestroyed) {
    CCriticalSection section;
    {
        CSingleLock holder(&section, TRUE);
        EXPECT_TRUE(holder.IsLocked());
        EXPECT_FALSE(OtherThreadCanTake(section));
        ASSERT_TRUE(holder.Unlock());
        EXPECT_FALSE(holder.IsLocked());
        EXPECT_TRUE(OtherThreadCanTake(section));
        ASSERT_TRUE(holder.Lock(0));
    }
    EXPECT_TRUE(OtherThreadCanTake(section));
}

TEST(CSingleLock, LocksHeldByADeadWorkerAreFreedByReleasingItsHolders) {
    // The worker takes the section through holders that the owner keeps in a list,
    // then hangs. The owner kills it (where the platform can) and releases the holders;
    // a third thread must then get the section. Two holders cover a recursive take.
    for (int holderCount : {1, 2}) {
        SCOPED_TRACE(holderCount);
        CCriticalSection section;
        CEvent locked;
        CEvent neverSet;
        std::vector<std::unique_ptr<CSingleLock>> heldLocks;

        struct Context {
            CCriticalSection* section;
            CEvent* locked;
            CEvent* hang;
            std::vector<std::unique_ptr<CSingleLock>>* heldLocks;
            int holderCount;
        } context{&section, &locked, &neverSet, &heldLocks, holderCount};

        const auto worker = [](LPVOID param) -> UINT {
            auto* c = static_cast<Context*>(param);
            for (int i = 0; i < c->holderCount; ++i) {
                c->heldLocks->push_back(std::make_unique<CSingleLock>(c->section, TRUE));
            }
            c->locked->SetEvent();
            c->hang->Lock();
            return 0;
        };
        std::unique_ptr<CWinThread> thread(
            AfxBeginThread(worker, &context, kThreadPriorityNormal, 0, kCreateSuspended));
        ASSERT_NE(nullptr, thread);
        thread->m_bAutoDelete = FALSE;
        thread->ResumeThread();
        ASSERT_TRUE(locked.Lock(5000));

        // POSIX cannot terminate the worker: it stays hung until the end of the test.
        const bool killed = thread->Terminate(0) != FALSE;
        if (killed) {
            ASSERT_TRUE(thread->Wait(5000));
        }
        EXPECT_FALSE(OtherThreadCanTake(section));
        for (auto& holder : heldLocks) {
            EXPECT_TRUE(holder->Unlock());
        }
        heldLocks.clear();

        BOOL thirdTook = FALSE;
        std::thread third([&section, &thirdTook] {
            thirdTook = section.Lock(2000);
            if (thirdTook) {
                section.Unlock();
            }
        });
        third.join();
        EXPECT_TRUE(thirdTook);

        neverSet.SetEvent();
        EXPECT_TRUE(thread->Wait(5000));
    }
}
