// A value as a bar rising from the bottom, coloured by two limits, with the limits marked
// as dashed lines across the bar.
#pragma once

#include "classlib/win/CBrush.h"
#include "forms/CScaleIndicator.h"

class CLevelIndicator : public CScaleIndicator {
public:
    // Scale 0..1 with limits 0.33 and 0.66: blue below, green in range, red above.
    CLevelIndicator();

    void SetScale(double bottom,
                  double top,
                  double lowLimit,
                  double highLimit,
                  int decimals,
                  LPCSTR unit,
                  COLORREF aboveHighColor,
                  COLORREF belowLowColor,
                  COLORREF inRangeColor);

protected:
    std::vector<double> LabelValues() const override;
    int LabelTop(size_t index, const CRect& inner, int clientHeight, int textHeight) const override;
    std::vector<int> TickRows(const CRect& inner, int clientHeight, int bottomLabelEdge) const override;
    void DrawBar(CDC& dc, const CRect& inner, int clientHeight) const override;
    void DrawMarks(CDC& dc, const CRect& inner, BOOL disabled) const override;

private:
    int LimitRow(double limit, const CRect& inner) const;
    void DrawDashes(CDC& dc, const CRect& inner, int y, BOOL disabled) const;
    const CBrush& BarBrush() const;

    double m_lowLimit = 0.33;
    double m_highLimit = 0.66;
    COLORREF m_aboveHighColor = RGB(255, 0, 0);
    COLORREF m_belowLowColor = RGB(0, 0, 255);
    COLORREF m_inRangeColor = RGB(0, 255, 0);
    CBrush m_aboveHighBrush;
    CBrush m_belowLowBrush;
    CBrush m_inRangeBrush;
};
