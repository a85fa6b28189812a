// A static text that colours itself (background and text, set at run time) through the
// reflected colour message, and can blink between its colours and a highlight pair.
#pragma once

#include "classlib/win/CBrush.h"
#include "classlib/win/CStatic.h"
#include "forms/CBlinkTimer.h"

#include <windows.h>

class CStaticExtended : public CStatic {
    DECLARE_DYNAMIC(CStaticExtended)

public:
    static constexpr UINT_PTR kBlinkTimerId = CBlinkTimer::kTimerId;
    static constexpr UINT kDefaultBlinkPeriodMs = CBlinkTimer::kDefaultPeriodMs;

    // The colours start as the system's button face and text, blinking as the active caption.
    CStaticExtended();

    // The three setters redraw at once when the window exists.
    void SetBkColor(COLORREF color);
    void SetTextColor(COLORREF color);
    // OPAQUE or TRANSPARENT.
    void SetBkMode(int mode);
    // The colours of the blink phase; shown from the next tick on.
    void SetBlinkColors(COLORREF textColor, COLORREF backgroundColor);
    // Takes effect at the next start of blinking.
    void SetBlinkInterval(UINT periodMs);
    // on: starts blinking from the normal colours; 1 when started, 0 when it blinks already
    // or there is no window yet. off: back to the normal colours; 1 when it was blinking.
    BOOL Blink(BOOL on);

protected:
    HBRUSH CtlColor(CDC* dc, UINT controlType);
    void OnTimer(UINT_PTR id);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void RedrawNow();

    CBrush m_bkBrush;
    COLORREF m_bkColor;
    COLORREF m_textColor;
    int m_bkMode = OPAQUE;
    COLORREF m_blinkTextColor;
    COLORREF m_blinkBkColor;
    CBrush m_blinkBrush;
    CBlinkTimer m_blink;
};
