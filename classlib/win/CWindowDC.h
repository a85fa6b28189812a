// The DC of a whole window, frame included (of the screen for no window), released
// to the window with this object.
#pragma once

#include "classlib/win/CDC.h"

class CWnd;

class CWindowDC : public CDC {
public:
    // wnd null: the whole screen. wnd must outlive this DC.
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
