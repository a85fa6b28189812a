// The platform-independent half of the thread object.
#include "classlib/core/CWinThread.h"

#include <cstdio>
#include <exception>

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : m_proc(proc), m_param(param) {}

int CWinThread::Run() {
    return static_cast<int>(m_proc(m_param));
}

int CWinThread::RunGuarded() {
    // No exception may leave a thread: it would end the process without a word.
    try {
        return Run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Thread %lu ended by an exception: %s\n",
                     static_cast<unsigned long>(m_nThreadID), error.what());
    } catch (...) {
        std::fprintf(stderr, "Thread %lu ended by an unknown exception.\n",
                     static_cast<unsigned long>(m_nThreadID));
    }
    return -1;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc,
                           LPVOID param,
                           int priority,
                           UINT stackSizeBytes,
                           DWORD createFlags) {
    auto thread = std::make_unique<CWinThread>(proc, param);
    if (!thread->CreateThread(createFlags | kCreateSuspended, stackSizeBytes)) {
        return nullptr;
    }
    // A priority is a wish: a refused change leaves the thread at normal priority.
    thread->SetThreadPriority(priority);
    // From here the object belongs to the thread (auto-delete) or to the caller.
    CWinThread* started = thread.release();
    if ((createFlags & kCreateSuspended) == 0) {
        started->ResumeThread();
    }
    return started;
}
