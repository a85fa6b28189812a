// Worker threads: suspended start, timed join, termination, self-deleting objects.
#include "classlib/core/CWinThread.h"

#include "classlib/core/CEvent.h"
#include "classlib/core/CFileException.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Only Windows can end a thread where it stands.
#ifdef _WIN32
constexpr bool kCanTerminate = true;
#else
constexpr bool kCanTerminate = false;
#endif

struct Worker {
    CEvent started{FALSE, TRUE};
    CEvent release{FALSE, TRUE};
    CEvent finished{FALSE, TRUE};
    std::atomic<int> runs{0};
};

// A file error that counts its releases, thrown by pointer as the class library does.
std::atomic<int> g_releasedFileErrors{0};

class CCountedFileException : public CFileException {
public:
    CCountedFileException() : CFileException(CFileException::fileNotFound, 2, "car.zcf") {}

    ~CCountedFileException() override { ++g_releasedFileErrors; }
};

std::mutex g_reportsMutex;
std::vector<std::string> g_reports;

int RecordReport(LPCSTR text, UINT) {
    std::lock_guard<std::mutex> lock(g_reportsMutex);
    g_reports.emplace_back(text);
    return 1;
}

UINT WorkUntilReleased(LPVOID param) {
    auto* worker = static_cast<Worker*>(param);
    ++worker->runs;
    worker->started.SetEvent();
    worker->release.Lock();
    worker->finished.SetEvent();
    return 0;
}

// Starts a worker that keeps its object for the caller.
std::unique_ptr<CWinThread> StartKept(AFX_THREADPROC proc,
                                      LPVOID param,
                                      int priority = kThreadPriorityNormal) {
    std::unique_ptr<CWinThread> thread(AfxBeginThread(proc, param, priority, 0, kCreateSuspended));
    if (thread) {
        thread->m_bAutoDelete = FALSE;
    }
    return thread;
}

}  // namespace

TEST(CWinThread, SuspendedThreadRunsOnlyAfterResume) {
    Worker worker;
    std::unique_ptr<CWinThread> thread = StartKept(WorkUntilReleased, &worker, kThreadPriorityIdle);
    ASSERT_NE(nullptr, thread);
    EXPECT_NE(0u, thread->m_nThreadID);
    EXPECT_EQ(kThreadPriorityIdle, thread->GetThreadPriority());
    EXPECT_FALSE(worker.started.Lock(100));
    EXPECT_EQ(0, worker.runs.load());

    EXPECT_EQ(1u, thread->ResumeThread());
    EXPECT_TRUE(worker.started.Lock(5000));
    worker.release.SetEvent();
    EXPECT_TRUE(thread->Wait(5000));
    EXPECT_EQ(1, worker.runs.load());
}

TEST(CWinThread, TimedJoinFailsWhileTheThreadRuns) {
    Worker worker;
    std::unique_ptr<CWinThread> thread = StartKept(WorkUntilReleased, &worker);
    ASSERT_NE(nullptr, thread);
    thread->ResumeThread();
    ASSERT_TRUE(worker.started.Lock(5000));
    EXPECT_FALSE(thread->Wait(50));
    worker.release.SetEvent();
    EXPECT_TRUE(thread->Wait(5000));
    EXPECT_TRUE(thread->Wait(0));
}

TEST(CWinThread, TwoThreadsGetDifferentIds) {
    Worker first;
    Worker second;
    std::unique_ptr<CWinThread> a = StartKept(WorkUntilReleased, &first);
    std::unique_ptr<CWinThread> b = StartKept(WorkUntilReleased, &second);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_NE(a->m_nThreadID, b->m_nThreadID);
    a->ResumeThread();
    b->ResumeThread();
    first.release.SetEvent();
    second.release.SetEvent();
    EXPECT_TRUE(a->Wait(5000));
    EXPECT_TRUE(b->Wait(5000));
}

TEST(CWinThread, TerminateEndsAHungThreadWhereThePlatformCan) {
    Worker worker;
    std::unique_ptr<CWinThread> thread = StartKept(WorkUntilReleased, &worker);
    ASSERT_NE(nullptr, thread);
    thread->ResumeThread();
    ASSERT_TRUE(worker.started.Lock(5000));

    EXPECT_EQ(kCanTerminate, thread->Terminate(0) != FALSE);
    if (kCanTerminate) {
        EXPECT_TRUE(thread->Wait(5000));
        EXPECT_FALSE(worker.finished.Lock(0));
    }
    EXPECT_TRUE(thread->CloseThreadHandle());
    // The POSIX worker runs on and must end before its events go away.
    worker.release.SetEvent();
    if (!kCanTerminate) {
        EXPECT_TRUE(worker.finished.Lock(5000));
    }
}

TEST(CWinThread, AutoDeletingThreadCleansUpAfterItself) {
    // Under the sanitizers a missing or double delete of the object shows here.
    Worker worker;
    CWinThread* thread = AfxBeginThread(WorkUntilReleased, &worker);
    ASSERT_NE(nullptr, thread);
    EXPECT_TRUE(worker.started.Lock(5000));
    worker.release.SetEvent();
    EXPECT_TRUE(worker.finished.Lock(5000));
}

TEST(CWinThread, ExceptionInTheThreadEndsOnlyThatThread) {
    const auto throwing = [](LPVOID) -> UINT { throw std::runtime_error("worker failed"); };
    std::unique_ptr<CWinThread> thread = StartKept(throwing, nullptr);
    ASSERT_NE(nullptr, thread);
    thread->ResumeThread();
    EXPECT_TRUE(thread->Wait(5000));
}

TEST(CWinThread, LibraryExceptionInTheThreadIsReleasedAndReported) {
    g_releasedFileErrors = 0;
    g_reports.clear();
    CException::SetReportHook(&RecordReport);
    const auto throwing = [](LPVOID) -> UINT { throw new CCountedFileException(); };
    std::unique_ptr<CWinThread> thread = StartKept(throwing, nullptr);
    ASSERT_NE(nullptr, thread);
    thread->ResumeThread();
    EXPECT_TRUE(thread->Wait(5000));
    CException::SetReportHook(nullptr);
    EXPECT_EQ(1, g_releasedFileErrors.load());
    ASSERT_EQ(1u, g_reports.size());
    EXPECT_NE(std::string::npos, g_reports[0].find("ended by an exception"));
    EXPECT_NE(std::string::npos, g_reports[0].find("car.zcf"));
}
