#include "manager/CTreeFileCtrl.h"

#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/CCmdUI.h"
#include "classlib/win/CDataExchange.h"
#include "classlib/win/CWinApp.h"
#include "link/CLogger.h"
#include "manager/CNetShareList.h"
#include "manager/FileTreePaths.h"
#include "manager/res/ManagerResourceIds.h"

#include <cctype>
#include <cstring>
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

constexpr DWORD kNoSerial = static_cast<DWORD>(-1);

// Whether the path exists with the attribute flag set (set == true) or cleared.
bool HasAttribute(const CString& path, DWORD flag, bool set) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && ((attributes & flag) != 0) == set;
}

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

bool CTreeFileCtrl::IsKeyDown(int key) {
    return GetKeyState(key) < 0;
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
