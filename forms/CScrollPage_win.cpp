#include "forms/CScrollPage.h"

#include <algorithm>
#include <commctrl.h>

namespace {

constexpr UINT kLineUp = 0;
constexpr UINT kLineDown = 1;
constexpr UINT kPageUp = 2;
constexpr UINT kPageDown = 3;
constexpr UINT kLastScrollCode = 5;  // SB_THUMBTRACK; later codes leave the page alone
constexpr int kLineDivisor = 16;
constexpr int kWheelDivisor = 8;

}  // namespace

BEGIN_MESSAGE_MAP(CScrollPage, CDialog)
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CScrollPage::CScrollPage(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), m_pageTemplateId(templateId) {}

void CScrollPage::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
}

BOOL CScrollPage::OnInitDialog() {
    CDialog::OnInitDialog();
    FitIntoTabCtrl();
    GetClientRect(&m_clientRect);
    m_contentRect = m_clientRect;
    m_contentRect.bottom = m_contentRect.top;
    m_scrollPos = 0;
    return TRUE;
}

void CScrollPage::FitIntoTabCtrl() {
    CWnd* host = GetParent();
    if (host == nullptr || m_tabCtrl == nullptr || m_tabCtrl->GetSafeHwnd() == nullptr) {
        return;
    }
    RECT area = {};
    host->GetClientRect(&area);
    m_tabCtrl->SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MoveWindow(area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

int CScrollPage::Overflow() const {
    return (m_contentRect.bottom - m_contentRect.top) - ClientHeight();
}

void CScrollPage::SetContentHeight(int height) {
    m_contentRect.bottom = m_contentRect.top + height;
    // Before OnInitDialog there is neither a client area to compare with nor a bar to set.
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    // A page laid out anew starts at the top again; without this a page scrolled before
    // would keep its content shifted with no way left to scroll it back.
    if (m_scrollPos != 0) {
        ScrollBy(-m_scrollPos);
    }
    if (Overflow() <= 0) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        if (GetScrollInfo(SB_VERT, &info, SIF_RANGE) && info.nMax > info.nMin) {
            ShowScrollBar(SB_VERT, FALSE);
        }
        return;
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = m_contentRect.bottom - m_contentRect.top;
    info.nPage = static_cast<UINT>(ClientHeight());
    info.nPos = 0;
    SetScrollInfo(SB_VERT, &info, TRUE);
}

BOOL CScrollPage::ScrollBarStep(UINT code, UINT position, int* step) const {
    const int height = ClientHeight();
    const int overflow = Overflow();
    switch (code) {
    case kLineUp:
    case kPageUp:
        if (m_scrollPos <= 0) {
            return FALSE;
        }
        *step = -std::min(code == kLineUp ? height / kLineDivisor : height, m_scrollPos);
        return TRUE;
    case kLineDown:
    case kPageDown:
        if (m_scrollPos >= overflow) {
            return FALSE;
        }
        *step = std::min(code == kLineDown ? height / kLineDivisor : height, overflow - m_scrollPos);
        return TRUE;
    default:
        // The bar lets the thumb reach one pixel past the overflow (its range is 0..C with
        // a page of H), so the thumb's position is kept inside the content.
        *step = std::clamp(static_cast<int>(position), 0, overflow) - m_scrollPos;
        return TRUE;
    }
}

void CScrollPage::ScrollBy(int step) {
    m_scrollPos += step;
    SetScrollPos(SB_VERT, m_scrollPos, TRUE);
    ScrollWindow(0, -step);
}

void CScrollPage::OnVScroll(UINT code, UINT position, CWnd* scrollBar) {
    if (Overflow() <= 0 || code > kLastScrollCode) {
        return;
    }
    int step = 0;
    if (!ScrollBarStep(code, position, &step)) {
        return;
    }
    ScrollBy(step);
    CDialog::OnVScroll(code, position, scrollBar);
}

BOOL CScrollPage::OnMouseWheel(UINT flags, short delta, CPoint point) {
    const int overflow = Overflow();
    if (overflow <= 0) {
        return TRUE;
    }
    const int wheelStep = ClientHeight() / kWheelDivisor;
    if (delta >= 0) {
        if (m_scrollPos <= 0) {
            return TRUE;
        }
        ScrollBy(-std::min(wheelStep, m_scrollPos));
        return TRUE;
    }
    if (m_scrollPos >= overflow) {
        return TRUE;
    }
    ScrollBy(std::min(wheelStep, overflow - m_scrollPos));
    return TRUE;
}

BOOL CScrollPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == IDOK) {
        return TRUE;
    }
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == IDCANCEL) {
        return FALSE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
