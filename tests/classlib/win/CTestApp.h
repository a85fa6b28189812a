// The test program's application object: translates the accelerators a test hands it
// for the window a test names, and reports its start-up and end as a test sets them.
#pragma once

#include "classlib/win/CWinApp.h"

class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override { return m_initResult; }

    int ExitInstance() override {
        ++m_exits;
        return m_exitCode;
    }

    BOOL ProcessMessageFilter(int code, LPMSG msg) override;

    BOOL m_initResult = FALSE;
    int m_exitCode = 0;
    int m_exits = 0;
    HACCEL m_accelerators = nullptr;
    HWND m_acceleratorTarget = nullptr;
};

CTestApp& TestApp();
