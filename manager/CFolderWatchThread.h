// Watches one folder (with its subtree) for changes of folder names, and of file names when
// the tree shows files, on a worker thread of idle priority; each change is posted to the tree
// as WM_FOLDER_CHANGED with the watch's id. The thread only waits and posts.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/CWinThread.h"

#include <windows.h>

#include <atomic>
#include <memory>

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
    // Sets the stop event and waits for the worker to end.
    void Stop();

    const CString& GetPath() const { return m_path; }

    UINT GetId() const { return m_id; }

private:
    static UINT Worker(LPVOID param);
    UINT Watch();

    CString m_path;  // ends in a backslash
    HWND m_tree;
    UINT m_id;
    bool m_watchFiles;
    const std::atomic<bool>& m_watching;
    HANDLE m_stop;              // manual reset
    HANDLE m_change = nullptr;  // the armed change notification, closed by the worker
    std::unique_ptr<CWinThread> m_thread;
};
