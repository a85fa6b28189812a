// Extended combo boxes: thin wrappers of the CBEM_* and CB_* messages.
#include "classlib/win/CComboBoxEx.h"

#include "classlib/win/AfxInitCommonControls.h"
#include "classlib/win/CImageList.h"

IMPLEMENT_DYNAMIC(CComboBoxEx, CWnd)

BOOL CComboBoxEx::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    AfxInitCommonControls(ICC_USEREX_CLASSES);
    return CWnd::Create(WC_COMBOBOXEXA, "", style, rect, parent, id);
}

int CComboBoxEx::InsertItem(const COMBOBOXEXITEMA* item) {
    return static_cast<int>(::SendMessageA(m_hWnd, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

int CComboBoxEx::DeleteItem(int index) {
    return static_cast<int>(::SendMessageA(m_hWnd, CBEM_DELETEITEM, static_cast<WPARAM>(index), 0));
}

BOOL CComboBoxEx::GetItem(COMBOBOXEXITEMA* item) const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CComboBoxEx::SetItem(const COMBOBOXEXITEMA* item) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, CBEM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

HIMAGELIST CComboBoxEx::SetImageList(CImageList* list) {
    const HIMAGELIST handle = list != nullptr ? list->m_hImageList : nullptr;
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(handle)));
}

int CComboBoxEx::GetCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0));
}

int CComboBoxEx::GetCurSel() const {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0));
}

int CComboBoxEx::SetCurSel(int index) {
    return static_cast<int>(::SendMessageA(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

void CComboBoxEx::ResetContent() {
    ::SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0);
}

HWND CComboBoxEx::GetComboBoxCtrl() const {
    return reinterpret_cast<HWND>(::SendMessageA(m_hWnd, CBEM_GETCOMBOCONTROL, 0, 0));
}
