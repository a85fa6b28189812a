// Worker threads: started suspended or running, joined with a time-out, and on
// Windows terminated where they stand (the communicator's last resort). A thread
// class made from a run-time class is a user-interface thread: InitInstance makes its
// main window and the window layer's message loop runs until that window is gone.
#pragma once

#include "classlib/core/CObject.h"
#include "classlib/core/CSyncObject.h"

#include <memory>

// A worker thread's function; its result is the thread's exit code.
typedef UINT (*AFX_THREADPROC)(LPVOID);

// Priorities and creation flags, with the values Windows uses for them.
constexpr int kThreadPriorityIdle = -15;
constexpr int kThreadPriorityNormal = 0;
constexpr DWORD kCreateSuspended = 0x4;

class CWnd;

class CWinThread : public CObject {
    DECLARE_DYNAMIC(CWinThread)

public:
    // Runs a user-interface thread's messages until its main window is destroyed;
    // returns the exit code. Installed by the window layer.
    typedef int (*MessageLoop)(CWinThread* thread);

    // The thread object of a worker that runs proc(param).
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    // Does not stop a running thread.
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread; with kCreateSuspended it waits for ResumeThread. stackSizeBytes
    // is honoured on Windows only (0: the default). FALSE when no thread could be made.
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSizeBytes = 0);
    // Lets a suspended thread run. Returns the previous suspend count (0 when it already
    // ran), or 0xFFFFFFFF when there is no thread.
    DWORD ResumeThread();
    // On POSIX the priority is recorded only: ordinary processes there cannot raise it
    // and need not lower it.
    BOOL SetThreadPriority(int priority);
    int GetThreadPriority() const;
    // TRUE when the thread has ended, waiting at most timeoutMs (kInfiniteWaitMs: no limit).
    BOOL Wait(DWORD timeoutMs);
    // Ends the thread at once wherever it stands; the locks it holds stay taken. Only
    // Windows can do that: elsewhere this fails and the thread runs on.
    BOOL Terminate(DWORD exitCode);
    // Gives the thread's handle back to the system; the object stays usable for nothing
    // but destruction. FALSE when no handle was open.
    BOOL CloseThreadHandle();

    // A user-interface thread's start on the new thread: makes the main window and
    // returns TRUE to run the message loop, FALSE to end the thread at once.
    virtual BOOL InitInstance();
    // Runs on the thread after its loop (or after a failed InitInstance); the result is
    // the thread's exit code.
    virtual int ExitInstance();

    static void SetMessageLoop(MessageLoop loop);

    // When TRUE (the default) the object deletes itself when the thread ends. Clear it
    // while the thread is still suspended to keep the object for a timed join.
    BOOL m_bAutoDelete = TRUE;
    // Set by CreateThread.
    DWORD m_nThreadID = 0;
    // A user-interface thread's window; its destruction ends the thread's loop. Not owned.
    CWnd* m_pMainWnd = nullptr;

protected:
    // For thread classes that override Run.
    CWinThread();
    // The thread's body; the worker form calls the thread function, a user-interface
    // thread runs the message loop and then ExitInstance.
    virtual int Run();
    // Makes this the object AfxGetThread returns on the calling thread (the
    // application object does this for the main thread).
    void BindToCallingThread();

private:
    // Runs on the new thread: Run, with every exception caught and reported.
    int RunGuarded();

    static MessageLoop s_messageLoop;

    AFX_THREADPROC m_proc = nullptr;
    LPVOID m_param = nullptr;
    struct Impl;
    std::shared_ptr<Impl> m_impl;  // shared with the running thread on POSIX
};

// Creates a worker thread object running proc(param) at the priority. The object
// belongs to the thread (it deletes itself at the end) unless the caller creates it
// suspended and clears m_bAutoDelete before resuming it; then the caller deletes it.
// Null when the thread could not be made.
CWinThread* AfxBeginThread(AFX_THREADPROC proc,
                           LPVOID param,
                           int priority = kThreadPriorityNormal,
                           UINT stackSizeBytes = 0,
                           DWORD createFlags = 0);

// Creates a user-interface thread object of threadClass (which must derive from
// CWinThread and be dynamically creatable) and starts it as AfxBeginThread above does.
// Null when the class does not fit or the thread could not be made.
CWinThread* AfxBeginThread(CRuntimeClass* threadClass,
                           int priority = kThreadPriorityNormal,
                           UINT stackSizeBytes = 0,
                           DWORD createFlags = 0);

// The thread object of the calling thread, or null on a thread the class library did
// not start.
CWinThread* AfxGetThread();
