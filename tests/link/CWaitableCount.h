// A count that one thread raises and another waits for; a thread that raises it may
// also be held until the test releases it, as a call that never returns would be.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class CWaitableCount {
public:
    void Add() {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_count;
        m_changed.notify_all();
    }

    // Raises the count, then waits until Release has been called.
    void AddAndHold() {
        std::unique_lock<std::mutex> guard(m_lock);
        ++m_count;
        m_changed.notify_all();
        m_changed.wait(guard, [this] { return m_released; });
    }

    void Release() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_released = true;
        m_changed.notify_all();
    }

    // Waits, at most ten seconds, until the count has reached count.
    bool WaitFor(int count) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::seconds(10), [&] { return m_count >= count; });
    }

    int Value() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_count;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count = 0;
    bool m_released = false;
};
