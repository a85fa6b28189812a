#include "manager/CTreeFileCtrl.h"
#include "manager/FileTreePaths.h"

using FileTreePaths::IsInFolder;
using FileTreePaths::StartsWithNoCase;
using FileTreePaths::StripTrailingBackslash;

// --- Selection and history ------------------------------------------------------------------------

BOOL CTreeFileCtrl::OnSelChanged(NMHDR* header, LRESULT* result) {
    const auto* view = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM item = view->itemNew.hItem;
    HTREEITEM previous = view->itemOld.hItem;
    *result = 0;
    const CTreeFileItem* data = DataOf(item);
    if (data == nullptr) {
        return FALSE;
    }
    const bool stands = IsSpecialItem(item) || data->GetNetResource() != nullptr ||
                        IsDriveRoot(data->m_path) ||
                        GetFileAttributesA(data->m_path) != INVALID_FILE_ATTRIBUTES;
    if (!stands) {
        RemoveItem(item);
        return FALSE;
    }
    if (!m_navigating && previous != nullptr) {
        m_history.PushBack(previous);
    }
    if (IsDriveRoot(data->m_path)) {
        CheckMedia(data->m_path);
    }
    OnSelectionChanged(item, data->m_path);
    return FALSE;
}

void CTreeFileCtrl::OnSelectionChanged(HTREEITEM item, const CString& path) {}

// Selects target, taken from one side of the history, without recording it there again, and
// keeps the item it leaves on the other side with keepLeft.
bool CTreeFileCtrl::StepThroughHistory(HTREEITEM target,
                                       void (CSelectionHistory::*keepLeft)(CSelectionHistory::Item)) {
    if (target == nullptr) {
        return false;
    }
    HTREEITEM current = GetSelectedItem();
    m_navigating = true;
    SelectItem(target);
    EnsureVisible(target);
    m_navigating = false;
    if (current != nullptr) {
        (m_history.*keepLeft)(current);
    }
    return true;
}

bool CTreeFileCtrl::GoBack() {
    return StepThroughHistory(static_cast<HTREEITEM>(m_history.PopBack()), &CSelectionHistory::PushForward);
}

bool CTreeFileCtrl::GoForward() {
    return StepThroughHistory(static_cast<HTREEITEM>(m_history.PopForward()), &CSelectionHistory::PushBack);
}

bool CTreeFileCtrl::CanGoBack() const {
    return m_history.CanGoBack();
}

bool CTreeFileCtrl::CanGoForward() const {
    return m_history.CanGoForward();
}

int CTreeFileCtrl::GetMaxHistory() const {
    return m_history.GetMaxHistory();
}

void CTreeFileCtrl::SetMaxHistory(int limit) {
    m_history.SetMaxHistory(limit);
}

bool CTreeFileCtrl::GoUp() {
    HTREEITEM selected = GetSelectedItem();
    HTREEITEM parent = selected != nullptr ? GetParentItem(selected) : nullptr;
    if (parent == nullptr) {
        return false;
    }
    SelectItem(parent);
    EnsureVisible(parent);
    return true;
}

CString CTreeFileCtrl::GetSelectedPath() const {
    return ItemToPath(GetSelectedItem());
}

CTreeFileCtrl::SelectionMark CTreeFileCtrl::MarkSelection() const {
    HTREEITEM selected = GetSelectedItem();
    SelectionMark mark;
    mark.path = GetSelectedPath();
    mark.expanded = selected != nullptr && (GetItemState(selected, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    return mark;
}

void CTreeFileCtrl::RestoreSelection(const SelectionMark& mark) {
    if (!mark.path.IsEmpty()) {
        SelectPath(mark.path, mark.expanded);
    }
}

// --- Walking a path -------------------------------------------------------------------------------

HTREEITEM CTreeFileCtrl::FindChild(HTREEITEM parent, const CString& name) const {
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) {
        const CTreeFileItem* data = DataOf(child);
        if (data == nullptr) {
            continue;
        }
        // A file whose title hides its extension is found by its name too.
        if (data->m_displayName.CompareNoCase(name) == 0 ||
            (data->m_file != 0 && FileTreePaths::LastComponent(data->m_path).CompareNoCase(name) == 0)) {
            return child;
        }
    }
    return nullptr;
}

bool CTreeFileCtrl::HasChildNamed(HTREEITEM item, const CString& text) const {
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child)) {
        if (GetItemText(child).CompareNoCase(text) == 0) {
            return true;
        }
    }
    return false;
}

// The first item below item whose children are servers, depth first.
HTREEITEM CTreeFileCtrl::FindServerParent(HTREEITEM item) const {
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child)) {
        const CTreeFileItem* data = DataOf(child);
        const NETRESOURCEA* resource = data != nullptr ? data->GetNetResource() : nullptr;
        if (resource != nullptr && resource->dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) {
            return item;
        }
        HTREEITEM found = FindServerParent(child);
        if (found != nullptr) {
            return found;
        }
    }
    return nullptr;
}

// The item a walk of path (without a trailing backslash) starts from, the rest of the path to
// walk below it, and how a selecting walk fills it. No item when path lies outside the root path.
CTreeFileCtrl::WalkStart CTreeFileCtrl::StartOf(const CString& path) const {
    WalkStart start;
    start.rest = path;
    if (!m_rootPath.IsEmpty()) {
        const CString root = StripTrailingBackslash(m_rootPath);
        if (!StartsWithNoCase(path, root)) {
            return start;
        }
        start.rest = path.Mid(root.GetLength());
        start.rest.TrimLeft('\\');
        start.item = m_topItem;
        return start;
    }
    if (m_showNetwork && path.GetLength() > 2 && path.Left(2) == "\\\\" && m_networkItem != nullptr) {
        start.item = m_networkItem;
        start.rest = path.Mid(2);
        start.throughServers = true;
        start.fill = kFillAndExpand;
        return start;
    }

    const struct {
        HTREEITEM item;
        const CString& folder;
        StartFill fill;
    } folders[] = {{m_desktopItem, m_desktopPath, kExpandOnly},
                   {m_myDocumentsItem, m_myDocumentsPath, kFillAndExpand}};

    for (const auto& folder : folders) {
        if (folder.item != nullptr && IsInFolder(path, folder.folder)) {
            start.item = folder.item;
            start.rest = path.Mid(folder.folder.GetLength());
            start.rest.TrimLeft('\\');
            start.fill = folder.fill;
            return start;
        }
    }
    start.item = m_myComputerItem != nullptr ? m_myComputerItem : m_topItem;
    start.firstKeepsBackslash = true;
    start.fill = kFillAndExpand;
    return start;
}

void CTreeFileCtrl::PrepareStart(const WalkStart& start) {
    if (start.fill == kLeaveAsIs) {
        return;
    }
    if (start.fill == kFillAndExpand && start.item != TVI_ROOT && GetChildItem(start.item) == nullptr) {
        PopulateItem(start.item);
    }
    Expand(start.item, TVE_EXPAND);
}

// The one walk from the start item down the components of path. prepare (when given) readies
// the start item before the walk looks below it; reach (when given) is called at each item
// the walk reaches below the start, last telling the end of the path.
HTREEITEM CTreeFileCtrl::WalkPath(const CString& path,
                                  const std::function<void(const WalkStart&)>& prepare,
                                  const std::function<void(HTREEITEM, bool)>& reach) const {
    if (path.IsEmpty()) {
        return nullptr;
    }
    const WalkStart start = StartOf(StripTrailingBackslash(path));
    if (start.item == nullptr) {
        return nullptr;
    }
    if (prepare) {
        prepare(start);
    }
    HTREEITEM item = start.throughServers ? FindServerParent(start.item) : start.item;
    CString rest = start.rest;
    bool first = true;
    while (item != nullptr && !rest.IsEmpty()) {
        const int backslash = rest.Find('\\');
        CString component;
        if (backslash < 0) {
            component = rest;
            rest.Empty();
        } else {
            component = rest.Left(first && start.firstKeepsBackslash ? backslash + 1 : backslash);
            rest = rest.Mid(backslash + 1);
        }
        first = false;
        if (component.IsEmpty()) {
            continue;
        }
        item = FindChild(item, component);
        if (item != nullptr && reach) {
            reach(item, rest.IsEmpty());
        }
    }
    return item;
}

HTREEITEM CTreeFileCtrl::SelectPath(const CString& path, bool expand) {
    if (path.IsEmpty()) {
        return nullptr;
    }
    const bool wholeIsDrive = IsDriveRoot(StripTrailingBackslash(path));
    bool below = false;
    SetRedraw(FALSE);
    HTREEITEM item = WalkPath(
        path, [this](const WalkStart& start) { PrepareStart(start); },
        [this, wholeIsDrive, expand, &below](HTREEITEM reached, bool last) {
            below = true;
            SelectItem(reached);
            if ((!last && !wholeIsDrive) || (last && expand)) {
                if (GetChildrenFlag(reached) != 0 && GetChildItem(reached) == nullptr) {
                    PopulateItem(reached);
                }
                Expand(reached, TVE_EXPAND);
            }
        });
    if (item != nullptr && !below) {
        SelectItem(item);
    }
    if (item != nullptr) {
        EnsureVisible(item);
    }
    SetRedraw(TRUE);
    Invalidate();
    return item;
}

// Walks only the items that exist: nothing is filled, selected or expanded.
HTREEITEM CTreeFileCtrl::PathToItem(const CString& path) const {
    return WalkPath(path, nullptr, nullptr);
}
