// A device context. A CDC deletes a DC it created or was given with Attach; the
// window DCs (CPaintDC, CClientDC, CWindowDC) give theirs back to the window instead.
// Objects selected through CScopedSelect are put back before the DC goes.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CPoint.h"
#include "classlib/win/CRect.h"
#include "classlib/win/CSize.h"

#include <windows.h>

class CBitmap;
class CBrush;
class CGdiObject;
class CPalette;
class CRgn;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();

    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // --- The handle ----------------------------------------------------------------------

    // Takes hdc; it is deleted with this object unless detached. FALSE when this object
    // holds a DC already or hdc is null.
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL DeleteDC();
    // A memory DC for dc's device (the screen when dc is null).
    BOOL CreateCompatibleDC(CDC* dc);

    HDC GetSafeHdc() const { return m_hDC; }

    operator HDC() const { return m_hDC; }

    BOOL IsPrinting() const { return m_bPrinting; }

    // Marks a printer DC, so that drawing code can tell print from screen.
    void SetPrinting(BOOL printing) { m_bPrinting = printing; }

    int SaveDC();
    // savedState from SaveDC, or negative for relative to the latest.
    BOOL RestoreDC(int savedState);
    int GetDeviceCaps(int index) const;

    // --- Objects ---------------------------------------------------------------------------

    // Each answers the object that was selected before (to be put back), or null.
    HGDIOBJ SelectObject(HGDIOBJ object);
    HGDIOBJ SelectObject(const CGdiObject* object);
    HGDIOBJ SelectStockObject(int index);
    // Region selection copies the region: the kind of the new clip region or ERROR.
    int SelectClipRgn(const CRgn* region);
    HPALETTE SelectPalette(const CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();

    // --- Attributes and coordinates ------------------------------------------------------------

    int SetBkMode(int mode);
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    int SetStretchBltMode(int mode);
    int SetMapMode(int mode);
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    // Kind of the clip region, or ERROR.
    int GetClipBox(LPRECT rect) const;

    // --- Drawing ---------------------------------------------------------------------------------

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT rect);
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(LPCRECT rect);
    BOOL RoundRect(LPCRECT rect, POINT ellipse);
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    void FillRect(LPCRECT rect, const CBrush* brush);
    void FrameRect(LPCRECT rect, const CBrush* brush);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    void InvertRect(LPCRECT rect);
    void DrawFocusRect(LPCRECT rect);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF color);

    // --- Blocks of pixels ------------------------------------------------------------------------

    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop);
    BOOL StretchBlt(int x,
                    int y,
                    int width,
                    int height,
                    CDC* source,
                    int sourceX,
                    int sourceY,
                    int sourceWidth,
                    int sourceHeight,
                    DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

    // --- Text --------------------------------------------------------------------------------------

    BOOL TextOut(int x, int y, LPCSTR text, int length);
    BOOL TextOut(int x, int y, const CString& text);
    // The height of the text; with DT_CALCRECT rect receives the text's extent instead.
    int DrawText(LPCSTR text, int length, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(LPCSTR text, int length) const;
    CSize GetTextExtent(const CString& text) const;
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const;

    HDC m_hDC = nullptr;

protected:
    BOOL m_bPrinting = FALSE;
};
