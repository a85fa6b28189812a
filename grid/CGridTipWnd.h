// The grid's title tip: a small top-most pop-up that shows the whole text of the cell
// under the mouse beside the cell. It holds the mouse capture while shown, hides as soon
// as the mouse leaves the cell or a key or button is pressed, and passes those on to the
// window underneath.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CSize.h"
#include "classlib/win/CWnd.h"

#include <windows.h>

class CGridTipWnd : public CWnd {
    DECLARE_DYNAMIC(CGridTipWnd)

public:
    static constexpr char kWindowClass[] = "ZTitleTip";

    CGridTipWnd();
    ~CGridTipWnd() override;

    // parent (the grid) is not owned.
    void SetParentWnd(CWnd* parent) { m_parent = parent; }

    BOOL Create(CWnd* parent);
    void DestroyTip();
    // Rectangles are in the parent's client coordinates; cellRect and font may be null. The
    // colours are accepted for the callers' sake; the tip paints in the system tip colours.
    void Show(CRect textRect,
              LPCSTR text,
              const RECT* cellRect,
              const LOGFONTA* font,
              COLORREF textColour,
              COLORREF backColour);
    void Hide();
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    static void RegisterWindowClass();
    static bool ProgramHasFocus();
    CSize MeasureText();
    void Place(const CRect& screenRect, const CSize& size);
    BOOL ForwardButton(MSG* msg);

    CWnd* m_parent = nullptr;  // not owned
    bool m_created = false;
    CString m_text;
    CFont m_font;
    CRect m_hoverRect;  // the cell in screen coordinates; the tip stays while the mouse is inside
    CRect m_textRect;
    DWORD m_lastLeftDownMs = 0xFFFFFFFF;
    UINT m_doubleClickMs;
};
