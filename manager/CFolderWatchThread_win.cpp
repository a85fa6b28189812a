#include "manager/CFolderWatchThread.h"

#include "link/CKeptThreads.h"
#include "link/CLogger.h"

#include <utility>

namespace {

constexpr DWORD kStopWaitMs = 5000;

}  // namespace

CFolderWatchThread::Shared::~Shared() {
    if (change != nullptr) {
        FindCloseChangeNotification(change);
    }
    if (stop != nullptr) {
        CloseHandle(stop);
    }
}

CFolderWatchThread::CFolderWatchThread(const CString& path,
                                       HWND tree,
                                       UINT id,
                                       bool watchFiles,
                                       const std::atomic<bool>& watching)
    : m_path(path), m_id(id), m_watchFiles(watchFiles), m_shared(std::make_shared<Shared>()) {
    m_shared->tree = tree;
    m_shared->id = id;
    m_shared->watching = &watching;
    m_shared->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_path.IsEmpty() || m_path[m_path.GetLength() - 1] != '\\') {
        m_path += '\\';
    }
}

CFolderWatchThread::~CFolderWatchThread() {
    Stop();
}

BOOL CFolderWatchThread::Start() {
    if (m_shared->stop == nullptr || m_thread) {
        return FALSE;
    }
    // Armed here rather than on the worker, so that no change right after the start is lost.
    DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME;
    if (m_watchFiles) {
        filter |= FILE_NOTIFY_CHANGE_FILE_NAME;
    }
    const HANDLE change = FindFirstChangeNotificationA(m_path, TRUE, filter);
    if (change == INVALID_HANDLE_VALUE) {
        CLogger::Instance().Log(1000, "CFolderWatchThread: %s cannot be watched.", m_path.GetString());
        return FALSE;
    }
    if (m_shared->change != nullptr) {
        FindCloseChangeNotification(m_shared->change);
    }
    m_shared->change = change;
    // The worker owns one reference to the shared part and drops it when it ends.
    auto* workerShare = new std::shared_ptr<Shared>(m_shared);
    CWinThread* thread =
        AfxBeginThread(&CFolderWatchThread::Worker, workerShare, kThreadPriorityIdle, 0, kCreateSuspended);
    if (thread == nullptr) {
        delete workerShare;
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
    SetEvent(m_shared->stop);
    if (!m_thread->Wait(kStopWaitMs)) {
        {
            std::lock_guard<std::mutex> guard(m_shared->watchingLock);
            m_shared->watching = nullptr;
        }
        // Freeing the thread object under its running thread would be worse than keeping it.
        CLogger::Instance().Log(1000, "CFolderWatchThread: the watch of %s did not end.", m_path.GetString());
        CKeptThreads::Keep(std::move(m_thread));
        return;
    }
    m_thread.reset();
}

UINT CFolderWatchThread::Worker(LPVOID param) {
    const std::unique_ptr<std::shared_ptr<Shared>> share(static_cast<std::shared_ptr<Shared>*>(param));
    return Watch(*share);
}

UINT CFolderWatchThread::Watch(const std::shared_ptr<Shared>& shared) {
    const HANDLE handles[2] = {shared->change, shared->stop};
    for (;;) {
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
            break;
        }
        bool watching = false;
        {
            std::lock_guard<std::mutex> guard(shared->watchingLock);
            watching = shared->watching != nullptr && shared->watching->load();
        }
        if (watching) {
            PostMessageA(shared->tree, WM_FOLDER_CHANGED, shared->id, 0);
        }
        if (!FindNextChangeNotification(shared->change) || !watching) {
            break;
        }
    }
    return 0;
}
