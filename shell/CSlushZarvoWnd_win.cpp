#include "shell/CSlushZarvoWnd.h"
#include "classlib/core/FormatText.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CPaintDC.h"
#include "forms/fonts/GetScaledFontHeight.h"

#include <cstring>

namespace {

constexpr int kFontTenths = 80;
constexpr const char* kFontFace = "Verdana";
constexpr int kSpinnerLength = 4;
constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX;

}  // namespace

IMPLEMENT_DYNCREATE(CSlushZarvoWnd, CSlushWnd)

BEGIN_MESSAGE_MAP(CSlushZarvoWnd, CSlushWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSlushZarvoWnd::CSlushZarvoWnd() = default;

SIZE CSlushZarvoWnd::BoxSize(SIZE text, double scaleX, double scaleY) {
    return {static_cast<LONG>(text.cx + 16 * scaleX), static_cast<LONG>(text.cy + 12 * scaleY)};
}

CString CSlushZarvoWnd::SpinnerText(const CString& message, int position) {
    // The language manager hands out only translations whose conversions match "%c".
    return FormatText(message, kSpinner[position % kSpinnerLength]);
}

BOOL CSlushZarvoWnd::Create() {
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) {
        return FALSE;
    }
    LOGFONTA request;
    std::memset(&request, 0, sizeof(request));
    request.lfHeight = GetScaledFontHeight(&dc, kFontFace, kFontTenths, m_scaleX, m_scaleY);
    request.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(request.lfFaceName, kFontFace);
    if (!m_font.CreateFontIndirect(&request)) {
        return FALSE;
    }
    const HGDIOBJ previous = dc.SelectObject(&m_font);
    RECT text = {0, 0, 0, 0};
    dc.DrawText(SpinnerText(m_message, 0), &text, DT_CALCRECT | kTextFormat);
    dc.SelectObject(previous);
    const SIZE box = BoxSize({text.right - text.left, text.bottom - text.top}, m_scaleX, m_scaleY);
    m_width = box.cx;
    m_height = box.cy;
    if (!CSlushWnd::Create()) {
        return FALSE;
    }
    m_timer = SetTimer(kSpinTimerId, kSpinPeriodMs);
    return TRUE;
}

void CSlushZarvoWnd::OnPaint() {
    CSlushWnd::OnPaint();
    CClientDC dc(this);
    RECT area = {};
    GetClientRect(&area);
    area.left += static_cast<LONG>(8 * m_scaleX);
    area.top += static_cast<LONG>(6 * m_scaleY);
    const HGDIOBJ previousFont = dc.SelectObject(&m_font);
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(SpinnerText(m_message, m_position), &area, DT_LEFT | kTextFormat);
    dc.SetBkMode(previousMode);
    dc.SelectObject(previousFont);
}

void CSlushZarvoWnd::OnTimer(UINT_PTR id) {
    if (id == kSpinTimerId) {
        m_position = (m_position + 1) % kSpinnerLength;
        Invalidate(TRUE);
    }
    Default();
}

void CSlushZarvoWnd::OnDestroy() {
    if (m_timer != 0) {
        KillTimer(m_timer);
        m_timer = 0;
    }
    Default();
}
