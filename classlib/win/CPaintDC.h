// The DC of one WM_PAINT: BeginPaint in the constructor, EndPaint in the destructor.
#pragma once

#include "classlib/win/CDC.h"

class CWnd;

class CPaintDC : public CDC {
public:
    // wnd must hold a window and outlive this DC.
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

protected:
    HWND m_hWnd = nullptr;
};
