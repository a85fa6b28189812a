// The process-wide window-to-object map and the per-thread temporary wrappers.
#include "classlib/win/CHandleMap.h"

#include "classlib/win/CWnd.h"
#include "classlib/win/PerThread.h"

namespace {

using TemporaryMap = std::unordered_map<HWND, std::unique_ptr<CWnd>>;

TemporaryMap& Temporaries() {
    static PerThread<TemporaryMap> temporaries;
    return temporaries.Get();
}

}  // namespace

CHandleMap& CHandleMap::Instance() {
    static CHandleMap map;
    return map;
}

bool CHandleMap::Add(HWND hwnd, CWnd* wnd) {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_permanent.emplace(hwnd, wnd).second;
}

void CHandleMap::Remove(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_permanent.erase(hwnd);
}

CWnd* CHandleMap::Find(HWND hwnd) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    const auto found = m_permanent.find(hwnd);
    return found == m_permanent.end() ? nullptr : found->second;
}

CWnd* CHandleMap::Temporary(HWND hwnd) {
    std::unique_ptr<CWnd>& slot = Temporaries()[hwnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        // Not in the permanent map: a temporary only names the window.
        slot->m_hWnd = hwnd;
    }
    return slot.get();
}

void CHandleMap::DeleteTemporaries() {
    TemporaryMap& temporaries = Temporaries();
    for (auto& entry : temporaries) {
        entry.second->m_hWnd = nullptr;  // the wrapper must not destroy the window
    }
    temporaries.clear();
}
