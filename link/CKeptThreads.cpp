// The kept threads' list, never destroyed: at the process's end a kept thread may still run.
#include "link/CKeptThreads.h"

#include "classlib/core/CWinThread.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct KeptList {
    std::mutex lock;
    std::vector<std::unique_ptr<CWinThread>> threads;
};

KeptList& List() {
    static KeptList* const list = new KeptList();
    return *list;
}

}  // namespace

void CKeptThreads::Keep(std::unique_ptr<CWinThread> thread) {
    if (!thread) {
        return;
    }
    KeptList& list = List();
    std::lock_guard<std::mutex> guard(list.lock);
    list.threads.push_back(std::move(thread));
}

bool CKeptThreads::Holds(const CWinThread* thread) {
    KeptList& list = List();
    std::lock_guard<std::mutex> guard(list.lock);
    return std::any_of(list.threads.begin(), list.threads.end(),
                       [thread](const std::unique_ptr<CWinThread>& kept) { return kept.get() == thread; });
}
