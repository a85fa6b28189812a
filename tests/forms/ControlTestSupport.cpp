#include "tests/forms/ControlTestSupport.h"

#include "classlib/win/CRect.h"

#include <gtest/gtest.h>

CTestParentWnd::CTestParentWnd() {
    const BOOL created = CreateEx(0, nullptr, "controls", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                  CRect(40, 40, 440, 340), nullptr, nullptr);
    EXPECT_TRUE(created);
}

BOOL CTestParentWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT code = HIWORD(wParam);
    const BOOL handled = CWnd::OnCommand(wParam, lParam);
    if (!handled && (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
        ++m_clicks;
        m_lastClickedId = LOWORD(wParam);
    }
    return handled;
}

CCapturedPixels::CCapturedPixels(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client = {};
    ::GetClientRect(window, &client);
    m_width = client.right;
    m_height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = ::GetDC(window);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, m_width, m_height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    m_pixels.assign(source, source + static_cast<size_t>(m_width) * m_height);
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
}

COLORREF CCapturedPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        ADD_FAILURE() << "pixel " << x << "," << y << " outside " << m_width << "x" << m_height;
        return CLR_INVALID;
    }
    const DWORD pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool CCapturedPixels::Contains(const RECT& area, COLORREF color) const {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (At(x, y) == color) {
                return true;
            }
        }
    }
    return false;
}

RECT FrameInside(RECT rect, UINT state) {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    ::DrawFrameControl(dc, &rect, DFC_BUTTON, state | DFCS_ADJUSTRECT);
    ::DeleteDC(dc);
    return rect;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
