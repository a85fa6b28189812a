#include "manager/CSplashZFZWnd.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CPaintDC.h"
#include "classlib/win/CScopedSelect.h"
#include "manager/res/ManagerResourceIds.h"

IMPLEMENT_DYNCREATE(CSplashZFZWnd, CSplashWnd)

BEGIN_MESSAGE_MAP(CSplashZFZWnd, CSplashWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kDotTimerId = 1;
constexpr int kMaxDots = 3;

}  // namespace

CSplashZFZWnd::CSplashZFZWnd() = default;

CString CSplashZFZWnd::BaseText() const {
    CString text;
    if (!text.LoadString(IDS_SPLASH_START)) {
        text = "Start";
    }
    return text;
}

CString CSplashZFZWnd::GetText() const {
    return BaseText() + " " + CString('.', m_dots);
}

BOOL CSplashZFZWnd::Create() {
    CDC memory;
    if (!memory.CreateCompatibleDC(nullptr)) {
        return FALSE;
    }
    LOGFONTA logFont = {};
    logFont.lfHeight = -MulDiv(8, memory.GetDeviceCaps(LOGPIXELSY), 72);
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(logFont.lfFaceName, "Verdana", LF_FACESIZE);
    if (!m_font.CreateFontIndirect(&logFont)) {
        return FALSE;
    }
    const CString widest = BaseText() + " ...";
    RECT extent = {0, 0, 0, 0};
    {
        CScopedSelect font(memory, m_font);
        DrawTextA(memory, widest, widest.GetLength(), &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    }
    m_width = extent.right - extent.left + 14;
    m_height = extent.bottom - extent.top + 10;
    m_textRect = extent;
    OffsetRect(&m_textRect, 7, 5);
    return CSplashWnd::Create();
}

int CSplashZFZWnd::OnCreate(LPCREATESTRUCT create) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(nullptr, (width - m_width) / 2, (height - m_height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_timer = SetTimer(kDotTimerId, kDotIntervalMs);
    return 0;
}

void CSplashZFZWnd::OnTimer(UINT_PTR id) {
    if (id != kDotTimerId) {
        return;
    }
    m_dots = m_dots >= kMaxDots ? 0 : m_dots + 1;
    Invalidate();
}

void CSplashZFZWnd::OnPaint() {
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    dc.DrawFrameControl(&client, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT);
    dc.SetBkMode(TRANSPARENT);
    CScopedSelect font(dc, m_font);
    const CString text = GetText();
    RECT textRect = m_textRect;
    DrawTextA(dc, text, text.GetLength(), &textRect, DT_SINGLELINE | DT_NOPREFIX);
}

void CSplashZFZWnd::OnDestroy() {
    if (m_timer != 0) {
        KillTimer(m_timer);
        m_timer = 0;
    }
    m_font.DeleteObject();
}
