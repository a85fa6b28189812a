// A tooltip window for the tools (child windows or rectangles) of one parent. Text
// given as LPSTR_TEXTCALLBACK is asked from the parent with TTN_NEEDTEXT.
#pragma once

#include "classlib/win/CWnd.h"

#include <commctrl.h>

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    using CWnd::Create;
    // A popup owned by parent; style: TTS_* flags (TTS_ALWAYSTIP is always added).
    BOOL Create(CWnd* parent, DWORD style = 0);

    // toolId 0: the tool is wnd itself (TTF_IDISHWND) and rect is ignored; otherwise the
    // tool is the rectangle rect of wnd with that id. text is copied.
    BOOL AddTool(CWnd* wnd, LPCSTR text = LPSTR_TEXTCALLBACK, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR toolId = 0);
    int GetToolCount() const;
    void Activate(BOOL activate);
    // which: TTDT_AUTOPOP, TTDT_INITIAL, TTDT_RESHOW or TTDT_AUTOMATIC.
    void SetDelayTime(DWORD which, int delayMs);
    int GetDelayTime(DWORD which) const;
    void SetMargin(LPRECT rect);
    void GetMargin(LPRECT rect) const;
    int SetMaxTipWidth(int widthPixels);
    COLORREF GetTipBkColor() const;
    void SetTipBkColor(COLORREF color);
    COLORREF GetTipTextColor() const;
    void SetTipTextColor(COLORREF color);
    // Hands the tooltip a mouse message of a tool (from PreTranslateMessage).
    void RelayEvent(LPMSG msg);
    void Pop();

private:
    TTTOOLINFOA ToolInfo(CWnd* wnd, UINT_PTR toolId) const;
};
