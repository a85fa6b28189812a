// A thread that runs one function, can be waited for with a time-out and, on
// Windows, be terminated. The communicator's worker runs on it.
#pragma once

#include "classlib/core/WinTypes.h"

#include <functional>
#include <memory>

class CWorkerThread {
public:
    static constexpr int kTerminateFailed = 1;
    static constexpr int kCloseFailed = 2;

    // Starts the thread at normal priority; false when the system could not create it.
    bool Start(std::function<void()> body);
    // Waits up to timeoutMs for the thread to end; true when it has ended.
    bool Join(DWORD timeoutMs);
    // Ends the thread wherever it is: 0, kTerminateFailed or kCloseFailed. On POSIX
    // systems a thread cannot be ended from outside: the result is kTerminateFailed
    // and destroying the object waits for the thread.
    int Terminate();

    CWorkerThread();
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
