// Watches one folder (with its subtree) for changes of folder names, and of file names when
// the tree shows files, on a worker thread of idle priority; each change is posted to the tree
// as WM_FOLDER_CHANGED with the watch's id. The thread only waits and posts.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/CWinThread.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>

constexpr UINT WM_FOLDER_CHANGED = WM_APP;

class CFolderWatchThread {
public:
    // watching is the tree's switch, read on every change; it outlives this watch.
    CFolderWatchThread(const CString& path,
                       HWND tree,
                       UINT id,
                       bool watchFiles,
                       const std::atomic<bool>& watching);
    // Stops the thread and waits for it.
    ~CFolderWatchThread();
    CFolderWatchThread(const CFolderWatchThread&) = delete;
    CFolderWatchThread& operator=(const CFolderWatchThread&) = delete;

    // Starts the worker; FALSE when no thread could be made.
    BOOL Start();
    // Sets the stop event and waits a while for the worker to end. A worker that does not
    // end in time is left to end on its own: it no longer reads the tree's switch, and what
    // it uses stays alive until it is done.
    void Stop();

    const CString& GetPath() const { return m_path; }

    UINT GetId() const { return m_id; }

    // The worker's thread id while it is this watch's, for tests; 0 otherwise.
    DWORD GetThreadId() const { return m_thread ? m_thread->m_nThreadID : 0; }

private:
    // What the worker uses, shared between the watch and its worker.
    struct Shared {
        ~Shared();
        HWND tree = nullptr;
        UINT id = 0;
        const std::atomic<bool>* watching = nullptr;  // null once the watch has given up on the worker
        std::mutex watchingLock;                      // guards watching
        HANDLE stop = nullptr;                        // manual reset
        HANDLE change = nullptr;                      // the armed change notification
    };

    static UINT Worker(LPVOID param);
    static UINT Watch(const std::shared_ptr<Shared>& shared);

    CString m_path;  // ends in a backslash
    UINT m_id;
    bool m_watchFiles;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<CWinThread> m_thread;
};
