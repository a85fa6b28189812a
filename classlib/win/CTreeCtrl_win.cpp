// Tree-view controls: thin wrappers of the TVM_* messages.
#include "classlib/win/CTreeCtrl.h"

#include "classlib/win/AfxInitCommonControls.h"

#include <vector>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(hwnd, message, wParam, lParam);
}

LPARAM ItemParam(HTREEITEM item) {
    return reinterpret_cast<LPARAM>(item);
}

// An item request naming the item and the fields it reads or writes.
TVITEMA ItemFields(HTREEITEM item, UINT mask) {
    TVITEMA data = {};
    data.mask = mask;
    data.hItem = item;
    return data;
}

HTREEITEM AsItem(LRESULT result) {
    return reinterpret_cast<HTREEITEM>(result);
}

}  // namespace

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    AfxInitCommonControls(ICC_TREEVIEW_CLASSES);
    return CWnd::Create(WC_TREEVIEWA, "", style | WS_CHILD, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCTA insert) {
    return AsItem(Send(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>(text);
    return InsertItem(&insert);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_DELETEITEM, 0, ItemParam(item)));
}

BOOL CTreeCtrl::DeleteAllItems() {
    return DeleteItem(TVI_ROOT);
}

BOOL CTreeCtrl::GetItem(TVITEMA* item) const {
    return static_cast<BOOL>(Send(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::SetItem(TVITEMA* item) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    std::vector<char> buffer(1024, '\0');
    TVITEMA data = ItemFields(item, TVIF_TEXT);
    data.pszText = buffer.data();
    data.cchTextMax = static_cast<int>(buffer.size());
    if (!GetItem(&data)) {
        return CString();
    }
    return CString(data.pszText);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text) {
    TVITEMA data = ItemFields(item, TVIF_TEXT);
    data.pszText = const_cast<LPSTR>(text);
    return SetItem(&data);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEMA data = ItemFields(item, TVIF_PARAM);
    return GetItem(&data) ? static_cast<DWORD_PTR>(data.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR value) {
    TVITEMA data = ItemFields(item, TVIF_PARAM);
    data.lParam = static_cast<LPARAM>(value);
    return SetItem(&data);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEMA data = ItemFields(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    if (!GetItem(&data)) {
        return FALSE;
    }
    image = data.iImage;
    selectedImage = data.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    TVITEMA data = ItemFields(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    data.iImage = image;
    data.iSelectedImage = selectedImage;
    return SetItem(&data);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
    return static_cast<UINT>(Send(m_hWnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask) {
    TVITEMA data = ItemFields(item, TVIF_STATE);
    data.state = state;
    data.stateMask = mask;
    return SetItem(&data);
}

BOOL CTreeCtrl::SetChildrenFlag(HTREEITEM item, int children) {
    TVITEMA data = ItemFields(item, TVIF_CHILDREN);
    data.cChildren = children;
    return SetItem(&data);
}

int CTreeCtrl::GetChildrenFlag(HTREEITEM item) const {
    TVITEMA data = ItemFields(item, TVIF_CHILDREN);
    return GetItem(&data) ? data.cChildren : 0;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
    return AsItem(Send(m_hWnd, TVM_GETNEXTITEM, code, ItemParam(item)));
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    return GetNextItem(nullptr, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PARENT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    if (item == TVI_ROOT) {
        return GetRootItem();
    }
    return GetNextItem(item, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXT);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PREVIOUS);
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    return GetNextItem(nullptr, TVGN_CARET);
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const {
    return GetNextItem(nullptr, TVGN_DROPHILITE);
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const {
    return GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
}

HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXTVISIBLE);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    return GetChildItem(item) != nullptr ? TRUE : FALSE;
}

UINT CTreeCtrl::GetCount() const {
    return static_cast<UINT>(Send(m_hWnd, TVM_GETCOUNT));
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_SELECTITEM, code, ItemParam(item)));
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
    return Select(item, TVGN_CARET);
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM item) {
    return Select(item, TVGN_DROPHILITE);
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_EXPAND, code, ItemParam(item)));
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_ENSUREVISIBLE, 0, ItemParam(item)));
}

BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB sort) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(sort)));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    *reinterpret_cast<HTREEITEM*>(rect) = item;
    return static_cast<BOOL>(Send(m_hWnd, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)));
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const {
    TVHITTESTINFO info = {};
    info.pt = point;
    HTREEITEM item = AsItem(Send(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags != nullptr) {
        *flags = info.flags;
    }
    return item;
}

UINT CTreeCtrl::GetIndent() const {
    return static_cast<UINT>(Send(m_hWnd, TVM_GETINDENT));
}

UINT CTreeCtrl::GetVisibleCount() const {
    return static_cast<UINT>(Send(m_hWnd, TVM_GETVISIBLECOUNT));
}

HIMAGELIST CTreeCtrl::SetImageList(HIMAGELIST list, int which) {
    return reinterpret_cast<HIMAGELIST>(
        Send(m_hWnd, TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
}

HIMAGELIST CTreeCtrl::GetImageList(int which) const {
    return reinterpret_cast<HIMAGELIST>(Send(m_hWnd, TVM_GETIMAGELIST, which));
}

HIMAGELIST CTreeCtrl::CreateDragImage(HTREEITEM item) {
    return reinterpret_cast<HIMAGELIST>(Send(m_hWnd, TVM_CREATEDRAGIMAGE, 0, ItemParam(item)));
}

HWND CTreeCtrl::EditLabel(HTREEITEM item) {
    return reinterpret_cast<HWND>(Send(m_hWnd, TVM_EDITLABELA, 0, ItemParam(item)));
}

HWND CTreeCtrl::GetEditControl() const {
    return reinterpret_cast<HWND>(Send(m_hWnd, TVM_GETEDITCONTROL));
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL cancel) {
    return static_cast<BOOL>(Send(m_hWnd, TVM_ENDEDITLABELNOW, cancel));
}
