// Tab controls: thin wrappers of the TCM_* messages.
#include "classlib/win/CTabCtrl.h"

#include "classlib/win/AfxInitCommonControls.h"
#include "classlib/win/CImageList.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    AfxInitCommonControls(ICC_TAB_CLASSES);
    return CWnd::Create(WC_TABCONTROLA, "", style, rect, parent, id);
}

int CTabCtrl::InsertItem(int index, LPCSTR text) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(text);  // read only on insertion
    return InsertItem(index, &item);
}

int CTabCtrl::InsertItem(int index, const TCITEMA* item) {
    return static_cast<int>(
        ::SendMessageA(m_hWnd, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

BOOL CTabCtrl::SetItem(int index, const TCITEMA* item) {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

BOOL CTabCtrl::GetItem(int index, TCITEMA* item) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

BOOL CTabCtrl::DeleteItem(int index) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_DELETEITEM, static_cast<WPARAM>(index), 0));
}

BOOL CTabCtrl::DeleteAllItems() {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_DELETEALLITEMS, 0, 0));
}

int CTabCtrl::GetItemCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
}

int CTabCtrl::GetCurSel() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0));
}

int CTabCtrl::SetCurSel(int index) {
    return static_cast<int>(::SendMessageA(m_hWnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

BOOL CTabCtrl::GetItemRect(int index, LPRECT rect) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

void CTabCtrl::AdjustRect(BOOL larger, LPRECT rect) {
    ::SendMessageA(m_hWnd, TCM_ADJUSTRECT, static_cast<WPARAM>(larger), reinterpret_cast<LPARAM>(rect));
}

HIMAGELIST CTabCtrl::SetImageList(CImageList* list) {
    const HIMAGELIST handle = list != nullptr ? list->m_hImageList : nullptr;
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(handle)));
}
