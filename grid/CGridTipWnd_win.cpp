#include "grid/CGridTipWnd.h"

#include "classlib/win/CClientDC.h"
#include "classlib/win/CPaintDC.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/GridWidestLine.h"
#include "grid/RegisterGridWindowClass.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CGridTipWnd, CWnd)

BEGIN_MESSAGE_MAP(CGridTipWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

namespace {

constexpr UINT kMeasureFormat = DT_WORDBREAK | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX;
constexpr UINT kPaintFormat = DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX;
constexpr int kScreenGap = 8;

}  // namespace

CGridTipWnd::CGridTipWnd() : m_doubleClickMs(GetDoubleClickTime()) {
    RegisterWindowClass();
}

CGridTipWnd::~CGridTipWnd() {
    DestroyTip();
}

void CGridTipWnd::RegisterWindowClass() {
    RegisterGridWindowClass(kWindowClass, CS_SAVEBITS, COLOR_INFOBK);
}

BOOL CGridTipWnd::Create(CWnd* parent) {
    if (m_created) {
        return TRUE;
    }
    m_parent = parent;
    m_created = CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kWindowClass, nullptr, WS_POPUP | WS_BORDER,
                         CRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT), nullptr,
                         nullptr) != FALSE;
    if (m_created && parent != nullptr) {
        LOGFONTA logFont = {};
        const HFONT font = parent->GetFont();
        if (font != nullptr && GetObjectA(font, sizeof(logFont), &logFont) != 0) {
            m_font.DeleteObject();
            m_font.CreateFontIndirect(&logFont);
        }
    }
    return m_created ? TRUE : FALSE;
}

void CGridTipWnd::DestroyTip() {
    m_created = false;
    DestroyWindow();
}

bool CGridTipWnd::ProgramHasFocus() {
    return ::GetFocus() != nullptr;
}

void CGridTipWnd::Show(CRect textRect,
                       LPCSTR text,
                       const RECT* cellRect,
                       const LOGFONTA* font,
                       COLORREF textColour,
                       COLORREF backColour) {
    if (!IsWindow() && !Create(m_parent)) {
        return;
    }
    if (textRect.Width() <= 0 || textRect.Height() <= 0 || IsWindowVisible()) {
        return;
    }
    const RECT& hover = cellRect != nullptr ? *cellRect : static_cast<const RECT&>(textRect);
    CRect screenRect(hover.left, hover.top, hover.right + 1, hover.bottom + 1);
    if (m_parent != nullptr) {
        m_parent->ClientToScreen(screenRect);
    }
    m_hoverRect = screenRect;
    if (!ProgramHasFocus()) {
        return;
    }
    m_text = text == nullptr ? "" : text;
    if (font != nullptr) {
        m_font.DeleteObject();
        m_font.CreateFontIndirect(font);
    }
    const CSize size = MeasureText();
    m_textRect = CRect(4, 2, size.cx + 4, size.cy + 2);
    Place(screenRect, CSize(size.cx + 8, size.cy + 4));
    SetCapture();
}

// The text's size on one line, or wrapped at the widest line when it holds line feeds.
CSize CGridTipWnd::MeasureText() {
    CClientDC dc(this);
    CScopedSelect select(dc, m_font);
    const int widest = GridWidestLine(dc, m_text);
    const CSize whole = dc.GetTextExtent(m_text);
    TEXTMETRICA metrics = {};
    dc.GetTextMetrics(&metrics);
    CRect rect(0, 0, metrics.tmOverhang + widest + 8, whole.cy);
    const int height = dc.DrawText(m_text, rect, kMeasureFormat);
    if (height == metrics.tmHeight) {
        return CSize(whole.cx, rect.Height());
    }
    return CSize(rect.Width(), rect.Height());
}

void CGridTipWnd::Place(const CRect& screenRect, const CSize& size) {
    int x = screenRect.right - screenRect.Width() / 8;
    int y = screenRect.bottom - screenRect.Height() / 4;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (x + size.cx > screenWidth - kScreenGap) {
        x = screenWidth - size.cx - kScreenGap;
    }
    if (y + size.cy > screenHeight - kScreenGap) {
        y = screenHeight - size.cy - kScreenGap;
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, x, y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void CGridTipWnd::Hide() {
    if (!IsWindow()) {
        return;
    }
    CWnd* capture = GetCapture();
    if (capture != nullptr && capture->GetSafeHwnd() == m_hWnd) {
        ReleaseCapture();
    }
    ShowWindow(SW_HIDE);
}

void CGridTipWnd::OnPaint() {
    CPaintDC dc(this);
    CScopedSelect select(dc, m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_text, m_textRect, kPaintFormat);
}

// The hover rectangle is kept in screen coordinates: the tip moves after it is taken.
void CGridTipWnd::OnMouseMove(UINT flags, CPoint point) {
    ClientToScreen(&point);
    if (PtInRect(m_hoverRect, point)) {
        return;
    }
    Hide();
    HWND target = WindowFromPoint(point);
    if (target == nullptr) {
        return;
    }
    if (target == m_hWnd && m_parent != nullptr) {
        target = m_parent->GetSafeHwnd();
    }
    const LRESULT hit = ::SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    if (hit == HTCLIENT) {
        ::ScreenToClient(target, &point);
        ::PostMessage(target, WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
    } else {
        ::PostMessage(target, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), MAKELPARAM(point.x, point.y));
    }
}

BOOL CGridTipWnd::ForwardButton(MSG* msg) {
    POINT point = {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
    ::ClientToScreen(msg->hwnd, &point);
    bool doubleClick = false;
    if (msg->message == WM_LBUTTONDOWN) {
        const DWORD now = GetTickCount();
        doubleClick = m_lastLeftDownMs != 0xFFFFFFFF && now - m_lastLeftDownMs <= m_doubleClickMs;
        m_lastLeftDownMs = now;
    }
    Hide();
    HWND target = WindowFromPoint(point);
    if (target == nullptr) {
        return FALSE;
    }
    if (target == m_hWnd && m_parent != nullptr) {
        target = m_parent->GetSafeHwnd();
    }
    UINT message = doubleClick ? WM_LBUTTONDBLCLK : msg->message;
    WPARAM wParam = msg->wParam;
    const LRESULT hit = ::SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    if (hit == HTCLIENT) {
        ::ScreenToClient(target, &point);
    } else {
        message = msg->message == WM_LBUTTONDOWN   ? WM_NCLBUTTONDOWN
                  : msg->message == WM_RBUTTONDOWN ? WM_NCRBUTTONDOWN
                                                   : WM_NCMBUTTONDOWN;
        wParam = static_cast<WPARAM>(hit);
    }
    ::PostMessage(target, message, wParam, MAKELPARAM(point.x, point.y));
    return TRUE;
}

BOOL CGridTipWnd::PreTranslateMessage(MSG* msg) {
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (m_parent != nullptr) {
            m_parent->PostMessage(msg->message, msg->wParam, msg->lParam);
        }
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return ForwardButton(msg);
    default:
        break;
    }
    if (ProgramHasFocus()) {
        return CWnd::PreTranslateMessage(msg);
    }
    Hide();
    return TRUE;
}
