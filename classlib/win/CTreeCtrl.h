// A tree-view control: thin wrappers of the TVM_* messages.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CWnd.h"

#include <commctrl.h>

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)

public:
    using CWnd::Create;
    // style: WS_* and TVS_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Inserting and deleting. Null when the control refused the item.
    HTREEITEM InsertItem(LPTVINSERTSTRUCTA insert);
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();

    // Item data: fills item (its mask, hItem and text buffer set by the caller).
    BOOL GetItem(TVITEMA* item) const;
    BOOL SetItem(TVITEMA* item);
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    // The children flag (the expand button shown before the children exist).
    BOOL SetChildrenFlag(HTREEITEM item, int children);
    int GetChildrenFlag(HTREEITEM item) const;

    // Navigation (TVGN_*). Null when there is no such item. The children of TVI_ROOT are
    // the top-level items.
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetSelectedItem() const;
    HTREEITEM GetDropHilightItem() const;
    HTREEITEM GetFirstVisibleItem() const;
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const;
    BOOL ItemHasChildren(HTREEITEM item) const;
    UINT GetCount() const;

    // Selection, expansion and view.
    BOOL Select(HTREEITEM item, UINT code);
    BOOL SelectItem(HTREEITEM item);
    BOOL SelectDropTarget(HTREEITEM item);
    // code: TVE_EXPAND, TVE_COLLAPSE (with TVE_COLLAPSERESET), TVE_TOGGLE.
    BOOL Expand(HTREEITEM item, UINT code);
    BOOL EnsureVisible(HTREEITEM item);
    BOOL SortChildrenCB(LPTVSORTCB sort);
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const;
    UINT GetIndent() const;
    UINT GetVisibleCount() const;

    // Images: which is TVSIL_NORMAL or TVSIL_STATE; the previous list's handle.
    HIMAGELIST SetImageList(HIMAGELIST list, int which);
    HIMAGELIST GetImageList(int which) const;
    // A drag image of the item; the caller destroys it.
    HIMAGELIST CreateDragImage(HTREEITEM item);

    // Label editing: starts it (the edit control's handle, or null); ends it.
    HWND EditLabel(HTREEITEM item);
    HWND GetEditControl() const;
    BOOL EndEditLabelNow(BOOL cancel);
};
