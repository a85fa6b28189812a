// A tab control; its selection changes reach the parent as TCN_SELCHANGE (WM_NOTIFY).
#pragma once

#include "classlib/win/CWnd.h"

#include <commctrl.h>

class CImageList;

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)

public:
    using CWnd::Create;
    // style: WS_* and TCS_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Index of the new tab, or -1.
    int InsertItem(int index, LPCSTR text);
    int InsertItem(int index, const TCITEMA* item);
    BOOL SetItem(int index, const TCITEMA* item);
    BOOL GetItem(int index, TCITEMA* item) const;
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    // The previous selection, or -1. Sends no TCN_SELCHANGE.
    int SetCurSel(int index);
    BOOL GetItemRect(int index, LPRECT rect) const;
    // larger FALSE: the display area for a window rectangle; TRUE: the reverse.
    void AdjustRect(BOOL larger, LPRECT rect);
    // The previous list. The control does not own list: it must outlive the control.
    HIMAGELIST SetImageList(CImageList* list);
};
