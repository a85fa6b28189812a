// ZFx Manager's application object: guards the single instance (a second start hands its
// file to the first and ends), shows the start window and runs the main dialog modally; that
// dialog's loop is the program's loop, so InitInstance returns FALSE.
#pragma once

#include "classlib/win/CWinApp.h"

#include <windows.h>

class CManagerApp : public CWinApp {
public:
    CManagerApp();

    BOOL InitInstance() override;
    BOOL ProcessMessageFilter(int code, LPMSG msg) override;

    void GetVersion(int& major, int& minor, int& build, int& revision) const;

private:
    static BOOL CALLBACK FindRunningInstanceProc(HWND window, LPARAM result);

    void HandOverToRunningInstance(const CString& startFile) const;
    void EnterProgramFolder() const;
    void ReadVersion();

    HACCEL m_accelerators = nullptr;
    int m_major = 0;
    int m_minor = 0;
    int m_build = 0;
    int m_revision = 0;
};

// The program's application object, or null outside the program.
CManagerApp* ManagerApp();
