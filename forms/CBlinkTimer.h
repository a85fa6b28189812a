// The blink of a control: a window timer that flips the control between its normal look and
// a highlight look. The control paints by IsHighlighted and hands on its timer ticks and its
// destruction.
#pragma once

#include "classlib/win/CWnd.h"

#include <windows.h>

class CBlinkTimer {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kDefaultPeriodMs = 500;

    // Takes effect at the next start of blinking.
    void SetPeriod(UINT periodMs) { m_periodMs = periodMs; }

    // on: starts from the normal look; TRUE when started, FALSE when it blinks already or the
    // window does not exist yet. off: back to the normal look, repainted; TRUE when it was
    // blinking.
    BOOL Blink(CWnd& window, BOOL on);

    // One tick: the other look, repainted.
    void Flip(CWnd& window);

    // Kills the timer of a window that is being destroyed.
    void Stop(CWnd& window);

    bool IsHighlighted() const { return m_highlighted; }

private:
    bool m_highlighted = false;
    UINT m_periodMs = kDefaultPeriodMs;
    UINT_PTR m_timerId = 0;  // 0 while not blinking
};
