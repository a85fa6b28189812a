// Threads on POSIX. A thread created suspended starts at once but waits at a gate
// until ResumeThread. The thread keeps its own reference to the shared state, so the
// object may be destroyed while the thread still runs (a failed Terminate leaves that).
#include "classlib/core/CWinThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

struct CWinThread::Impl {
    std::mutex mutex;
    std::condition_variable changed;
    // All guarded by mutex.
    bool created = false;     // a thread was started
    bool idKnown = false;     // the thread has published its id
    DWORD suspendCount = 0;   // 1 while held at the gate
    bool objectAlive = true;  // the CWinThread object exists
    bool ended = false;
    int priority = kThreadPriorityNormal;

    // Runs on the new thread: publishes its id, waits at the gate, runs the body.
    static void RunThread(CWinThread* thread, const std::shared_ptr<Impl>& state) {
        std::unique_lock<std::mutex> guard(state->mutex);
        thread->m_nThreadID = static_cast<DWORD>(::gettid());
        state->idKnown = true;
        state->changed.notify_all();
        state->changed.wait(guard, [&state] { return state->suspendCount == 0 || !state->objectAlive; });
        if (!state->objectAlive) {
            state->ended = true;
            return;
        }
        guard.unlock();
        // Nothing reads a POSIX thread's exit code.
        thread->RunGuarded();
        guard.lock();
        state->ended = true;
        state->changed.notify_all();
        const bool deleteSelf = state->objectAlive && thread->m_bAutoDelete;
        guard.unlock();
        if (deleteSelf) {
            delete thread;  // the auto-delete contract: the thread owns its object
        }
    }
};

CWinThread::~CWinThread() {
    if (!m_impl) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_impl->mutex);
        m_impl->objectAlive = false;
    }
    // Frees a thread still held at the gate: it ends without running.
    m_impl->changed.notify_all();
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSizeBytes) {
    if (m_impl && m_impl->created) {
        return FALSE;
    }
    if (!m_impl) {
        m_impl = std::make_shared<Impl>();
    }
    std::shared_ptr<Impl> state = m_impl;
    state->created = true;
    state->suspendCount = (createFlags & kCreateSuspended) != 0 ? 1 : 0;
    std::thread thread;
    try {
        thread = std::thread([state, this] { Impl::RunThread(this, state); });
    } catch (const std::system_error&) {
        state->created = false;
        return FALSE;
    }
    thread.detach();
    std::unique_lock<std::mutex> guard(state->mutex);
    state->changed.wait(guard, [&state] { return state->idKnown; });
    return TRUE;
}

DWORD CWinThread::ResumeThread() {
    if (!m_impl) {
        return 0xFFFFFFFF;
    }
    DWORD previous = 0;
    {
        std::lock_guard<std::mutex> guard(m_impl->mutex);
        previous = m_impl->suspendCount;
        m_impl->suspendCount = 0;
    }
    m_impl->changed.notify_all();
    return previous;
}

BOOL CWinThread::SetThreadPriority(int priority) {
    if (!m_impl) {
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    m_impl->priority = priority;
    return TRUE;
}

int CWinThread::GetThreadPriority() const {
    if (!m_impl) {
        return kThreadPriorityNormal;
    }
    std::lock_guard<std::mutex> guard(m_impl->mutex);
    return m_impl->priority;
}

BOOL CWinThread::Wait(DWORD timeoutMs) {
    if (!m_impl) {
        return FALSE;
    }
    std::unique_lock<std::mutex> guard(m_impl->mutex);
    const auto hasEnded = [this] { return m_impl->ended; };
    if (timeoutMs == kInfiniteWaitMs) {
        m_impl->changed.wait(guard, hasEnded);
        return TRUE;
    }
    return m_impl->changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), hasEnded) ? TRUE : FALSE;
}

BOOL CWinThread::Terminate(DWORD exitCode) {
    // POSIX cannot stop another thread where it stands.
    return FALSE;
}

BOOL CWinThread::CloseThreadHandle() {
    // A POSIX thread has no handle to give back.
    return m_impl ? TRUE : FALSE;
}
