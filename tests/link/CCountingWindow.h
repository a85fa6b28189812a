// A main window stand-in that counts the watchdog's 0x700 messages, which come from the
// watchdog's thread, and lets a test wait for them.
#pragma once

#include "link/IMessageTarget.h"
#include "tests/link/CWaitableCount.h"

class CCountingWindow : public IMessageTarget {
public:
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override {
        if (message == WM_COMM_DEAD && wParam == 0 && lParam == 0) {
            m_deadMessages.Add();
        }
    }

    // Waits, at most ten seconds, until at least count messages have come.
    bool WaitForDeadMessages(int count) { return m_deadMessages.WaitFor(count); }

    int DeadMessages() { return m_deadMessages.Value(); }

private:
    CWaitableCount m_deadMessages;
};
