// A splash window for a bitmap with a see-through colour, top-most and centred, on a
// user-interface thread of its own (see CPopupThread). The see-through colour is cut away by
// a layered window where the system has one, else by a window region of the other pixels.
#pragma once

#include "classlib/core/CString.h"
#include "shell/CPopupWnd.h"

class CSplashWnd : public CPopupWnd {
    DECLARE_DYNCREATE(CSplashWnd)

public:
    static constexpr COLORREF kDefaultTransparentColor = RGB(255, 0, 255);

    CSplashWnd();
    ~CSplashWnd() override;

    void SetBitmapResource(WORD id);
    void SetBitmapFile(LPCSTR path);
    // Turns transparency on.
    void SetTransparentColor(COLORREF color);
    void SetDraggable(BOOL draggable) { m_draggable = draggable; }
    void SetDropShadow(BOOL dropShadow) { m_dropShadow = dropShadow; }
    // The window takes the icon; a replaced icon is destroyed.
    void SetClassIcon(HICON icon);
    // Shapes the window by a region even where layered windows exist.
    void UseWindowRegion() { m_setLayeredAttributes = nullptr; }

    // Always true: without a picture the window stays 0 x 0.
    BOOL Create() override;
    virtual BOOL LoadBitmap();

    int GetBitmapWidth() const { return m_bitmapWidth; }

    int GetBitmapHeight() const { return m_bitmapHeight; }

protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* focusWnd);

    DECLARE_MESSAGE_MAP()

private:
    using SetLayeredAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    void MakeTransparent();
    void ShapeByRegion();
    void MakePalette();
    BOOL RealizeOwnPalette(BOOL background, BOOL repaint);

    HBITMAP m_bitmap = nullptr;
    HPALETTE m_palette = nullptr;
    int m_bitmapHeight = 0;
    int m_bitmapWidth = 0;
    BOOL m_loadFromFile = FALSE;
    WORD m_resourceId = 0;
    CString m_path;
    HICON m_classIcon = nullptr;
    BOOL m_transparent = FALSE;
    COLORREF m_transparentColor = kDefaultTransparentColor;
    BOOL m_draggable = TRUE;
    SetLayeredAttributesProc m_setLayeredAttributes = nullptr;
    BOOL m_dropShadow = FALSE;
};
