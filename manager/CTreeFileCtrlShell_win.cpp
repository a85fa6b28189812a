#include "classlib/win/CWinApp.h"
#include "link/CLogger.h"
#include "manager/CTreeFileCtrl.h"
#include "manager/FileTreePaths.h"

#include <shellapi.h>
#include <vector>

namespace {

// A path list for the shell's file operations: the path and two NULs.
std::vector<char> DoubleNulPath(const CString& path) {
    std::vector<char> list(path.GetString(), path.GetString() + path.GetLength());
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

}  // namespace

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

// The window the shell's dialogs of an operation belong to.
HWND CTreeFileCtrl::OwnerWindow() const {
    CWnd* owner = ActionTarget();
    return owner != nullptr ? owner->GetSafeHwnd() : m_hWnd;
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
    if (!IsKeyDown(VK_SHIFT)) {
        flags |= FOF_ALLOWUNDO;
    }
    if (ShellFileOperation(FO_DELETE, path, CString(), flags, OwnerWindow()) != 0) {
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
    const CString path = name.IsEmpty() ? MakeNewFolderName(folder) : FileTreePaths::JoinPath(folder, name);
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

// Runs verb (null: the default one) on the item's path through the shell.
bool CTreeFileCtrl::ExecuteItem(HTREEITEM item, LPCSTR verb) {
    const CString path = ItemToPath(item);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = OwnerWindow();
    info.lpVerb = verb;
    info.lpFile = path;
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}

bool CTreeFileCtrl::ShowProperties(HTREEITEM item) {
    return m_allowProperties && ExecuteItem(item, "properties");
}

bool CTreeFileCtrl::OpenItem(HTREEITEM item) {
    return m_allowOpen && ExecuteItem(item, nullptr);
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
    const CString parentPath = FileTreePaths::ParentFolderOf(data->m_path);
    const CString target = FileTreePaths::BuildRenameTarget(parentPath, text, extension);
    if (ShellFileOperation(FO_RENAME, data->m_path, target, FOF_ALLOWUNDO, OwnerWindow()) != 0) {
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
