#include "classlib/win/CCmdUI.h"
#include "classlib/win/CMenu.h"
#include "link/CLogger.h"
#include "manager/CTreeFileCtrl.h"
#include "manager/res/ManagerResourceIds.h"

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
    if (key == VK_APPS || (key == VK_F10 && IsKeyDown(VK_SHIFT))) {
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
