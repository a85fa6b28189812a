// A row of small raised segments inside a bumped frame: the first segment lights while the
// level is 0, the others light from left to right up to the level, like signal steps.
#pragma once

#include "classlib/win/CBrush.h"
#include "classlib/win/CStatic.h"

#include <windows.h>

class CIndicatorLamp : public CStatic {
public:
    // Three segments at level 2; margins 0.11, gap 0.22, height 0.5 of the inside; the
    // first segment red at level 0, the others green up to the level, else the button face.
    CIndicatorLamp();

    // 0: first segment unlit, 1: first segment at level 0, 2: further segment unlit,
    // 3: further segment at or below the level.
    void SetColors(COLORREF firstOff, COLORREF firstOn, COLORREF otherOff, COLORREF otherOn);

    // The caller repaints after either.
    void SetSegmentCount(int count) { m_segmentCount = count; }

    void SetLevel(int level) { m_level = level; }

    // Fractions of the inside's width (margins, gap) and height (segment height).
    void SetLayout(double leftMargin, double rightMargin, double gap, double height);

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    static constexpr int kColorCount = 4;

    void CreateBrushes();
    const CBrush& SegmentBrush(int segment) const;

    int m_segmentCount = 3;
    int m_level = 2;
    double m_leftMargin = 0.11;
    double m_rightMargin = 0.11;
    double m_gap = 0.22;
    double m_height = 0.5;
    COLORREF m_colors[kColorCount];
    CBrush m_brushes[kColorCount];
};
