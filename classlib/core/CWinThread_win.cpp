// Threads on Windows, started through the C runtime so that it sets up its per-thread
// data for the new thread.
#include "classlib/core/CWinThread.h"

#include <windows.h>

#include <process.h>

struct CWinThread::Impl {
    HANDLE handle = nullptr;  // touched by the owner only

    // Runs on the new thread.
    static unsigned __stdcall Entry(void* object) {
        auto* thread = static_cast<CWinThread*>(object);
        const int exitCode = thread->RunGuarded();
        if (thread->m_bAutoDelete) {
            delete thread;  // the auto-delete contract: the thread owns its object
        }
        return static_cast<unsigned>(exitCode);
    }
};

CWinThread::~CWinThread() {
    if (m_impl && m_impl->handle != nullptr) {
        CloseHandle(m_impl->handle);
    }
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSizeBytes) {
    if (m_impl && m_impl->handle != nullptr) {
        return FALSE;
    }
    m_impl = std::make_shared<Impl>();
    unsigned threadId = 0;
    // Always created suspended, so that the handle and id are stored before it runs.
    const uintptr_t handle =
        _beginthreadex(nullptr, stackSizeBytes, Impl::Entry, this, CREATE_SUSPENDED, &threadId);
    if (handle == 0) {
        return FALSE;
    }
    m_impl->handle = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = threadId;
    if ((createFlags & kCreateSuspended) == 0 && ::ResumeThread(m_impl->handle) == 0xFFFFFFFF) {
        return FALSE;
    }
    return TRUE;
}

DWORD CWinThread::ResumeThread() {
    if (!m_impl || m_impl->handle == nullptr) {
        return 0xFFFFFFFF;
    }
    return ::ResumeThread(m_impl->handle);
}

BOOL CWinThread::SetThreadPriority(int priority) {
    if (!m_impl || m_impl->handle == nullptr) {
        return FALSE;
    }
    return ::SetThreadPriority(m_impl->handle, priority);
}

int CWinThread::GetThreadPriority() const {
    if (!m_impl || m_impl->handle == nullptr) {
        return kThreadPriorityNormal;
    }
    return ::GetThreadPriority(m_impl->handle);
}

BOOL CWinThread::Wait(DWORD timeoutMs) {
    if (!m_impl || m_impl->handle == nullptr) {
        return FALSE;
    }
    return WaitForSingleObject(m_impl->handle, timeoutMs) == WAIT_OBJECT_0 ? TRUE : FALSE;
}

BOOL CWinThread::Terminate(DWORD exitCode) {
    if (!m_impl || m_impl->handle == nullptr) {
        return FALSE;
    }
    return TerminateThread(m_impl->handle, exitCode);
}

BOOL CWinThread::CloseThreadHandle() {
    if (!m_impl || m_impl->handle == nullptr) {
        return FALSE;
    }
    const BOOL closed = CloseHandle(m_impl->handle);
    m_impl->handle = nullptr;
    return closed;
}
