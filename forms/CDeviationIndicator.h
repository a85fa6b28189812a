// A value against a scale with a zero line in the middle: the bar grows from the middle
// up in the upper colour or down in the lower colour.
#pragma once

#include "classlib/win/CBrush.h"
#include "forms/CScaleIndicator.h"

class CDeviationIndicator : public CScaleIndicator {
public:
    // Scale 0..1 with 2 decimals and no unit; red above the middle, blue below.
    CDeviationIndicator();

    void SetScale(double bottom,
                  double top,
                  int decimals,
                  LPCSTR unit,
                  COLORREF upperColor,
                  COLORREF lowerColor);

protected:
    std::vector<double> LabelValues() const override;
    int LabelTop(size_t index, const CRect& inner, int clientHeight, int textHeight) const override;
    std::vector<int> TickRows(const CRect& inner, int clientHeight, int bottomLabelEdge) const override;
    void DrawBar(CDC& dc, const CRect& inner, int clientHeight) const override;

private:
    void DrawUpward(CDC& dc, const CRect& inner, int clientHeight, int extent) const;
    void DrawDownward(CDC& dc, const CRect& inner, int clientHeight, int extent) const;

    COLORREF m_upperColor = RGB(255, 0, 0);
    COLORREF m_lowerColor = RGB(0, 0, 255);
    CBrush m_upperBrush;
    CBrush m_lowerBrush;
};
