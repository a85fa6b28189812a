// A main window stand-in that counts the watchdog's 0x700 messages, which come from the
// watchdog's thread, and lets a test wait for them.
#pragma once

#include "link/IMessageTarget.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

class CCountingWindow : public IMessageTarget {
public:
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override {
        if (message != WM_COMM_DEAD || wParam != 0 || lParam != 0) {
            return;
        }
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_deadMessages;
        m_changed.notify_all();
    }

    // Waits, at most ten seconds, until at least count messages have come.
    bool WaitForDeadMessages(int count) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::seconds(10), [&] { return m_deadMessages >= count; });
    }

    int DeadMessages() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_deadMessages;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_deadMessages = 0;
};
