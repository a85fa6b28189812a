// A push button, check box, radio button or group box.
#pragma once

#include "classlib/win/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    using CWnd::Create;
    // style: WS_* and BS_* flags (WS_CHILD is added).
    BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL highlight);
    // The BS_* type and flags of the button.
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    // The previous bitmap; the caller keeps owning bitmap.
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
};
