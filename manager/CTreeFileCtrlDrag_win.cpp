#include "manager/CTreeFileCtrl.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kDragTimerId = 1;
constexpr UINT kDragTimerMs = 300;
constexpr int kTicksBeforeExpand = 3;

}  // namespace

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
    const bool copy = IsKeyDown(VK_CONTROL);
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
    DropItem(dragged, target, IsKeyDown(VK_CONTROL));
}

bool CTreeFileCtrl::DropItem(HTREEITEM dragged, HTREEITEM target, bool copy) {
    const CString from = ItemToPath(dragged);
    const CString to = ItemToPath(target);
    if (from.IsEmpty() || to.IsEmpty()) {
        return false;
    }
    FILEOP_FLAGS flags = FOF_NOCONFIRMMKDIR | FOF_SILENT;
    if (!IsKeyDown(VK_SHIFT)) {
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
        RemoveItem(dragged);
    }
    return true;
}
