// Routes the messages of the calling thread's system modal loops (IsDialogMessage,
// message boxes, menus) to the application's ProcessMessageFilter while it lives, so
// that accelerators work inside every nested modal loop.
#pragma once

#include <windows.h>

class CMessageFilterHook {
public:
    CMessageFilterHook();
    ~CMessageFilterHook();
    CMessageFilterHook(const CMessageFilterHook&) = delete;
    CMessageFilterHook& operator=(const CMessageFilterHook&) = delete;

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
};
