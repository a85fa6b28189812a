// A combo box whose items carry images from an image list.
#pragma once

#include "classlib/win/CWnd.h"

#include <commctrl.h>

class CImageList;

class CComboBoxEx : public CWnd {
    DECLARE_DYNAMIC(CComboBoxEx)

public:
    using CWnd::Create;
    // style: WS_* and CBS_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Index of the new item, or -1.
    int InsertItem(const COMBOBOXEXITEMA* item);
    // Items left, or CB_ERR.
    int DeleteItem(int index);
    BOOL GetItem(COMBOBOXEXITEMA* item) const;
    BOOL SetItem(const COMBOBOXEXITEMA* item);
    // The previous list. The control does not own list: it must outlive the control.
    HIMAGELIST SetImageList(CImageList* list);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    void ResetContent();
    // The combo box inside the control.
    HWND GetComboBoxCtrl() const;
};
