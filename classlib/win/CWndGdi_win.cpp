// Window members for painting, the window menu, window regions and scrolling.
#include "classlib/win/CDC.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CWnd.h"
#include "classlib/win/PerThread.h"

#include <cstdio>
#include <memory>
#include <unordered_map>

namespace {

// DCs handed out by GetDC and GetWindowDC until ReleaseDC, per thread like the DCs.
using LentDCs = std::unordered_map<HDC, std::unique_ptr<CDC>>;

LentDCs& Lent() {
    static PerThread<LentDCs> lent;
    return lent.Get();
}

CDC* Lend(HDC hdc, const char* call) {
    if (hdc == nullptr) {
        std::fprintf(stderr, "%s: %lu\n", call, GetLastError());
        return nullptr;
    }
    std::unique_ptr<CDC>& slot = Lent()[hdc];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->Attach(hdc);
    }
    return slot.get();
}

}  // namespace

CDC* CWnd::GetDC() {
    return Lend(::GetDC(m_hWnd), "GetDC");
}

CDC* CWnd::GetWindowDC() {
    return Lend(::GetWindowDC(m_hWnd), "GetWindowDC");
}

int CWnd::ReleaseDC(CDC* dc) {
    if (dc == nullptr || dc->m_hDC == nullptr) {
        return 0;
    }
    const auto found = Lent().find(dc->m_hDC);
    const HDC hdc = dc->Detach();
    // The object goes after its DC is detached: it must not delete a window's DC.
    if (found != Lent().end()) {
        Lent().erase(found);
    }
    return ::ReleaseDC(m_hWnd, hdc);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

int CWnd::SetWindowRgn(HRGN region, BOOL redraw) {
    return ::SetWindowRgn(m_hWnd, region, redraw);
}

void CWnd::ScrollWindow(int dx, int dy, LPCRECT scrollRect, LPCRECT clipRect) {
    ::ScrollWindow(m_hWnd, dx, dy, scrollRect, clipRect);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) {
    if (info == nullptr) {
        return FALSE;
    }
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) {
    if (info == nullptr) {
        return FALSE;
    }
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

int CWnd::SetScrollPos(int bar, int position, BOOL redraw) {
    return ::SetScrollPos(m_hWnd, bar, position, redraw);
}

int CWnd::GetScrollPos(int bar) const {
    return ::GetScrollPos(m_hWnd, bar);
}

void CWnd::SetScrollRange(int bar, int minPosition, int maxPosition, BOOL redraw) {
    ::SetScrollRange(m_hWnd, bar, minPosition, maxPosition, redraw);
}

void CWnd::GetScrollRange(int bar, LPINT minPosition, LPINT maxPosition) const {
    ::GetScrollRange(m_hWnd, bar, minPosition, maxPosition);
}

int CWnd::GetScrollLimit(int bar) {
    SCROLLINFO info = {};
    if (!GetScrollInfo(bar, &info, SIF_RANGE | SIF_PAGE)) {
        return 0;
    }
    const int page = info.nPage > 0 ? static_cast<int>(info.nPage) - 1 : 0;
    const int limit = info.nMax - page;
    return limit < info.nMin ? info.nMin : limit;
}

void CWnd::ShowScrollBar(UINT bar, BOOL show) {
    ::ShowScrollBar(m_hWnd, static_cast<int>(bar), show);
}

void CWnd::EnableScrollBarCtrl(int bar, BOOL enable) {
    ::ShowScrollBar(m_hWnd, bar, enable);
}
