#include "forms/CBlinkTimer.h"

BOOL CBlinkTimer::Blink(CWnd& window, BOOL on) {
    if (on) {
        // Without a window the system would make a thread timer with an id of its own,
        // which the control would never see nor kill.
        if (m_timerId != 0 || !window.IsWindow()) {
            return FALSE;
        }
        m_highlighted = false;
        m_timerId = window.SetTimer(kTimerId, m_periodMs);
        return m_timerId != 0 ? TRUE : FALSE;
    }
    m_highlighted = false;
    if (m_timerId == 0) {
        return FALSE;
    }
    window.KillTimer(m_timerId);
    m_timerId = 0;
    window.Invalidate();
    return TRUE;
}

void CBlinkTimer::Flip(CWnd& window) {
    m_highlighted = !m_highlighted;
    window.Invalidate();
}

void CBlinkTimer::Stop(CWnd& window) {
    if (m_timerId != 0) {
        window.KillTimer(m_timerId);
        m_timerId = 0;
    }
}
