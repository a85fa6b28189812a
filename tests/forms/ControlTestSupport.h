// Shared pieces of the custom-control tests: a visible parent window that counts the
// notifications it gets, and a control's pixels read back from the screen.
#pragma once

#include "classlib/win/CWnd.h"

#include <windows.h>

#include <vector>

// A visible top-level window at a fixed place; controls are created as its children.
class CTestParentWnd : public CWnd {
public:
    CTestParentWnd();

    int m_clicks = 0;  // BN_CLICKED and BN_DOUBLECLICKED that reached the parent
    UINT m_lastClickedId = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

// The client area of a window as painted now (after a synchronous repaint).
class CCapturedPixels {
public:
    explicit CCapturedPixels(HWND window);

    COLORREF At(int x, int y) const;

    int Width() const { return m_width; }

    int Height() const { return m_height; }

    // Whether any pixel of the rectangle has that colour.
    bool Contains(const RECT& area, COLORREF color) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;  // top-down rows, 0x00RRGGBB
};

// The inside of a push-button frame drawn over rect with these DrawFrameControl states.
RECT FrameInside(RECT rect, UINT state);

void PumpMessages();
