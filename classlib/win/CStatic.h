// A static text, picture or frame.
#pragma once

#include "classlib/win/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    using CWnd::Create;
    // style: WS_* and SS_* flags (WS_CHILD is added).
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);

    // The previous picture; the caller keeps owning the new one.
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
};
