// Device-context calls: thin, one GDI call each, on the DC this object holds.
#include "classlib/win/CDC.h"

#include "classlib/win/AttachHandle.h"
#include "classlib/win/CBrush.h"
#include "classlib/win/CGdiObject.h"
#include "classlib/win/CPalette.h"
#include "classlib/win/CRgn.h"

#include <cstdio>
#include <utility>

namespace {

HDC HandleOf(const CDC* dc) {
    return dc != nullptr ? dc->m_hDC : nullptr;
}

}  // namespace

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::Attach(HDC hdc) {
    return AttachHandle(m_hDC, hdc);
}

HDC CDC::Detach() {
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr) {
        return FALSE;
    }
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    if (m_hDC != nullptr) {
        return FALSE;
    }
    m_hDC = ::CreateCompatibleDC(HandleOf(dc));
    if (m_hDC == nullptr) {
        std::fprintf(stderr, "CreateCompatibleDC: %lu\n", GetLastError());
        return FALSE;
    }
    return TRUE;
}

int CDC::SaveDC() {
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int savedState) {
    return ::RestoreDC(m_hDC, savedState);
}

int CDC::GetDeviceCaps(int index) const {
    return ::GetDeviceCaps(m_hDC, index);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    if (object == nullptr) {
        return nullptr;
    }
    return ::SelectObject(m_hDC, object);
}

HGDIOBJ CDC::SelectObject(const CGdiObject* object) {
    return object != nullptr ? SelectObject(object->m_hObject) : nullptr;
}

HGDIOBJ CDC::SelectStockObject(int index) {
    return SelectObject(::GetStockObject(index));
}

int CDC::SelectClipRgn(const CRgn* region) {
    return ::SelectClipRgn(m_hDC, region != nullptr ? static_cast<HRGN>(*region) : nullptr);
}

HPALETTE CDC::SelectPalette(const CPalette* palette, BOOL forceBackground) {
    if (palette == nullptr) {
        return nullptr;
    }
    return ::SelectPalette(m_hDC, *palette, forceBackground);
}

UINT CDC::RealizePalette() {
    return ::RealizePalette(m_hDC);
}

int CDC::SetBkMode(int mode) {
    return ::SetBkMode(m_hDC, mode);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ::SetBkColor(m_hDC, color);
}

COLORREF CDC::GetBkColor() const {
    return ::GetBkColor(m_hDC);
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}

int CDC::SetStretchBltMode(int mode) {
    return ::SetStretchBltMode(m_hDC, mode);
}

int CDC::SetMapMode(int mode) {
    return ::SetMapMode(m_hDC, mode);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT previous = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT previous = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE previous = {0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &previous);
    return CSize(previous);
}

CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE previous = {0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &previous);
    return CSize(previous);
}

void CDC::LPtoDP(LPPOINT points, int count) const {
    ::LPtoDP(m_hDC, points, count);
}

void CDC::LPtoDP(LPRECT rect) const {
    ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}

void CDC::DPtoLP(LPPOINT points, int count) const {
    ::DPtoLP(m_hDC, points, count);
}

void CDC::DPtoLP(LPRECT rect) const {
    ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}

int CDC::GetClipBox(LPRECT rect) const {
    return ::GetClipBox(m_hDC, rect);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous = {0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

BOOL CDC::LineTo(int x, int y) {
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
    return ::Rectangle(m_hDC, left, top, right, bottom);
}

BOOL CDC::Rectangle(LPCRECT rect) {
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
    return ::Ellipse(m_hDC, left, top, right, bottom);
}

BOOL CDC::Ellipse(LPCRECT rect) {
    return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::RoundRect(LPCRECT rect, POINT ellipse) {
    return ::RoundRect(m_hDC, rect->left, rect->top, rect->right, rect->bottom, ellipse.x, ellipse.y);
}

BOOL CDC::Polyline(const POINT* points, int count) {
    return ::Polyline(m_hDC, points, count);
}

BOOL CDC::Polygon(const POINT* points, int count) {
    return ::Polygon(m_hDC, points, count);
}

void CDC::FillRect(LPCRECT rect, const CBrush* brush) {
    if (brush == nullptr) {
        return;
    }
    ::FillRect(m_hDC, rect, *brush);
}

void CDC::FrameRect(LPCRECT rect, const CBrush* brush) {
    if (brush == nullptr) {
        return;
    }
    ::FrameRect(m_hDC, rect, *brush);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    // An opaque text-out of nothing fills with the background colour without a brush.
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    const CRect rect(x, y, x + width, y + height);
    FillSolidRect(&rect, color);
}

void CDC::InvertRect(LPCRECT rect) {
    ::InvertRect(m_hDC, rect);
}

void CDC::DrawFocusRect(LPCRECT rect) {
    ::DrawFocusRect(m_hDC, rect);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) {
    return ::DrawEdge(m_hDC, rect, edge, flags);
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) {
    return ::DrawFrameControl(m_hDC, rect, type, state);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    return ::DrawIcon(m_hDC, x, y, icon);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush) {
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, point.x, point.y, size.cx,
                        size.cy, flags | DST_ICON);
}

BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush) {
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, point.x, point.y, size.cx,
                        size.cy, flags | DST_BITMAP);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    return ::SetPixel(m_hDC, x, y, color);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, HandleOf(source), sourceX, sourceY, rop);
}

BOOL CDC::StretchBlt(int x,
                     int y,
                     int width,
                     int height,
                     CDC* source,
                     int sourceX,
                     int sourceY,
                     int sourceWidth,
                     int sourceHeight,
                     DWORD rop) {
    return ::StretchBlt(m_hDC, x, y, width, height, HandleOf(source), sourceX, sourceY, sourceWidth,
                        sourceHeight, rop);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    return ::PatBlt(m_hDC, x, y, width, height, rop);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int length) {
    return ::TextOutA(m_hDC, x, y, text, length);
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, text, text.GetLength());
}

int CDC::DrawText(LPCSTR text, int length, LPRECT rect, UINT format) {
    return ::DrawTextA(m_hDC, text, length, rect, format);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text, text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(text, text.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICA metrics) const {
    return ::GetTextMetricsA(m_hDC, metrics);
}
