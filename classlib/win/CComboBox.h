// A combo box: an edit or static field with a drop-down list.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CWnd.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

public:
    using CWnd::Create;
    // style: WS_* and CBS_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Index of the new item, CB_ERR or CB_ERRSPACE.
    int AddString(LPCSTR text);
    int InsertString(int index, LPCSTR text);
    // Items left, or CB_ERR.
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    // CB_ERR when index is out of range (-1 clears the selection and also answers CB_ERR).
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    // Length of the item's text, or CB_ERR.
    int GetLBTextLen(int index) const;
    // The item's text; empty when index is out of range.
    void GetLBText(int index, CString& text) const;
    // Selects the first item after start whose text begins with prefix; its index or CB_ERR.
    int SelectString(int start, LPCSTR prefix);
    int FindStringExact(int start, LPCSTR text) const;
    // index -1: the selection field; otherwise the list items.
    int SetItemHeight(int index, UINT heightPixels);
    int GetItemHeight(int index) const;
    int SetDroppedWidth(UINT widthPixels);
    int GetDroppedWidth() const;
    void SetHorizontalExtent(UINT extentPixels);
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;
    BOOL LimitText(int maxChars);
};
