#include "manager/CTreeFileCtrl.h"

#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/CCmdUI.h"
#include "classlib/win/CDataExchange.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CWinApp.h"
#include "link/CLogger.h"
#include "manager/CNetShareList.h"
#include "manager/CShellIconList.h"
#include "manager/FileTreePaths.h"
#include "manager/res/ManagerResourceIds.h"

#include <commdlg.h>
#include <cstring>
#include <shellapi.h>
#include <vector>
#include <winnetwk.h>

IMPLEMENT_DYNAMIC(CTreeFileCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CTreeFileCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT_EX(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDEDA, OnItemExpanded)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMA, OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_FOLDER_CHANGED, OnFolderChanged)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, OnBeginDrag)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_COMMAND(ID_TREE_NEW_FOLDER, OnNewFolderCommand)
    ON_COMMAND(ID_TREE_NEW_ZIPPED, OnNewZippedCommand)
    ON_COMMAND(ID_TREE_DELETE, OnDeleteCommand)
    ON_COMMAND(ID_TREE_RENAME, OnRenameCommand)
    ON_COMMAND(ID_TREE_REFRESH, OnRefreshCommand)
    ON_UPDATE_COMMAND_UI(ID_TREE_NEW_FOLDER, OnUpdateNewFolder)
    ON_UPDATE_COMMAND_UI(ID_TREE_NEW_ZIPPED, OnUpdateNewZipped)
    ON_UPDATE_COMMAND_UI(ID_TREE_DELETE, OnUpdateDelete)
    ON_UPDATE_COMMAND_UI(ID_TREE_RENAME, OnUpdateRename)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kNetworkBufferBytes = 0x4000;
constexpr UINT_PTR kDragTimerId = 1;
constexpr UINT kDragTimerMs = 300;
constexpr int kTicksBeforeExpand = 3;
constexpr DWORD kNoSerial = static_cast<DWORD>(-1);

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

// Whether the path exists with the attribute flag set (set == true) or cleared.
bool HasAttribute(const CString& path, DWORD flag, bool set) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && ((attributes & flag) != 0) == set;
}

CString StripTrailingBackslash(const CString& path) {
    if (path.GetLength() > 3 && path[path.GetLength() - 1] == '\\') {
        return path.Left(path.GetLength() - 1);
    }
    return path;
}

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return !prefix.IsEmpty() && text.GetLength() >= prefix.GetLength() &&
           text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

// path is folder itself or lies below it ("Desktop Backup" is not below "Desktop").
bool IsInFolder(const CString& path, const CString& folder) {
    return StartsWithNoCase(path, folder) &&
           (path.GetLength() == folder.GetLength() || path[folder.GetLength()] == '\\');
}

// The folder holding path; a drive root keeps its backslash.
CString ParentFolderOf(const CString& path) {
    const int backslash = path.ReverseFind('\\');
    if (backslash < 0) {
        return CString();
    }
    return backslash == 2 ? path.Left(3) : path.Left(backslash);
}

CString JoinPath(const CString& folder, LPCSTR name) {
    CString path = folder;
    if (path.IsEmpty() || path[path.GetLength() - 1] != '\\') {
        path += '\\';
    }
    path += name;
    return path;
}

// A path list for the shell's file operations: the path and two NULs.
std::vector<char> DoubleNulPath(const CString& path) {
    std::vector<char> list(path.GetString(), path.GetString() + path.GetLength());
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

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

}  // namespace

CTreeFileCtrl::NetworkFunctions CTreeFileCtrl::s_network = {&WNetOpenEnumA, &WNetEnumResourceA,
                                                            &WNetCloseEnum};

void CTreeFileCtrl::SetNetworkFunctions(const NetworkFunctions& functions) {
    s_network = functions;
}

void CTreeFileCtrl::ResetNetworkFunctions() {
    s_network = {&WNetOpenEnumA, &WNetEnumResourceA, &WNetCloseEnum};
}

CTreeFileCtrl::CTreeFileCtrl() : m_watching(false) {
    m_filePatterns.Add("*.*");
    for (DWORD& serial : m_volumeSerials) {
        serial = kNoSerial;
    }
}

CTreeFileCtrl::~CTreeFileCtrl() {
    m_watches.clear();
    if (m_desktopFolder != nullptr) {
        m_desktopFolder->Release();
    }
}

void CTreeFileCtrl::PreSubclassWindow() {
    CTreeCtrl::PreSubclassWindow();
    if (m_desktopFolder == nullptr && FAILED(SHGetDesktopFolder(&m_desktopFolder))) {
        m_desktopFolder = nullptr;
        CLogger::Instance().Log(1000, "CTreeFileCtrl: no desktop shell folder.");
    }
    const HINSTANCE resources = AfxGetResourceHandle();
    m_copyCursor = LoadCursorA(resources, MAKEINTRESOURCEA(IDC_DRAG_COPY));
    m_copyRefusedCursor = LoadCursorA(resources, MAKEINTRESOURCEA(IDC_DRAG_COPY_NO));
    m_moveRefusedCursor = LoadCursorA(resources, MAKEINTRESOURCEA(IDC_DRAG_MOVE_NO));
    m_moveCursor = LoadCursor(nullptr, IDC_ARROW);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof computer;
    if (GetComputerNameA(computer, &length)) {
        const CString path = CString("\\\\") + computer;
        m_computerIcon = GetIconIndex(path);
        m_computerOpenIcon = GetOpenIconIndex(path);
    }
}

// --- Item data --------------------------------------------------------------------------------

CTreeFileItem* CTreeFileCtrl::DataOf(HTREEITEM item) const {
    if (item == nullptr || item == TVI_ROOT) {
        return nullptr;
    }
    return reinterpret_cast<CTreeFileItem*>(GetItemData(item));
}

const CTreeFileItem* CTreeFileCtrl::GetFileItem(HTREEITEM item) const {
    return DataOf(item);
}

CString CTreeFileCtrl::ItemToPath(HTREEITEM item) const {
    const CTreeFileItem* data = DataOf(item);
    return data != nullptr ? data->m_path : CString();
}

bool CTreeFileCtrl::IsSpecialItem(HTREEITEM item) const {
    const CTreeFileItem* data = DataOf(item);
    return data != nullptr && data->m_kind != CTreeFileItem::kFileSystem;
}

// --- Path tests ---------------------------------------------------------------------------------

bool CTreeFileCtrl::IsFile(const CString& path) const {
    return HasAttribute(path, FILE_ATTRIBUTE_DIRECTORY, false);
}

bool CTreeFileCtrl::IsFileItem(HTREEITEM item) const {
    return IsFile(ItemToPath(item));
}

bool CTreeFileCtrl::IsFolder(const CString& path) const {
    return HasAttribute(path, FILE_ATTRIBUTE_DIRECTORY, true);
}

bool CTreeFileCtrl::IsFolderItem(HTREEITEM item) const {
    return IsFolder(ItemToPath(item));
}

bool CTreeFileCtrl::IsDriveRoot(const CString& path) const {
    return FileTreePaths::IsDriveRoot(path);
}

bool CTreeFileCtrl::IsDriveRootItem(HTREEITEM item) const {
    return IsDriveRoot(ItemToPath(item));
}

bool CTreeFileCtrl::IsCompressed(const CString& path) const {
    return !IsDriveRoot(path) && HasAttribute(path, FILE_ATTRIBUTE_COMPRESSED, true);
}

bool CTreeFileCtrl::IsCompressedItem(HTREEITEM item) const {
    return IsCompressed(ItemToPath(item));
}

bool CTreeFileCtrl::IsEncrypted(const CString& path) const {
    return !IsDriveRoot(path) && HasAttribute(path, FILE_ATTRIBUTE_ENCRYPTED, true);
}

bool CTreeFileCtrl::IsEncryptedItem(HTREEITEM item) const {
    return IsEncrypted(ItemToPath(item));
}

bool CTreeFileCtrl::IsShared(const CString& path) const {
    return CNetShareList::Instance().IsShared(path);
}

bool CTreeFileCtrl::IsMediaDrive(const CString& path) const {
    if (!IsDriveRoot(path)) {
        return false;
    }
    const UINT type = GetDriveTypeA(path);
    return type == DRIVE_REMOVABLE || type == DRIVE_CDROM;
}

bool CTreeFileCtrl::IsFileShown(const WIN32_FIND_DATAA& entry) const {
    return m_showFiles && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (entry.dwFileAttributes & m_excludedFileAttributes) == 0;
}

bool CTreeFileCtrl::IsFolderShown(const WIN32_FIND_DATAA& entry) const {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0) {
        return false;
    }
    return (entry.dwFileAttributes & m_excludedFolderAttributes) == 0;
}

bool CTreeFileCtrl::IsDriveShown(const CString& root) const {
    DWORD bit = 0;
    switch (GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE:
        bit = 0x1;
        break;
    case DRIVE_FIXED:
        bit = 0x2;
        break;
    case DRIVE_REMOTE:
        bit = 0x4;
        break;
    case DRIVE_CDROM:
        bit = 0x10;
        break;
    case DRIVE_RAMDISK:
        bit = 0x20;
        break;
    default:
        return true;
    }
    return (m_hiddenDriveTypes & bit) == 0;
}

bool CTreeFileCtrl::IsNetworkItemShown(const NETRESOURCEA& resource) const {
    return true;
}

bool CTreeFileCtrl::CanWatch(const CString& path) const {
    const CString root = IsDriveRoot(path) ? path : path.Left(3);
    const UINT type = GetDriveTypeA(root);
    return type != DRIVE_REMOVABLE && type != DRIVE_CDROM;
}

bool CTreeFileCtrl::HasSubItems(const CString& path) const {
    if (IsMediaDrive(path)) {
        return true;
    }
    WIN32_FIND_DATAA entry = {};
    {
        CFindHandle find(FindFirstFileA(JoinPath(path, "*.*"), &entry));
        for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
            if (IsFolderShown(entry)) {
                return true;
            }
        }
    }
    for (INT_PTR i = 0; i < m_filePatterns.GetSize(); ++i) {
        CFindHandle find(FindFirstFileA(JoinPath(path, m_filePatterns[i]), &entry));
        for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
            if (IsFileShown(entry)) {
                return true;
            }
        }
    }
    return false;
}

// --- Icons and names ----------------------------------------------------------------------------

int CTreeFileCtrl::GetPidlIcon(LPCITEMIDLIST pidl) const {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) == 0) {
        return -1;
    }
    return info.iIcon;
}

int CTreeFileCtrl::GetPidlOpenIcon(LPCITEMIDLIST pidl) const {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON) == 0) {
        return -1;
    }
    return info.iIcon;
}

int CTreeFileCtrl::GetIconIndex(const CString& path) const {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) == 0) {
        return -1;
    }
    return info.iIcon;
}

int CTreeFileCtrl::GetOpenIconIndex(const CString& path) const {
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON) ==
        0) {
        return -1;
    }
    return info.iIcon;
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
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPSTR>(text.GetString());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.cChildren = checkChildren ? (HasSubItems(data->m_path) ? 1 : 0) : 1;
    insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
    if (shared) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = INDEXTOOVERLAYMASK(1);
        insert.item.stateMask = TVIS_OVERLAYMASK;
    }
    HTREEITEM item = InsertItem(&insert);
    if (item == nullptr) {
        return nullptr;
    }
    CTreeFileItem* key = data.get();
    m_items[key] = std::move(data);
    return item;
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
        for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetChildItem(parent)) {
            CTreeCtrl::DeleteItem(child);
        }
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
        WIN32_FIND_DATAA entry = {};
        {
            CFindHandle find(FindFirstFileA(JoinPath(path, "*.*"), &entry));
            for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
                if (IsFolderShown(entry) && InsertFolderEntry(parent, path, entry, false) != nullptr) {
                    added = true;
                }
            }
        }
        for (INT_PTR i = 0; i < m_filePatterns.GetSize(); ++i) {
            CFindHandle find(FindFirstFileA(JoinPath(path, m_filePatterns[i]), &entry));
            for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &entry) != 0) {
                if (IsFileShown(entry) && InsertFolderEntry(parent, path, entry, true) != nullptr) {
                    added = true;
                }
            }
        }
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
    auto copy = std::make_unique<CTreeFileItem>(*data);
    const CString text = GetItemText(item);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = newParent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPSTR>(text.GetString());
    GetItemImage(item, insert.item.iImage, insert.item.iSelectedImage);
    insert.item.cChildren = GetChildrenFlag(item);
    insert.item.lParam = reinterpret_cast<LPARAM>(copy.get());
    HTREEITEM inserted = InsertItem(&insert);
    if (inserted == nullptr) {
        return nullptr;
    }
    CTreeFileItem* key = copy.get();
    m_items[key] = std::move(copy);
    return inserted;
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
    const CString selectedPath = GetSelectedPath();
    HTREEITEM selected = GetSelectedItem();
    const bool wasExpanded =
        selected != nullptr && (GetItemState(selected, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;

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
    if (!selectedPath.IsEmpty()) {
        SelectPath(selectedPath, wasExpanded);
    }
    SetRedraw(TRUE);
    Invalidate();
    SetCursor(previousCursor);
}

void CTreeFileCtrl::CollapseAndReset(HTREEITEM item) {
    Expand(item, TVE_COLLAPSE);
    for (HTREEITEM child = GetChildItem(item); child != nullptr; child = GetChildItem(item)) {
        CTreeCtrl::DeleteItem(child);
    }
}

void CTreeFileCtrl::RemoveVanishedItem(HTREEITEM item) {
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
        RemoveVanishedItem(item);
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

bool CTreeFileCtrl::CheckMedia(const CString& path) {
    if (!IsMediaDrive(path)) {
        return true;
    }
    bool answered = false;
    const DWORD serial = GetVolumeSerial(path, answered);
    const int index = toupper(static_cast<unsigned char>(path[0])) - 'A';
    if (index >= 0 && index < 26) {
        m_volumeSerials[index] = answered ? serial : kNoSerial;
    }
    return answered;
}

DWORD CTreeFileCtrl::GetVolumeSerial(const CString& root, bool& answered) const {
    DWORD serial = 0;
    answered = GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) != 0;
    return serial;
}

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
        RemoveVanishedItem(item);
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

bool CTreeFileCtrl::GoBack() {
    HTREEITEM target = static_cast<HTREEITEM>(m_history.PopBack());
    if (target == nullptr) {
        return false;
    }
    HTREEITEM current = GetSelectedItem();
    m_navigating = true;
    SelectItem(target);
    EnsureVisible(target);
    m_navigating = false;
    if (current != nullptr) {
        m_history.PushForward(current);
    }
    return true;
}

bool CTreeFileCtrl::GoForward() {
    HTREEITEM target = static_cast<HTREEITEM>(m_history.PopForward());
    if (target == nullptr) {
        return false;
    }
    HTREEITEM current = GetSelectedItem();
    m_navigating = true;
    SelectItem(target);
    EnsureVisible(target);
    m_navigating = false;
    if (current != nullptr) {
        m_history.PushBack(current);
    }
    return true;
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

// Chooses the item a walk starts from and leaves the rest of the path to walk in rest.
HTREEITEM CTreeFileCtrl::StartItemOf(CString& rest, bool& firstKeepsBackslash) {
    firstKeepsBackslash = false;
    if (!m_rootPath.IsEmpty()) {
        rest = rest.Mid(StripTrailingBackslash(m_rootPath).GetLength());
        rest.TrimLeft('\\');
        return m_topItem;
    }
    if (m_showNetwork && rest.GetLength() > 2 && rest.Left(2) == "\\\\" && m_networkItem != nullptr) {
        if (GetChildItem(m_networkItem) == nullptr) {
            PopulateItem(m_networkItem);
        }
        Expand(m_networkItem, TVE_EXPAND);
        rest = rest.Mid(2);
        HTREEITEM servers = FindServerParent(m_networkItem);
        return servers;
    }
    if (m_desktopItem != nullptr && IsInFolder(rest, m_desktopPath)) {
        rest = rest.Mid(m_desktopPath.GetLength());
        rest.TrimLeft('\\');
        Expand(m_desktopItem, TVE_EXPAND);
        return m_desktopItem;
    }
    if (m_myDocumentsItem != nullptr && IsInFolder(rest, m_myDocumentsPath)) {
        rest = rest.Mid(m_myDocumentsPath.GetLength());
        rest.TrimLeft('\\');
        if (GetChildItem(m_myDocumentsItem) == nullptr) {
            PopulateItem(m_myDocumentsItem);
        }
        Expand(m_myDocumentsItem, TVE_EXPAND);
        return m_myDocumentsItem;
    }
    firstKeepsBackslash = true;
    HTREEITEM computer = m_myComputerItem != nullptr ? m_myComputerItem : m_topItem;
    if (computer != TVI_ROOT && GetChildItem(computer) == nullptr) {
        PopulateItem(computer);
    }
    Expand(computer, TVE_EXPAND);
    return computer;
}

HTREEITEM CTreeFileCtrl::WalkPath(const CString& path, bool select, bool expandLast) {
    CString rest = path;
    bool firstKeepsBackslash = false;
    HTREEITEM item = StartItemOf(rest, firstKeepsBackslash);
    if (item == nullptr) {
        return nullptr;
    }
    if (rest.IsEmpty()) {
        if (select) {
            SelectItem(item);
        }
        return item;
    }
    const bool wholeIsDrive = IsDriveRoot(path);
    bool first = true;
    while (!rest.IsEmpty()) {
        int backslash = rest.Find('\\');
        CString component;
        if (backslash < 0) {
            component = rest;
            rest.Empty();
        } else {
            component = rest.Left(first && firstKeepsBackslash ? backslash + 1 : backslash);
            rest = rest.Mid(backslash + 1);
        }
        first = false;
        if (component.IsEmpty()) {
            continue;
        }
        HTREEITEM child = FindChild(item, component);
        if (child == nullptr) {
            return nullptr;
        }
        item = child;
        const bool last = rest.IsEmpty();
        if (!select) {
            continue;
        }
        SelectItem(item);
        if ((!last && !wholeIsDrive) || (last && expandLast)) {
            if (GetChildrenFlag(item) != 0 && GetChildItem(item) == nullptr) {
                PopulateItem(item);
            }
            Expand(item, TVE_EXPAND);
        }
    }
    return item;
}

HTREEITEM CTreeFileCtrl::SelectPath(const CString& path, bool expand) {
    if (path.IsEmpty()) {
        return nullptr;
    }
    if (!m_rootPath.IsEmpty() && !StartsWithNoCase(path, StripTrailingBackslash(m_rootPath))) {
        return nullptr;
    }
    SetRedraw(FALSE);
    HTREEITEM item = WalkPath(StripTrailingBackslash(path), true, expand);
    if (item != nullptr) {
        EnsureVisible(item);
    }
    SetRedraw(TRUE);
    Invalidate();
    return item;
}

// Walks only the items that exist: nothing is filled, selected or expanded.
HTREEITEM CTreeFileCtrl::PathToItem(const CString& path) const {
    if (path.IsEmpty()) {
        return nullptr;
    }
    CString rest = StripTrailingBackslash(path);
    HTREEITEM item = nullptr;
    bool firstKeepsBackslash = false;
    if (!m_rootPath.IsEmpty()) {
        if (!StartsWithNoCase(rest, StripTrailingBackslash(m_rootPath))) {
            return nullptr;
        }
        rest = rest.Mid(StripTrailingBackslash(m_rootPath).GetLength());
        rest.TrimLeft('\\');
        item = m_topItem;
    } else if (m_desktopItem != nullptr && IsInFolder(rest, m_desktopPath)) {
        rest = rest.Mid(m_desktopPath.GetLength());
        rest.TrimLeft('\\');
        item = m_desktopItem;
    } else if (m_myDocumentsItem != nullptr && IsInFolder(rest, m_myDocumentsPath)) {
        rest = rest.Mid(m_myDocumentsPath.GetLength());
        rest.TrimLeft('\\');
        item = m_myDocumentsItem;
    } else {
        item = m_myComputerItem != nullptr ? m_myComputerItem : m_topItem;
        firstKeepsBackslash = true;
    }
    bool first = true;
    while (item != nullptr && !rest.IsEmpty()) {
        const int backslash = rest.Find('\\');
        CString component;
        if (backslash < 0) {
            component = rest;
            rest.Empty();
        } else {
            component = rest.Left(first && firstKeepsBackslash ? backslash + 1 : backslash);
            rest = rest.Mid(backslash + 1);
        }
        first = false;
        if (!component.IsEmpty()) {
            item = FindChild(item, component);
        }
    }
    return item;
}

// --- Shell operations ---------------------------------------------------------------------------

CWnd* CTreeFileCtrl::ActionTarget() const {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->GetSafeHwnd() != nullptr) {
        return main;
    }
    return GetParent();
}

void CTreeFileCtrl::SendFileAction(FileAction action, const CString& path) {
    CWnd* target = ActionTarget();
    if (target == nullptr) {
        return;
    }
    target->SendMessage(WM_TREE_FILE_ACTION, action, reinterpret_cast<LPARAM>(&path));
}

int CTreeFileCtrl::ShellFileOperation(UINT operation,
                                      const CString& from,
                                      const CString& to,
                                      FILEOP_FLAGS flags,
                                      HWND owner) {
    std::vector<char> fromList = DoubleNulPath(from);
    std::vector<char> toList = DoubleNulPath(to);
    SHFILEOPSTRUCTA operationData = {};
    operationData.hwnd = owner;
    operationData.wFunc = operation;
    operationData.pFrom = fromList.data();
    operationData.pTo = to.IsEmpty() ? nullptr : toList.data();
    operationData.fFlags = flags;
    const bool watching = m_watching.exchange(false);
    const int result = SHFileOperationA(&operationData);
    m_watching = watching;
    if (result != 0) {
        CLogger::Instance().Log(1000, "CTreeFileCtrl: the shell's file operation %u on %s failed (%d).",
                                operation, from.GetString(), result);
        return result;
    }
    return operationData.fAnyOperationsAborted ? -1 : 0;
}

bool CTreeFileCtrl::MayChangeItem(HTREEITEM item, bool allowed) const {
    const CTreeFileItem* data = DataOf(item);
    return allowed && data != nullptr && !IsDriveRoot(data->m_path) &&
           data->m_kind == CTreeFileItem::kFileSystem;
}

bool CTreeFileCtrl::RenameItem(HTREEITEM item) {
    if (!MayChangeItem(item, m_allowRename)) {
        return false;
    }
    return EditLabel(item) != nullptr;
}

bool CTreeFileCtrl::DeleteItem(HTREEITEM item) {
    if (!MayChangeItem(item, m_allowDelete)) {
        return false;
    }
    const CString path = ItemToPath(item);
    FILEOP_FLAGS flags = 0;
    if (!KeyDown(VK_SHIFT)) {
        flags |= FOF_ALLOWUNDO;
    }
    CWnd* owner = ActionTarget();
    if (ShellFileOperation(FO_DELETE, path, CString(), flags,
                           owner != nullptr ? owner->GetSafeHwnd() : m_hWnd) != 0) {
        return false;
    }
    HTREEITEM next = GetPrevSiblingItem(item);
    if (next == nullptr) {
        next = GetNextSiblingItem(item);
    }
    HTREEITEM parent = GetParentItem(item);
    const bool toParent = next == nullptr;
    if (toParent) {
        next = parent;
    }
    CTreeCtrl::DeleteItem(item);
    if (next != nullptr) {
        SelectItem(next);
    }
    if (toParent && parent != nullptr) {
        SetChildrenFlag(parent, 0);
    }
    return true;
}

HTREEITEM CTreeFileCtrl::NewFolder(HTREEITEM parent, const CString& name) {
    const CTreeFileItem* parentData = DataOf(parent);
    if (!m_allowNewFolder || parentData == nullptr || parentData->m_kind == CTreeFileItem::kNetwork) {
        return nullptr;
    }
    const CString folder = parentData->m_path;
    const CString path = name.IsEmpty() ? MakeNewFolderName(folder) : JoinPath(folder, name);
    StopAllWatches();
    if (!CreateDirectoryA(path, nullptr)) {
        CLogger::Instance().Log(1000, "CTreeFileCtrl: the folder %s could not be made (%lu).",
                                path.GetString(), GetLastError());
        return nullptr;
    }
    SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, path.GetString(), nullptr);
    const bool hadChildren = GetChildItem(parent) != nullptr;
    Expand(parent, TVE_EXPAND);
    // Looked up below the parent the expansion has just listed, whichever way it was reached.
    HTREEITEM item = FindChild(parent, FileTreePaths::LastComponent(path));
    if (item == nullptr) {
        auto data = std::make_unique<CTreeFileItem>();
        data->m_path = path;
        data->m_displayName = FileTreePaths::LastComponent(path);
        item =
            InsertFileItem(parent, std::move(data), false, GetIconIndex(path), GetOpenIconIndex(path), false);
        SetChildrenFlag(item, 0);
    }
    if (item == nullptr) {
        return nullptr;
    }
    if (!hadChildren) {
        SetChildrenFlag(parent, 1);
    }
    SelectItem(item);
    EditLabel(item);
    return item;
}

bool CTreeFileCtrl::ShowProperties(HTREEITEM item) {
    if (!m_allowProperties) {
        return false;
    }
    const CString path = ItemToPath(item);
    CWnd* owner = ActionTarget();
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner != nullptr ? owner->GetSafeHwnd() : m_hWnd;
    info.lpVerb = "properties";
    info.lpFile = path;
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}

bool CTreeFileCtrl::OpenItem(HTREEITEM item) {
    if (!m_allowOpen) {
        return false;
    }
    const CString path = ItemToPath(item);
    CWnd* owner = ActionTarget();
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner != nullptr ? owner->GetSafeHwnd() : m_hWnd;
    info.lpFile = path;
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}

void CTreeFileCtrl::OnBeginLabelEdit(NMHDR* header, LRESULT* result) {
    const auto* info = reinterpret_cast<const NMTVDISPINFOA*>(header);
    *result = MayChangeItem(info->item.hItem, m_allowRename) ? FALSE : TRUE;
}

void CTreeFileCtrl::OnEndLabelEdit(NMHDR* header, LRESULT* result) {
    const auto* info = reinterpret_cast<const NMTVDISPINFOA*>(header);
    *result = FALSE;
    HTREEITEM item = info->item.hItem;
    CTreeFileItem* data = DataOf(item);
    if (info->item.pszText == nullptr || data == nullptr) {
        return;
    }
    CString text = info->item.pszText;
    if (!FileTreePaths::IsValidItemName(text)) {
        CLogger::Instance().Log(1000, "CTreeFileCtrl: \"%s\" is no name for %s.", text.GetString(),
                                data->m_path.GetString());
        return;
    }
    const CString extension = data->m_shellTitle != 0 ? FileTreePaths::ExtensionOf(data->m_path) : CString();
    const CString parentPath = ParentFolderOf(data->m_path);
    const CString target = FileTreePaths::BuildRenameTarget(parentPath, text, extension);
    CWnd* owner = ActionTarget();
    if (ShellFileOperation(FO_RENAME, data->m_path, target, FOF_ALLOWUNDO,
                           owner != nullptr ? owner->GetSafeHwnd() : m_hWnd) != 0) {
        return;
    }
    const CString newText = text + extension;
    SetItemText(item, newText);
    data->m_path = target;
    data->m_displayName = newText;
    if (data->m_shellTitle == 0) {
        SetItemImage(item, GetIconIndex(target), GetOpenIconIndex(target));
    }
}

// --- Notifications, keys and the context menu ---------------------------------------------------

void CTreeFileCtrl::OnDeleteItem(NMHDR* header, LRESULT* result) {
    const auto* view = reinterpret_cast<const NMTREEVIEWA*>(header);
    m_history.Forget(view->itemOld.hItem);
    m_items.erase(reinterpret_cast<CTreeFileItem*>(view->itemOld.lParam));
    *result = 0;
}

void CTreeFileCtrl::OnDblClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    HTREEITEM item = GetSelectedItem();
    if (item == nullptr || GetChildrenFlag(item) != 0) {
        return;
    }
    SendFileAction(kOpenFile, ItemToPath(item));
}

void CTreeFileCtrl::OnRightClick(NMHDR* header, LRESULT* result) {
    *result = 1;
    POINT cursor;
    GetCursorPos(&cursor);
    POINT client = cursor;
    ScreenToClient(&client);
    HTREEITEM item = HitTest(client);
    if (item != nullptr) {
        SelectItem(item);
    }
    OpenContextMenu(CPoint(cursor.x, cursor.y));
}

void CTreeFileCtrl::OnContextMenu(CWnd* wnd, CPoint point) {
    OpenContextMenu(point);
}

void CTreeFileCtrl::OpenContextMenu(CPoint screenPoint) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_TREE_MENU)) {
        CLogger::Instance().Log(1000, "CTreeFileCtrl: the context menu is missing.");
        return;
    }
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr) {
        return;
    }
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
}

void CTreeFileCtrl::OnCustomDraw(NMHDR* header, LRESULT* result) {
    auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(header);
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || (draw->nmcd.uItemState & CDIS_SELECTED) != 0) {
        return;
    }
    HTREEITEM item = reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec);
    if (m_showCompressed && IsCompressedItem(item)) {
        draw->clrText = m_compressedColor;
    } else if (m_showEncrypted && IsEncryptedItem(item)) {
        draw->clrText = m_encryptedColor;
    }
}

void CTreeFileCtrl::OpenMenuAtSelection() {
    HTREEITEM selected = GetSelectedItem();
    RECT rect = {0, 0, 0, 0};
    if (selected != nullptr) {
        GetItemRect(selected, &rect, TRUE);
    }
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(&centre);
    OpenContextMenu(CPoint(centre.x, centre.y));
}

bool CTreeFileCtrl::HandleKey(const MSG& msg) {
    HTREEITEM selected = GetSelectedItem();
    const UINT key = static_cast<UINT>(msg.wParam);
    if (key == VK_APPS || (key == VK_F10 && KeyDown(VK_SHIFT))) {
        OpenMenuAtSelection();
        return true;
    }
    if (msg.message == WM_SYSKEYDOWN) {
        switch (key) {
        case VK_RETURN:
            ShowProperties(selected);
            return true;
        case VK_LEFT:
            GoBack();
            return true;
        case VK_RIGHT:
            GoForward();
            return true;
        default:
            return false;
        }
    }
    switch (key) {
    case VK_F2:
        RenameItem(selected);
        return true;
    case VK_DELETE:
        DeleteItem(selected);
        return true;
    case VK_F5:
        Refresh();
        return true;
    case VK_RETURN:
        if (selected != nullptr) {
            SendFileAction(kOpenFile, ItemToPath(selected));
        }
        return true;
    case VK_BACK:
        GoUp();
        return true;
    case VK_ESCAPE:
        if (m_dragItem == nullptr) {
            return false;
        }
        EndDrag(true);
        return true;
    default:
        return false;
    }
}

BOOL CTreeFileCtrl::PreTranslateMessage(MSG* msg) {
    HWND edit = GetEditControl();
    if (edit != nullptr && msg->hwnd == edit && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR)) {
        TranslateMessage(msg);
        DispatchMessageA(msg);
        return TRUE;
    }
    if (msg->hwnd != m_hWnd || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) {
        return CTreeCtrl::PreTranslateMessage(msg);
    }
    if (HandleKey(*msg)) {
        return TRUE;
    }
    return CTreeCtrl::PreTranslateMessage(msg);
}

void CTreeFileCtrl::OnNewFolderCommand() {
    NewFolder(GetSelectedItem(), CString());
}

void CTreeFileCtrl::OnNewZippedCommand() {
    HTREEITEM selected = GetSelectedItem();
    const CTreeFileItem* data = DataOf(selected);
    if (data == nullptr || data->m_kind == CTreeFileItem::kNetwork) {
        return;
    }
    SendFileAction(kMakeZipped, data->m_path);
}

void CTreeFileCtrl::OnDeleteCommand() {
    DeleteItem(GetSelectedItem());
}

void CTreeFileCtrl::OnRenameCommand() {
    RenameItem(GetSelectedItem());
}

void CTreeFileCtrl::OnRefreshCommand() {
    Refresh();
}

void CTreeFileCtrl::OnUpdateNewFolder(CCmdUI* item) {
    HTREEITEM selected = GetSelectedItem();
    item->Enable(selected != nullptr && m_allowNewFolder && IsFolder(ItemToPath(selected)));
}

// Making a zipped file from the tree is not offered in this program.
void CTreeFileCtrl::OnUpdateNewZipped(CCmdUI* item) {
    item->Enable(FALSE);
}

void CTreeFileCtrl::OnUpdateDelete(CCmdUI* item) {
    item->Enable(MayChangeItem(GetSelectedItem(), m_allowDelete));
}

void CTreeFileCtrl::OnUpdateRename(CCmdUI* item) {
    item->Enable(MayChangeItem(GetSelectedItem(), m_allowRename));
}

// --- Dragging -----------------------------------------------------------------------------------

bool CTreeFileCtrl::CanDrag(HTREEITEM item) const {
    const CString path = ItemToPath(item);
    return !IsDriveRoot(path) && (IsFile(path) || IsFolder(path));
}

HTREEITEM CTreeFileCtrl::GetDropTarget(HTREEITEM item) const {
    if (item == nullptr || IsFileItem(item) || item == m_dragItem || item == GetParentItem(m_dragItem) ||
        !IsFolderItem(item)) {
        return nullptr;
    }
    for (HTREEITEM above = GetParentItem(item); above != nullptr; above = GetParentItem(above)) {
        if (above == m_dragItem) {
            return nullptr;
        }
    }
    return item;
}

void CTreeFileCtrl::OnBeginDrag(NMHDR* header, LRESULT* result) {
    const auto* view = reinterpret_cast<const NMTREEVIEWA*>(header);
    *result = 0;
    HTREEITEM item = view->itemNew.hItem;
    if (!m_allowDrag || m_dragItem != nullptr || !CanDrag(item)) {
        return;
    }
    m_dragImage = CreateDragImage(item);
    if (m_dragImage == nullptr) {
        return;
    }
    m_dragItem = item;
    m_dropTarget = nullptr;
    m_expandTicks = 0;
    RECT rect = {0, 0, 0, 0};
    GetItemRect(item, &rect, TRUE);
    ImageList_BeginDrag(m_dragImage, 0, view->ptDrag.x - rect.left + static_cast<int>(GetIndent()),
                        view->ptDrag.y - rect.top);
    ImageList_DragEnter(m_hWnd, view->ptDrag.x, view->ptDrag.y);
    SetCapture();
    m_dragTimer = SetTimer(kDragTimerId, kDragTimerMs);
}

void CTreeFileCtrl::OnMouseMove(UINT flags, CPoint point) {
    if (m_dragItem == nullptr) {
        CTreeCtrl::OnMouseMove(flags, point);
        return;
    }
    ImageList_DragMove(point.x, point.y);
    RECT client;
    GetClientRect(&client);
    HTREEITEM hit = PtInRect(&client, point) ? HitTest(point) : nullptr;
    HTREEITEM target = GetDropTarget(hit);
    if (hit != GetDropHilightItem()) {
        ImageList_DragShowNolock(FALSE);
        SelectDropTarget(hit);
        ImageList_DragShowNolock(TRUE);
        m_expandTicks = 0;
    }
    m_dropTarget = target;
    const bool copy = KeyDown(VK_CONTROL);
    HCURSOR cursor = copy ? (target != nullptr ? m_copyCursor : m_copyRefusedCursor)
                          : (target != nullptr ? m_moveCursor : m_moveRefusedCursor);
    if (cursor != nullptr) {
        SetCursor(cursor);
    }
}

void CTreeFileCtrl::OnLButtonUp(UINT flags, CPoint point) {
    if (m_dragItem == nullptr) {
        CTreeCtrl::OnLButtonUp(flags, point);
        return;
    }
    RECT client;
    GetClientRect(&client);
    EndDrag(!PtInRect(&client, point));
}

void CTreeFileCtrl::OnTimer(UINT_PTR id) {
    if (id != kDragTimerId || m_dragItem == nullptr) {
        CTreeCtrl::OnTimer(id);
        return;
    }
    ScrollDuringDrag();
    HTREEITEM target = GetDropHilightItem();
    if (target == nullptr || (GetItemState(target, TVIS_EXPANDED) & TVIS_EXPANDED) != 0) {
        m_expandTicks = 0;
        return;
    }
    if (++m_expandTicks >= kTicksBeforeExpand) {
        ImageList_DragShowNolock(FALSE);
        Expand(target, TVE_EXPAND);
        ImageList_DragShowNolock(TRUE);
        m_expandTicks = 0;
    }
}

// Near the top or bottom edge the tree scrolls one line and highlights the item come into view.
void CTreeFileCtrl::ScrollDuringDrag() {
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    RECT client;
    GetClientRect(&client);
    HTREEITEM first = GetFirstVisibleItem();
    RECT itemRect = {0, 0, 0, 0};
    if (first == nullptr || !GetItemRect(first, &itemRect, FALSE)) {
        return;
    }
    const int margin = 2 * (itemRect.bottom - itemRect.top);
    HTREEITEM highlight = nullptr;
    if (cursor.y < client.top + margin) {
        SendMessage(WM_VSCROLL, SB_LINEUP, 0);
        highlight = GetFirstVisibleItem();
    } else if (cursor.y > client.bottom - margin) {
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        HTREEITEM last = GetFirstVisibleItem();
        for (UINT i = 1; last != nullptr && i < GetVisibleCount(); ++i) {
            HTREEITEM next = GetNextVisibleItem(last);
            if (next == nullptr) {
                break;
            }
            last = next;
        }
        highlight = last;
    }
    if (highlight != nullptr) {
        ImageList_DragShowNolock(FALSE);
        SelectDropTarget(highlight);
        ImageList_DragShowNolock(TRUE);
        m_dropTarget = GetDropTarget(highlight);
    }
}

void CTreeFileCtrl::EndDrag(bool cancelled) {
    if (m_dragTimer != 0) {
        KillTimer(m_dragTimer);
        m_dragTimer = 0;
    }
    ImageList_DragLeave(m_hWnd);
    ImageList_EndDrag();
    if (m_dragImage != nullptr) {
        ImageList_Destroy(m_dragImage);
        m_dragImage = nullptr;
    }
    ReleaseCapture();
    SelectDropTarget(nullptr);
    HTREEITEM dragged = m_dragItem;
    HTREEITEM target = m_dropTarget;
    m_dragItem = nullptr;
    m_dropTarget = nullptr;
    if (cancelled || target == nullptr) {
        return;
    }
    DropItem(dragged, target, KeyDown(VK_CONTROL));
}

bool CTreeFileCtrl::DropItem(HTREEITEM dragged, HTREEITEM target, bool copy) {
    const CString from = ItemToPath(dragged);
    const CString to = ItemToPath(target);
    if (from.IsEmpty() || to.IsEmpty()) {
        return false;
    }
    FILEOP_FLAGS flags = FOF_NOCONFIRMMKDIR | FOF_SILENT;
    if (!KeyDown(VK_SHIFT)) {
        flags |= FOF_ALLOWUNDO;
    }
    if (ShellFileOperation(copy ? FO_COPY : FO_MOVE, from, to, flags, m_hWnd) != 0) {
        return false;
    }
    if (!HasChildNamed(target, GetItemText(dragged))) {
        CollapseAndReset(target);
        SelectItem(target);
        SetChildrenFlag(target, 1);
    }
    if (!copy) {
        HTREEITEM oldParent = GetParentItem(dragged);
        CTreeCtrl::DeleteItem(dragged);
        if (oldParent != nullptr && GetChildItem(oldParent) == nullptr) {
            SetChildrenFlag(oldParent, 0);
        }
    }
    return true;
}

// --- Folder watching ----------------------------------------------------------------------------

void CTreeFileCtrl::StartWatch(const CString& path) {
    auto watch = std::make_unique<CFolderWatchThread>(path, m_hWnd, m_nextWatchId++, m_showFiles, m_watching);
    if (!watch->Start()) {
        return;
    }
    m_watches.push_back(std::move(watch));
}

void CTreeFileCtrl::StopWatch(const CString& path) {
    CString folder = path;
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '\\') {
        folder += '\\';
    }
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
    const CString selectedPath = GetSelectedPath();
    HTREEITEM selected = GetSelectedItem();
    const bool wasExpanded =
        selected != nullptr && (GetItemState(selected, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    SetRedraw(FALSE);
    HTREEITEM item = PathToItem(watched);
    if (item == nullptr && !m_rootPath.IsEmpty() &&
        watched.CompareNoCase(StripTrailingBackslash(m_rootPath)) == 0) {
        item = m_topItem;
    }
    if (item != nullptr) {
        EnumFolder(watched, item, false, true);
    }
    if (!selectedPath.IsEmpty()) {
        SelectPath(selectedPath, wasExpanded);
    }
    SetRedraw(TRUE);
    Invalidate();
    return 0;
}

void CTreeFileCtrl::OnDestroy() {
    StopAllWatches();
    DeleteAllItems();
    m_items.clear();
    CTreeCtrl::OnDestroy();
}

void DDX_FileTreeValue(CDataExchange* exchange, CTreeFileCtrl& tree, CString& path) {
    if (exchange->m_bSaveAndValidate) {
        path = tree.GetSelectedPath();
        return;
    }
    tree.SelectPath(path, false);
}
