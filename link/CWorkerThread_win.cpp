// The worker thread on Windows: a system thread, so that it can be terminated when
// it hangs inside the port driver.
#include "link/CWorkerThread.h"

#include <windows.h>

struct CWorkerThread::State {
    std::function<void()> body;
    HANDLE handle = nullptr;
};

namespace {

DWORD WINAPI ThreadEntry(LPVOID parameter) {
    auto* body = static_cast<std::function<void()>*>(parameter);
    (*body)();
    return 0;
}

}  // namespace

CWorkerThread::CWorkerThread() : m_state(std::make_unique<State>()) {}

CWorkerThread::~CWorkerThread() {
    if (m_state->handle == nullptr) {
        return;
    }
    WaitForSingleObject(m_state->handle, INFINITE);
    CloseHandle(m_state->handle);
}

bool CWorkerThread::Start(std::function<void()> body) {
    m_state->body = std::move(body);
    m_state->handle = CreateThread(nullptr, 0, ThreadEntry, &m_state->body, CREATE_SUSPENDED, nullptr);
    if (m_state->handle == nullptr) {
        return false;
    }
    SetThreadPriority(m_state->handle, THREAD_PRIORITY_NORMAL);
    ResumeThread(m_state->handle);
    return true;
}

bool CWorkerThread::Join(DWORD timeoutMs) {
    if (m_state->handle == nullptr) {
        return true;
    }
    if (WaitForSingleObject(m_state->handle, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    CloseHandle(m_state->handle);
    m_state->handle = nullptr;
    return true;
}

int CWorkerThread::Terminate() {
    if (m_state->handle == nullptr) {
        return 0;
    }
    int result = 0;
    if (!TerminateThread(m_state->handle, 0)) {
        result = kTerminateFailed;
    }
    if (!CloseHandle(m_state->handle)) {
        result = kCloseFailed;
    }
    m_state->handle = nullptr;
    return result;
}
