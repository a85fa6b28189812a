// A static text that works as a link: drawn in a link colour, underlined and recoloured
// while the mouse is over it, with the hand cursor; a click opens its target through the
// shell, or through the program registered for web pages.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CStatic.h"

#include <windows.h>

class CHyperLink : public CStatic {
public:
    static constexpr UINT_PTR kHoverTimerId = 1;
    static constexpr UINT kHoverPollMs = 100;
    static constexpr COLORREF kLinkColor = RGB(0x22, 0x44, 0xEE);
    static constexpr COLORREF kHoverColor = RGB(0xFF, 0x44, 0x00);

    CHyperLink() = default;
    // Gives back the cursor copy it made (a shared system cursor is left alone).
    ~CHyperLink() override;

    void SetURL(LPCSTR target) { m_target = target; }

    // The shell's result when above 32, else that of the registered web browser's start
    // (or the shell's again when no browser is registered).
    INT_PTR OpenTarget();

    BOOL DestroyWindow() override;

protected:
    void PreSubclassWindow() override;

    HBRUSH CtlColor(CDC* dc, UINT controlType);
    BOOL OnEraseBkgnd(CDC* dc);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnClicked();

    DECLARE_MESSAGE_MAP()

private:
    void MakeFonts();
    void LoadHandCursor();
    void StopHover();

    COLORREF m_linkColor = kLinkColor;
    COLORREF m_hoverColor = kHoverColor;
    CString m_target;
    BOOL m_hover = FALSE;
    HCURSOR m_cursor = nullptr;
    BOOL m_ownsCursor = FALSE;
    CFont m_normalFont;
    CFont m_underlinedFont;
    UINT_PTR m_hoverTimerId = 0;  // 0 while the mouse is not over the link
};
