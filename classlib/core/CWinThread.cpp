// The platform-independent half of the thread object.
#include "classlib/core/CWinThread.h"

#include "classlib/core/CException.h"
#include "classlib/core/DescribeLibraryException.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>

IMPLEMENT_DYNAMIC(CWinThread, CObject)

namespace {

thread_local CWinThread* t_currentThread = nullptr;

}  // namespace

CWinThread::MessageLoop CWinThread::s_messageLoop = nullptr;

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : m_proc(proc), m_param(param) {}

int CWinThread::Run() {
    if (m_proc != nullptr) {
        return static_cast<int>(m_proc(m_param));
    }
    if (s_messageLoop == nullptr) {
        std::fprintf(stderr, "Thread %lu has no message loop to run.\n",
                     static_cast<unsigned long>(m_nThreadID));
    } else {
        s_messageLoop(this);
    }
    return ExitInstance();
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return 0;
}

void CWinThread::SetMessageLoop(MessageLoop loop) {
    s_messageLoop = loop;
}

void CWinThread::BindToCallingThread() {
    t_currentThread = this;
}

CWinThread* AfxGetThread() {
    return t_currentThread;
}

int CWinThread::RunGuarded() {
    BindToCallingThread();
    // No exception may leave a thread: it would end the process without a word.
    try {
        if (m_proc == nullptr && !InitInstance()) {
            return ExitInstance();
        }
        return Run();
    } catch (CException* caught) {
        const std::string text = "Thread " + std::to_string(m_nThreadID) +
                                 " ended by an exception: " + DescribeLibraryException(caught);
        CException::Report(text.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Thread %lu ended by an exception: %s\n",
                     static_cast<unsigned long>(m_nThreadID), error.what());
    } catch (...) {
        std::fprintf(stderr, "Thread %lu ended by an unknown exception.\n",
                     static_cast<unsigned long>(m_nThreadID));
    }
    return -1;
}

namespace {

// Creates the thread suspended, sets its priority and lets it run unless the caller
// asked for it suspended. From a successful start the object belongs to the thread
// (auto-delete) or to the caller.
CWinThread* StartThread(std::unique_ptr<CWinThread> thread,
                        int priority,
                        UINT stackSizeBytes,
                        DWORD createFlags) {
    if (!thread->CreateThread(createFlags | kCreateSuspended, stackSizeBytes)) {
        CException::Report("A thread could not be started.");
        return nullptr;
    }
    // A priority is a wish: a refused change leaves the thread at normal priority.
    thread->SetThreadPriority(priority);
    CWinThread* started = thread.release();
    if ((createFlags & kCreateSuspended) == 0) {
        started->ResumeThread();
    }
    return started;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC proc,
                           LPVOID param,
                           int priority,
                           UINT stackSizeBytes,
                           DWORD createFlags) {
    return StartThread(std::make_unique<CWinThread>(proc, param), priority, stackSizeBytes, createFlags);
}

CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSizeBytes, DWORD createFlags) {
    if (threadClass == nullptr || !threadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread))) {
        return nullptr;
    }
    std::unique_ptr<CWinThread> thread(static_cast<CWinThread*>(threadClass->CreateObject()));
    if (!thread) {
        return nullptr;
    }
    return StartThread(std::move(thread), priority, stackSizeBytes, createFlags);
}
