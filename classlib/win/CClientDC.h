// The DC of a window's client area (of the screen for no window), released to the
// window with this object.
#pragma once

#include "classlib/win/CDC.h"

class CWnd;

class CClientDC : public CDC {
public:
    // wnd null: the whole screen. wnd must outlive this DC.
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};
