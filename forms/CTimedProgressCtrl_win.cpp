#include "forms/CTimedProgressCtrl.h"

#include "classlib/win/AfxMsgMap.h"
#include "forms/TimedProgressMath.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CTimedProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(CTimedProgressCtrl, CProgressCtrl)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTimedProgressCtrl::CTimedProgressCtrl() = default;

void CTimedProgressCtrl::PreSubclassWindow() {
    m_shown = 0;
    m_target = 0;
    ::SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(0, TimedProgressMath::kBarUnits));
    ::SendMessageA(m_hWnd, PBM_SETPOS, 0, 0);
    CProgressCtrl::PreSubclassWindow();
}

void CTimedProgressCtrl::SetRange(short lower, short upper) {
    m_lower = lower;
    m_upper = upper;
}

void CTimedProgressCtrl::SetRange32(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
}

void CTimedProgressCtrl::GetRange(int& lower, int& upper) const {
    lower = m_lower;
    upper = m_upper;
}

int CTimedProgressCtrl::GetPos() const {
    return m_position;
}

int CTimedProgressCtrl::SetPos(int position, BOOL immediate) {
    const int previous = m_position;
    m_position = position;
    const int units = ToBarUnits(position);
    if (!immediate) {
        GlideTo(units);
        return previous;
    }
    StopGlide();
    m_shown = TimedProgressMath::ClampToBar(units);
    m_target = m_shown;
    if (m_hWnd != nullptr) {
        ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(m_shown), 0);
    }
    return previous;
}

int CTimedProgressCtrl::OffsetPos(int delta) {
    const int previous = m_position;
    m_position += delta;
    GlideTo(ToBarUnits(m_position));
    return previous;
}

int CTimedProgressCtrl::StepIt() {
    return OffsetPos(m_step);
}

int CTimedProgressCtrl::SetStep(int step) {
    const int previous = m_step;
    m_step = step;
    return previous;
}

int CTimedProgressCtrl::ToBarUnits(int position) const {
    return TimedProgressMath::ToBarUnits(position, m_lower, m_upper);
}

void CTimedProgressCtrl::GlideTo(int units) {
    m_target = TimedProgressMath::ClampToBar(units);
    if (m_target == m_shown) {
        StopGlide();
        return;
    }
    // Without a window the system would make a thread timer that this control never sees.
    if (m_glideTimer == 0 && m_hWnd != nullptr) {
        m_glideTimer = SetTimer(kGlideTimerId, kGlidePeriodMs);
    }
}

void CTimedProgressCtrl::StopGlide() {
    if (m_glideTimer == 0) {
        return;
    }
    if (m_hWnd != nullptr) {
        KillTimer(m_glideTimer);
    }
    m_glideTimer = 0;
}

void CTimedProgressCtrl::OnTimer(UINT_PTR id) {
    if (id != kGlideTimerId || m_glideTimer == 0) {
        Default();
        return;
    }
    if (m_shown == m_target) {
        StopGlide();
        return;
    }
    const int delta = TimedProgressMath::GlideDelta(m_shown, m_target);
    ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(m_shown + delta), 0);
    m_shown += delta;
    Default();
}

void CTimedProgressCtrl::OnDestroy() {
    Default();
    StopGlide();
}
