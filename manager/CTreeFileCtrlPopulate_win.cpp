#include "manager/CNetShareList.h"
#include "manager/CShellIconList.h"
#include "manager/CTreeFileCtrl.h"
#include "manager/FileTreePaths.h"

#include <commdlg.h>
#include <functional>
#include <vector>
#include <winnetwk.h>

using FileTreePaths::JoinPath;
using FileTreePaths::StripTrailingBackslash;

namespace {

constexpr DWORD kNetworkBufferBytes = 0x4000;

// Closes a find handle when the scope ends.
class CFindHandle {
public:
    explicit CFindHandle(HANDLE handle) : m_handle(handle) {}

    ~CFindHandle() {
        if (IsValid()) {
            FindClose(m_handle);
        }
    }

    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }

    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Frees a shell item id list (made by the shell's task allocator) when the scope ends.
class CPidl {
public:
    CPidl() = default;

    ~CPidl() {
        if (m_pidl != nullptr) {
            CoTaskMemFree(m_pidl);
        }
    }

    CPidl(const CPidl&) = delete;
    CPidl& operator=(const CPidl&) = delete;

    LPITEMIDLIST* Out() { return &m_pidl; }

    LPCITEMIDLIST Get() const { return m_pidl; }

private:
    LPITEMIDLIST m_pidl = nullptr;
};

// Closes a network enumeration when the scope ends.
class CNetEnum {
public:
    explicit CNetEnum(CTreeFileCtrl::NetCloseEnumFn close) : m_close(close) {}

    ~CNetEnum() {
        if (m_handle != nullptr) {
            m_close(m_handle);
        }
    }

    CNetEnum(const CNetEnum&) = delete;
    CNetEnum& operator=(const CNetEnum&) = delete;

    LPHANDLE Out() { return &m_handle; }

    HANDLE Get() const { return m_handle; }

private:
    CTreeFileCtrl::NetCloseEnumFn m_close;
    HANDLE m_handle = nullptr;
};

// The system image list index of a path, or of an item id list with SHGFI_PIDL; -1 when the
// shell gives none.
int SystemIcon(LPCSTR pathOrPidl, UINT flags) {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(pathOrPidl, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | flags) ==
        0) {
        return -1;
    }
    return info.iIcon;
}

LPCSTR PidlArgument(LPCITEMIDLIST pidl) {
    return reinterpret_cast<LPCSTR>(pidl);
}

}  // namespace

// --- What a folder shows ------------------------------------------------------------------------

// Calls visit with every folder and then every file of path the tree shows, until visit
// answers false; false when it did.
bool CTreeFileCtrl::VisitShownEntries(const CString& path,
                                      const std::function<bool(const WIN32_FIND_DATAA&, bool)>& visit) const {
    WIN32_FIND_DATAA entry = {};
    {
        CFindHandle find(FindFirstFileA(JoinPath(path, "*.*"), &entry));
        for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
            if (IsFolderShown(entry) && !visit(entry, false)) {
                return false;
            }
        }
    }
    for (INT_PTR i = 0; i < m_filePatterns.GetSize(); ++i) {
        CFindHandle find(FindFirstFileA(JoinPath(path, m_filePatterns[i]), &entry));
        for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
            if (IsFileShown(entry) && !visit(entry, true)) {
                return false;
            }
        }
    }
    return true;
}

bool CTreeFileCtrl::HasSubItems(const CString& path) const {
    if (IsMediaDrive(path)) {
        return true;
    }
    return !VisitShownEntries(path, [](const WIN32_FIND_DATAA&, bool) { return false; });
}

// --- Icons and names ----------------------------------------------------------------------------

int CTreeFileCtrl::GetPidlIcon(LPCITEMIDLIST pidl) const {
    return SystemIcon(PidlArgument(pidl), SHGFI_PIDL);
}

int CTreeFileCtrl::GetPidlOpenIcon(LPCITEMIDLIST pidl) const {
    return SystemIcon(PidlArgument(pidl), SHGFI_PIDL | SHGFI_OPENICON);
}

int CTreeFileCtrl::GetIconIndex(const CString& path) const {
    return SystemIcon(path, 0);
}

int CTreeFileCtrl::GetOpenIconIndex(const CString& path) const {
    return SystemIcon(path, SHGFI_OPENICON);
}

int CTreeFileCtrl::GetItemIcon(HTREEITEM item) const {
    int image = -1;
    int selected = -1;
    return GetItemImage(item, image, selected) ? image : -1;
}

int CTreeFileCtrl::GetItemSelectedIcon(HTREEITEM item) const {
    int image = -1;
    int selected = -1;
    return GetItemImage(item, image, selected) ? selected : -1;
}

CString CTreeFileCtrl::GetDriveDisplayName(const CString& root) const {
    if (m_desktopFolder == nullptr) {
        return root;
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, root, -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, root, -1, wide.data(), length);
    CPidl pidl;
    if (FAILED(
            m_desktopFolder->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, pidl.Out(), nullptr))) {
        return root;
    }
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl.Get()), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME) == 0 ||
        info.szDisplayName[0] == '\0') {
        return root;
    }
    return CString(info.szDisplayName);
}

CString CTreeFileCtrl::DisplayText(const CString& path,
                                   const CString& name,
                                   bool file,
                                   BYTE& shellTitle) const {
    shellTitle = 0;
    if (!file || m_fileTextMode == 1) {
        return name;
    }
    if (m_fileTextMode == 0) {
        shellTitle = 1;
        const int dot = name.ReverseFind('.');
        return dot > 0 ? name.Left(dot) : name;
    }
    char title[MAX_PATH + 1] = {};
    if (GetFileTitleA(path, title, MAX_PATH) != 0) {
        return name;
    }
    if (name != title) {
        shellTitle = 1;
    }
    return CString(title);
}

CString CTreeFileCtrl::MakeNewFolderName(const CString& folder) const {
    return FileTreePaths::MakeNewFolderName(
        folder, [](const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; });
}

// --- Inserting ----------------------------------------------------------------------------------

// Inserts the item described by insert, whose data the tree keeps from now on.
HTREEITEM CTreeFileCtrl::InsertOwnedItem(TVINSERTSTRUCTA& insert, std::unique_ptr<CTreeFileItem> data) {
    insert.item.mask |= TVIF_PARAM;
    insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
    HTREEITEM item = InsertItem(&insert);
    if (item == nullptr) {
        return nullptr;
    }
    CTreeFileItem* key = data.get();
    m_items[key] = std::move(data);
    return item;
}

HTREEITEM CTreeFileCtrl::InsertFileItem(HTREEITEM parent,
                                        std::unique_ptr<CTreeFileItem> data,
                                        bool shared,
                                        int image,
                                        int selectedImage,
                                        bool checkChildren) {
    CString text = data->m_displayName;
    if (IsDriveRoot(data->m_path) && m_driveDisplayNames) {
        text = GetDriveDisplayName(data->m_path);
    }
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPSTR>(text.GetString());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.cChildren = checkChildren ? (HasSubItems(data->m_path) ? 1 : 0) : 1;
    if (shared) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = INDEXTOOVERLAYMASK(1);
        insert.item.stateMask = TVIS_OVERLAYMASK;
    }
    return InsertOwnedItem(insert, std::move(data));
}

HTREEITEM CTreeFileCtrl::InsertSpecialItem(HTREEITEM parent, int csidl, int kind, CString* pathOut) {
    CPidl pidl;
    if (FAILED(SHGetSpecialFolderLocation(m_hWnd, csidl, pidl.Out())) || pidl.Get() == nullptr) {
        return nullptr;
    }
    SHFILEINFOA info = {};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl.Get()), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_DISPLAYNAME);
    auto data = std::make_unique<CTreeFileItem>();
    data->m_kind = kind;
    data->m_displayName = info.szDisplayName;
    if (pathOut != nullptr) {
        char path[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListA(pidl.Get(), path)) {
            data->m_path = StripTrailingBackslash(path);
            *pathOut = data->m_path;
        }
    }
    return InsertFileItem(parent, std::move(data), false, GetPidlIcon(pidl.Get()),
                          GetPidlOpenIcon(pidl.Get()), false);
}

HTREEITEM CTreeFileCtrl::InsertFolderEntry(HTREEITEM parent,
                                           const CString& folder,
                                           const WIN32_FIND_DATAA& entry,
                                           bool file) {
    auto data = std::make_unique<CTreeFileItem>();
    data->m_path = JoinPath(folder, entry.cFileName);
    data->m_file = file ? 1 : 0;
    data->m_displayName = DisplayText(data->m_path, entry.cFileName, file, data->m_shellTitle);
    const bool shared = !file && m_showSharedOverlay && IsShared(data->m_path);
    const CString path = data->m_path;
    return InsertFileItem(parent, std::move(data), shared, GetIconIndex(path), GetOpenIconIndex(path), file);
}

void CTreeFileCtrl::AddSpecialRoots() {
    if (m_showMyDocuments) {
        m_myDocumentsItem =
            InsertSpecialItem(m_topItem, CSIDL_PERSONAL, CTreeFileItem::kMyDocuments, &m_myDocumentsPath);
    }
    if (m_showMyComputer) {
        m_myComputerItem = InsertSpecialItem(m_topItem, CSIDL_DRIVES, CTreeFileItem::kMyComputer, nullptr);
    } else {
        EnumDrives(m_topItem);
    }
    if (m_showNetwork) {
        m_networkItem = InsertSpecialItem(m_topItem, CSIDL_NETWORK, CTreeFileItem::kNetwork, nullptr);
    }
}

void CTreeFileCtrl::EnumDrives(HTREEITEM parent) {
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives & (1u << letter)) == 0) {
            continue;
        }
        CString root;
        root.Format("%c:\\", 'A' + letter);
        if (!IsDriveShown(root)) {
            continue;
        }
        auto data = std::make_unique<CTreeFileItem>();
        data->m_path = root;
        data->m_displayName = root;
        const bool shared = m_showSharedOverlay && IsShared(root);
        InsertFileItem(parent, std::move(data), shared, GetIconIndex(root), GetOpenIconIndex(root), false);
    }
}

void CTreeFileCtrl::EnumFolder(const CString& path, HTREEITEM parent, bool stopRedraw, bool deleteChildren) {
    if (stopRedraw) {
        SetRedraw(FALSE);
    }
    if (deleteChildren) {
        DeleteChildren(parent);
    }
    if (m_rootItemSwitch && parent == m_topItem) {
        auto data = std::make_unique<CTreeFileItem>();
        data->m_path = m_rootPath;
        data->m_displayName = m_rootPath;
        m_rootItem = InsertFileItem(parent, std::move(data), false, GetIconIndex(m_rootPath),
                                    GetOpenIconIndex(m_rootPath), false);
        Expand(m_rootItem, TVE_EXPAND);
    } else {
        bool added = false;
        VisitShownEntries(path, [&](const WIN32_FIND_DATAA& entry, bool file) {
            if (InsertFolderEntry(parent, path, entry, file) != nullptr) {
                added = true;
            }
            return true;
        });
        SortChildren(parent);
        if (!added && parent != TVI_ROOT) {
            SetChildrenFlag(parent, 0);
        }
    }
    if (stopRedraw) {
        SetRedraw(TRUE);
    }
}

void CTreeFileCtrl::SortChildren(HTREEITEM parent) {
    TVSORTCB sort = {};
    sort.hParent = parent;
    sort.lpfnCompare = &CTreeFileCtrl::CompareItems;
    sort.lParam = reinterpret_cast<LPARAM>(this);
    SortChildrenCB(&sort);
}

int CALLBACK CTreeFileCtrl::CompareItems(LPARAM first, LPARAM second, LPARAM param) {
    const auto* a = reinterpret_cast<const CTreeFileItem*>(first);
    const auto* b = reinterpret_cast<const CTreeFileItem*>(second);
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    const int order[] = {CTreeFileItem::kMyDocuments, CTreeFileItem::kMyComputer, CTreeFileItem::kNetwork};
    for (int kind : order) {
        if ((a->m_kind == kind) != (b->m_kind == kind)) {
            return a->m_kind == kind ? -1 : 1;
        }
    }
    if (a->m_file != b->m_file) {
        return a->m_file == 0 ? -1 : 1;
    }
    return a->m_displayName.CompareNoCase(b->m_displayName);
}

bool CTreeFileCtrl::EnumNetwork(HTREEITEM parent) {
    const CTreeFileItem* parentData = DataOf(parent);
    const NETRESOURCEA* resource = parentData != nullptr ? parentData->GetNetResource() : nullptr;
    const DWORD scope = resource != nullptr ? RESOURCE_GLOBALNET : RESOURCE_CONTEXT;
    CNetEnum enumeration(s_network.closeEnum);
    if (s_network.openEnum(scope, m_networkResourceType, 0, const_cast<LPNETRESOURCEA>(resource),
                           enumeration.Out()) != NO_ERROR) {
        return false;
    }
    std::vector<BYTE> buffer(kNetworkBufferBytes);
    for (;;) {
        DWORD count = static_cast<DWORD>(-1);
        DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD status = s_network.enumResource(enumeration.Get(), &count, buffer.data(), &size);
        if (status == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status == ERROR_NO_MORE_ITEMS) {
            return true;
        }
        if (status != NO_ERROR) {
            return false;
        }
        const auto* resources = reinterpret_cast<const NETRESOURCEA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const NETRESOURCEA& found = resources[i];
            if (!IsNetworkItemShown(found)) {
                continue;
            }
            const CString name = FileTreePaths::NetworkItemName(found.lpRemoteName, found.lpComment);
            auto data = std::make_unique<CTreeFileItem>();
            data->m_kind = CTreeFileItem::kNetwork;
            data->SetNetResource(found);
            data->m_path = found.lpRemoteName != nullptr && found.lpRemoteName[0] != '\0'
                               ? CString(found.lpRemoteName)
                               : name;
            data->m_displayName = name;
            int image = -1;
            int open = -1;
            if (found.dwDisplayType == RESOURCEDISPLAYTYPE_SHARE) {
                data->m_displayName = FileTreePaths::ShareText(name);
                image = GetIconIndex(data->m_path);
                open = GetOpenIconIndex(data->m_path);
            } else if (found.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) {
                image = m_computerIcon >= 0 ? m_computerIcon : GetIconIndex("\\\\" + name);
                open = m_computerOpenIcon >= 0 ? m_computerOpenIcon : GetOpenIconIndex("\\\\" + name);
            } else {
                image = GetItemIcon(m_networkItem);
                open = GetItemSelectedIcon(m_networkItem);
            }
            InsertFileItem(parent, std::move(data), false, image, open, false);
        }
    }
}

// --- Copying items --------------------------------------------------------------------------------

HTREEITEM CTreeFileCtrl::CopyItem(HTREEITEM item, HTREEITEM newParent, HTREEITEM after) {
    const CTreeFileItem* data = DataOf(item);
    if (data == nullptr) {
        return nullptr;
    }
    const CString text = GetItemText(item);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = newParent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPSTR>(text.GetString());
    GetItemImage(item, insert.item.iImage, insert.item.iSelectedImage);
    insert.item.cChildren = GetChildrenFlag(item);
    return InsertOwnedItem(insert, std::make_unique<CTreeFileItem>(*data));
}

HTREEITEM CTreeFileCtrl::CopyBranch(HTREEITEM item, HTREEITEM newParent, HTREEITEM after) {
    HTREEITEM copied = CopyItem(item, newParent, after);
    if (copied == nullptr) {
        return nullptr;
    }
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetNextSiblingItem(child)) {
        CopyBranch(child, copied, TVI_LAST);
    }
    return copied;
}

// --- Refreshing and populating ------------------------------------------------------------------

void CTreeFileCtrl::Initialize() {
    SetImageList(CShellIconList::Instance().GetHandle(), TVSIL_NORMAL);
    Refresh();
}

void CTreeFileCtrl::Refresh() {
    if (m_hWnd == nullptr) {
        return;
    }
    HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SetRedraw(FALSE);
    const SelectionMark mark = MarkSelection();

    CNetShareList::Instance().EnumShares();
    StopAllWatches();
    DeleteAllItems();
    m_history.Clear();
    m_topItem = TVI_ROOT;
    m_networkItem = m_desktopItem = m_myDocumentsItem = m_myComputerItem = m_rootItem = nullptr;

    if (!m_rootPath.IsEmpty()) {
        EnumFolder(m_rootPath, m_topItem, false, false);
        if (CanWatch(m_rootPath)) {
            StartWatch(m_rootPath);
        }
    } else {
        if (m_showDesktop) {
            m_desktopItem =
                InsertSpecialItem(TVI_ROOT, CSIDL_DESKTOP, CTreeFileItem::kDesktop, &m_desktopPath);
            if (m_desktopItem != nullptr) {
                m_topItem = m_desktopItem;
            }
        }
        AddSpecialRoots();
        if (m_desktopItem != nullptr && !m_desktopPath.IsEmpty()) {
            EnumFolder(m_desktopPath, m_desktopItem, false, false);
            SetChildrenFlag(m_desktopItem, 1);
        }
        if (m_desktopItem != nullptr) {
            Expand(m_desktopItem, TVE_EXPAND);
        }
    }
    RestoreSelection(mark);
    SetRedraw(TRUE);
    Invalidate();
    SetCursor(previousCursor);
}

void CTreeFileCtrl::DeleteChildren(HTREEITEM item) {
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetChildItem(item)) {
        CTreeCtrl::DeleteItem(child);
    }
}

void CTreeFileCtrl::CollapseAndReset(HTREEITEM item) {
    Expand(item, TVE_COLLAPSE);
    DeleteChildren(item);
}

// A parent left without children loses its expand button.
void CTreeFileCtrl::RemoveItem(HTREEITEM item) {
    HTREEITEM parent = GetParentItem(item);
    CTreeCtrl::DeleteItem(item);
    if (parent != nullptr && GetChildItem(parent) == nullptr) {
        SetChildrenFlag(parent, 0);
    }
}

void CTreeFileCtrl::PopulateItem(HTREEITEM item) {
    const CTreeFileItem* data = DataOf(item);
    if (item == m_topItem && m_rootPath.IsEmpty() && m_desktopItem != nullptr && data != nullptr &&
        data->m_kind == CTreeFileItem::kDesktop) {
        AddSpecialRoots();
        if (!m_desktopPath.IsEmpty()) {
            EnumFolder(m_desktopPath, item, false, false);
        }
        return;
    }
    if (data == nullptr) {
        return;
    }
    if (item == m_myComputerItem) {
        EnumDrives(item);
        return;
    }
    if (item == m_networkItem || (data->GetNetResource() != nullptr && !IsFolder(data->m_path))) {
        EnumNetwork(item);
        return;
    }
    if (data->m_path.IsEmpty()) {
        return;
    }
    if (!CheckMedia(data->m_path)) {
        CollapseAndReset(item);
        SetChildrenFlag(item, 0);
        return;
    }
    if (!IsFolder(data->m_path)) {
        RemoveItem(item);
        return;
    }
    EnumFolder(data->m_path, item, false, true);
    if (m_watching && IsDriveRoot(data->m_path)) {
        StartWatch(data->m_path);
    }
}

void CTreeFileCtrl::OnItemExpanding(NMHDR* header, LRESULT* result) {
    const auto* view = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM item = view->itemNew.hItem;
    *result = 0;
    if (view->action == TVE_EXPAND && GetChildrenFlag(item) != 0 && GetChildItem(item) == nullptr) {
        PopulateItem(item);
    }
}

// A collapsed item drops its children, so that the next expansion reads it afresh.
void CTreeFileCtrl::OnItemExpanded(NMHDR* header, LRESULT* result) {
    const auto* view = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM item = view->itemNew.hItem;
    *result = 0;
    if (view->action != TVE_COLLAPSE) {
        return;
    }
    const CTreeFileItem* data = DataOf(item);
    if (data != nullptr && IsDriveRoot(data->m_path)) {
        StopWatch(data->m_path);
    }
    const NETRESOURCEA* resource = data != nullptr ? data->GetNetResource() : nullptr;
    const bool keepFlag = resource == nullptr || resource->dwDisplayType == RESOURCEDISPLAYTYPE_SHARE;
    CollapseAndReset(item);
    SetChildrenFlag(item, keepFlag ? 1 : 0);
}
