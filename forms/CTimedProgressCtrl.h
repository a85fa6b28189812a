// A progress bar that keeps a logical range and position of its own and lets the visible
// bar glide toward a new position on a 20 ms timer instead of jumping. The window's own
// range is always 0..10000 bar units.
#pragma once

#include "classlib/win/CProgressCtrl.h"

class CTimedProgressCtrl : public CProgressCtrl {
    DECLARE_DYNAMIC(CTimedProgressCtrl)

public:
    static constexpr UINT_PTR kGlideTimerId = 1;
    static constexpr UINT kGlidePeriodMs = 20;

    CTimedProgressCtrl();

    // Both bounds as signed 16-bit values; nothing is redrawn.
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int GetPos() const;
    // The previous logical position. immediate: the bar jumps there; else it glides.
    int SetPos(int position, BOOL immediate = FALSE);
    int OffsetPos(int delta);
    int StepIt();
    int SetStep(int step);

    // The bar value shown now and the one the glide heads for (0..10000).
    int GetShownUnits() const { return m_shown; }

    int GetTargetUnits() const { return m_target; }

protected:
    void PreSubclassWindow() override;
    void OnTimer(UINT_PTR id);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    int ToBarUnits(int position) const;
    void GlideTo(int units);
    void StopGlide();

    int m_shown = 0;
    int m_target = 0;
    UINT_PTR m_glideTimer = 0;  // 0 while not gliding
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
    int m_step = 10;
};
