#include "manager/CFolderWatchThread.h"

#include "link/CLogger.h"

namespace {

constexpr DWORD kStopWaitMs = 5000;

}  // namespace

CFolderWatchThread::CFolderWatchThread(const CString& path,
                                       HWND tree,
                                       UINT id,
                                       bool watchFiles,
                                       const std::atomic<bool>& watching)
    : m_path(path),
      m_tree(tree),
      m_id(id),
      m_watchFiles(watchFiles),
      m_watching(watching),
      m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (m_path.IsEmpty() || m_path[m_path.GetLength() - 1] != '\\') {
        m_path += '\\';
    }
}

CFolderWatchThread::~CFolderWatchThread() {
    Stop();
    if (m_stop != nullptr) {
        CloseHandle(m_stop);
    }
}

BOOL CFolderWatchThread::Start() {
    if (m_stop == nullptr || m_thread) {
        return FALSE;
    }
    // Armed here rather than on the worker, so that no change right after the start is lost.
    DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME;
    if (m_watchFiles) {
        filter |= FILE_NOTIFY_CHANGE_FILE_NAME;
    }
    m_change = FindFirstChangeNotificationA(m_path, TRUE, filter);
    if (m_change == INVALID_HANDLE_VALUE) {
        m_change = nullptr;
        CLogger::Instance().Log(1000, "CFolderWatchThread: %s cannot be watched.", m_path.GetString());
        return FALSE;
    }
    CWinThread* thread =
        AfxBeginThread(&CFolderWatchThread::Worker, this, kThreadPriorityIdle, 0, kCreateSuspended);
    if (thread == nullptr) {
        FindCloseChangeNotification(m_change);
        m_change = nullptr;
        CLogger::Instance().Log(1000, "CFolderWatchThread: no thread for %s.", m_path.GetString());
        return FALSE;
    }
    thread->m_bAutoDelete = FALSE;
    m_thread.reset(thread);
    m_thread->ResumeThread();
    return TRUE;
}

void CFolderWatchThread::Stop() {
    if (!m_thread) {
        return;
    }
    SetEvent(m_stop);
    if (!m_thread->Wait(kStopWaitMs)) {
        // Freeing the object under a running thread would be worse than keeping it.
        CLogger::Instance().Log(1000, "CFolderWatchThread: the watch of %s did not end.", m_path.GetString());
        m_thread.release();
        return;
    }
    m_thread.reset();
}

UINT CFolderWatchThread::Worker(LPVOID param) {
    return static_cast<CFolderWatchThread*>(param)->Watch();
}

UINT CFolderWatchThread::Watch() {
    const HANDLE change = m_change;
    const HANDLE handles[2] = {change, m_stop};
    for (;;) {
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
            break;
        }
        const bool watching = m_watching.load();
        if (watching) {
            PostMessageA(m_tree, WM_FOLDER_CHANGED, m_id, 0);
        }
        if (!FindNextChangeNotification(change) || !watching) {
            break;
        }
    }
    FindCloseChangeNotification(change);
    m_change = nullptr;
    return 0;
}
