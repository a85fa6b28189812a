// Message loops of the library: one step of a pump that offers each message to the
// PreTranslateMessage walk first, and the loop of user-interface threads.
#pragma once

#include <windows.h>

class CWinThread;
class CWnd;

// Waits for the next message of the calling thread and handles it. FALSE when the
// message was WM_QUIT (its exit code is then AfxGetQuitCode()).
BOOL AfxPumpMessage();
int AfxGetQuitCode();

// The loop of a user-interface thread: runs until the thread's main window is
// destroyed or WM_QUIT arrives; returns the quit code.
int AfxRunThreadLoop(CWinThread* thread);

// Called for every library window after its last message: a thread running
// AfxRunThreadLoop ends its loop when the window was its main window.
void AfxWindowGone(CWnd* wnd);
