#include "manager/CTreeFileCtrl.h"
#include "manager/FileTreePaths.h"

using FileTreePaths::StripTrailingBackslash;

// --- Folder watching ----------------------------------------------------------------------------

void CTreeFileCtrl::StartWatch(const CString& path) {
    auto watch = std::make_unique<CFolderWatchThread>(path, m_hWnd, m_nextWatchId++, m_showFiles, m_watching);
    if (!watch->Start()) {
        return;
    }
    m_watches.push_back(std::move(watch));
}

void CTreeFileCtrl::StopWatch(const CString& path) {
    const CString folder = FileTreePaths::WithTrailingBackslash(path);
    for (auto it = m_watches.begin(); it != m_watches.end(); ++it) {
        if ((*it)->GetPath().CompareNoCase(folder) == 0) {
            m_watches.erase(it);
            return;
        }
    }
}

void CTreeFileCtrl::StopAllWatches() {
    for (auto& watch : m_watches) {
        watch->Stop();
    }
    m_watches.clear();
}

// Keyed by the watch's id, so a change posted by a watch that has gone since finds nothing.
LRESULT CTreeFileCtrl::OnFolderChanged(WPARAM wParam, LPARAM lParam) {
    if (!m_watching) {
        return 0;
    }
    CString watched;
    for (const auto& watch : m_watches) {
        if (watch->GetId() == static_cast<UINT>(wParam)) {
            watched = StripTrailingBackslash(watch->GetPath());
        }
    }
    if (watched.IsEmpty()) {
        return 0;
    }
    const SelectionMark mark = MarkSelection();
    SetRedraw(FALSE);
    HTREEITEM item = PathToItem(watched);
    if (item == nullptr && !m_rootPath.IsEmpty() &&
        watched.CompareNoCase(StripTrailingBackslash(m_rootPath)) == 0) {
        item = m_topItem;
    }
    if (item != nullptr) {
        EnumFolder(watched, item, false, true);
    }
    RestoreSelection(mark);
    SetRedraw(TRUE);
    Invalidate();
    return 0;
}
