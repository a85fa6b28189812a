// The worker thread on POSIX systems, over std::thread.
#include "link/CWorkerThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct CWorkerThread::State {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;  // guarded by mutex
};

CWorkerThread::CWorkerThread() : m_state(std::make_unique<State>()) {}

CWorkerThread::~CWorkerThread() {
    if (m_state->thread.joinable()) {
        m_state->thread.join();
    }
}

bool CWorkerThread::Start(std::function<void()> body) {
    State* state = m_state.get();
    state->thread = std::thread([state, body = std::move(body)] {
        body();
        std::lock_guard<std::mutex> guard(state->mutex);
        state->done = true;
        state->ended.notify_all();
    });
    return true;
}

bool CWorkerThread::Join(DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(m_state->mutex);
    if (!m_state->ended.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                 [&] { return m_state->done; })) {
        return false;
    }
    guard.unlock();
    if (m_state->thread.joinable()) {
        m_state->thread.join();
    }
    return true;
}

int CWorkerThread::Terminate() {
    return kTerminateFailed;
}
