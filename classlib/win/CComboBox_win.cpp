// Combo boxes: thin wrappers of the CB_* messages.
#include "classlib/win/CComboBox.h"

#include <vector>

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(hwnd, message, wParam, lParam);
}

LPARAM TextParam(LPCSTR text) {
    return reinterpret_cast<LPARAM>(text);
}

}  // namespace

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("COMBOBOX", "", style, rect, parent, id);
}

int CComboBox::AddString(LPCSTR text) {
    return static_cast<int>(Send(m_hWnd, CB_ADDSTRING, 0, TextParam(text)));
}

int CComboBox::InsertString(int index, LPCSTR text) {
    return static_cast<int>(Send(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text)));
}

int CComboBox::DeleteString(UINT index) {
    return static_cast<int>(Send(m_hWnd, CB_DELETESTRING, index));
}

void CComboBox::ResetContent() {
    Send(m_hWnd, CB_RESETCONTENT);
}

int CComboBox::GetCount() const {
    return static_cast<int>(Send(m_hWnd, CB_GETCOUNT));
}

int CComboBox::GetCurSel() const {
    return static_cast<int>(Send(m_hWnd, CB_GETCURSEL));
}

int CComboBox::SetCurSel(int index) {
    return static_cast<int>(Send(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index)));
}

DWORD_PTR CComboBox::GetItemData(int index) const {
    return static_cast<DWORD_PTR>(Send(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
    return static_cast<int>(
        Send(m_hWnd, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

int CComboBox::GetLBTextLen(int index) const {
    return static_cast<int>(Send(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
}

void CComboBox::GetLBText(int index, CString& text) const {
    const int length = GetLBTextLen(index);
    if (length == CB_ERR) {
        text = "";
        return;
    }
    // The buffer is sized from the control's own answer, so the copy cannot overrun it.
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    Send(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    text = buffer.data();
}

int CComboBox::SelectString(int start, LPCSTR prefix) {
    return static_cast<int>(Send(m_hWnd, CB_SELECTSTRING, static_cast<WPARAM>(start), TextParam(prefix)));
}

int CComboBox::FindStringExact(int start, LPCSTR text) const {
    return static_cast<int>(Send(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), TextParam(text)));
}

int CComboBox::SetItemHeight(int index, UINT heightPixels) {
    return static_cast<int>(Send(m_hWnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(index), heightPixels));
}

int CComboBox::GetItemHeight(int index) const {
    return static_cast<int>(Send(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
}

int CComboBox::SetDroppedWidth(UINT widthPixels) {
    return static_cast<int>(Send(m_hWnd, CB_SETDROPPEDWIDTH, widthPixels));
}

int CComboBox::GetDroppedWidth() const {
    return static_cast<int>(Send(m_hWnd, CB_GETDROPPEDWIDTH));
}

void CComboBox::SetHorizontalExtent(UINT extentPixels) {
    Send(m_hWnd, CB_SETHORIZONTALEXTENT, extentPixels);
}

void CComboBox::ShowDropDown(BOOL show) {
    Send(m_hWnd, CB_SHOWDROPDOWN, static_cast<WPARAM>(show));
}

BOOL CComboBox::GetDroppedState() const {
    return static_cast<BOOL>(Send(m_hWnd, CB_GETDROPPEDSTATE));
}

BOOL CComboBox::LimitText(int maxChars) {
    return static_cast<BOOL>(Send(m_hWnd, CB_LIMITTEXT, static_cast<WPARAM>(maxChars)));
}
