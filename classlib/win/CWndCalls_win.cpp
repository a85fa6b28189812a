// The thin members of CWnd: calls on the window handle, and the default message
// handlers, which give the message to the window's previous procedure.
#include "classlib/win/CWnd.h"

#include <vector>

BOOL CWnd::IsWindow() const {
    return m_hWnd != nullptr && ::IsWindow(m_hWnd);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A null window would post to the calling thread's own queue instead.
    if (m_hWnd == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessage(child, message, wParam, lParam);
    }
}

BOOL CWnd::EnableWindow(BOOL enable) {
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int showCommand) {
    return ::ShowWindow(m_hWnd, showCommand);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags) {
    const HWND after = insertAfter != nullptr ? insertAfter->m_hWnd : nullptr;
    return ::SetWindowPos(m_hWnd, after, x, y, width, height, flags);
}

void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::GetWindowRect(LPRECT rect) const {
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::ScreenToClient(LPPOINT point) const {
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ClientToScreen(LPPOINT point) const {
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    ::InvalidateRect(m_hWnd, rect, erase);
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN region, UINT flags) {
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

void CWnd::SetRedraw(BOOL redraw) {
    ::SendMessage(m_hWnd, WM_SETREDRAW, redraw, 0);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE));
}

namespace {

BOOL ModifyLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
    const DWORD before = static_cast<DWORD>(GetWindowLongA(hwnd, index));
    const DWORD after = (before & ~remove) | add;
    if (after == before) {
        return FALSE;
    }
    SetWindowLongA(hwnd, index, static_cast<LONG>(after));
    if (flags != 0) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

void CWnd::SetWindowText(LPCSTR text) {
    ::SetWindowTextA(m_hWnd, text);
}

int CWnd::GetWindowText(LPSTR buffer, int maxChars) const {
    return ::GetWindowTextA(m_hWnd, buffer, maxChars);
}

void CWnd::GetWindowText(CString& text) const {
    std::vector<char> buffer(static_cast<size_t>(GetWindowTextLength()) + 1, '\0');
    ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
    text = buffer.data();
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}

void CWnd::SetFont(HFONT font, BOOL redraw) {
    ::SendMessage(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
}

HFONT CWnd::GetFont() const {
    return reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(
        ::SendMessage(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const {
    return FromHandle(::GetWindow(m_hWnd, GW_OWNER));
}

CWnd* CWnd::GetTopLevelParent() const {
    return FromHandle(::GetAncestor(m_hWnd, GA_ROOT));
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}

BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    return ::SetTimer(m_hWnd, id, elapseMs, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return ::KillTimer(m_hWnd, id);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

int CWnd::OnCreate(LPCREATESTRUCT create) {
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnNcDestroy() {
    Default();
}

void CWnd::OnClose() {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

void CWnd::OnSysColorChange() {
    Default();
}

void CWnd::OnTimer(UINT_PTR id) {
    Default();
}

void CWnd::OnSize(UINT type, int width, int height) {
    Default();
}

void CWnd::OnShowWindow(BOOL show, UINT status) {
    Default();
}

void CWnd::OnSysCommand(UINT id, LPARAM lParam) {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

UINT CWnd::OnGetDlgCode() {
    return static_cast<UINT>(Default());
}

void CWnd::OnMouseMove(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnLButtonDown(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnLButtonUp(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnLButtonDblClk(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnRButtonDown(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnRButtonUp(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnRButtonDblClk(UINT flags, CPoint point) {
    Default();
}

void CWnd::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    Default();
}

void CWnd::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    Default();
}

void CWnd::OnChar(UINT key, UINT repeat, UINT flags) {
    Default();
}

void CWnd::OnSysKeyDown(UINT key, UINT repeat, UINT flags) {
    Default();
}

void CWnd::OnSysChar(UINT key, UINT repeat, UINT flags) {
    Default();
}

void CWnd::OnImeChar(UINT key, UINT repeat, UINT flags) {
    Default();
}

BOOL CWnd::OnMouseWheel(UINT flags, short delta, CPoint point) {
    return static_cast<BOOL>(Default());
}

BOOL CWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnSetFocus(CWnd* oldWnd) {
    Default();
}

void CWnd::OnKillFocus(CWnd* newWnd) {
    Default();
}

void CWnd::OnCaptureChanged(CWnd* wnd) {
    Default();
}

void CWnd::OnContextMenu(CWnd* wnd, CPoint point) {
    Default();
}

BOOL CWnd::OnCopyData(CWnd* wnd, COPYDATASTRUCT* data) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    LRESULT result = 0;
    if (drawItem->CtlType != ODT_MENU &&
        ReflectLastMsg(drawItem->hwndItem, WM_DRAWITEM, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(drawItem), &result)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem) {
    LRESULT result = 0;
    if (measureItem->CtlType != ODT_MENU &&
        ReflectLastMsg(::GetDlgItem(m_hWnd, id), WM_MEASUREITEM, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(measureItem), &result)) {
        return;
    }
    Default();
}

void CWnd::OnSetFont(HFONT font, BOOL redraw) {
    Default();
}

HFONT CWnd::OnGetFont() {
    return reinterpret_cast<HFONT>(Default());
}

void CWnd::DrawItem(LPDRAWITEMSTRUCT drawItem) {}

void CWnd::MeasureItem(LPMEASUREITEMSTRUCT measureItem) {}
