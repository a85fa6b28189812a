// Common frame of the painted value indicators: labelled scale values with tick marks on
// the left, a sunken bar at the right edge with a line across its middle. The derived
// indicator says where its labels and ticks go and fills the bar.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CPen.h"
#include "classlib/win/CRect.h"
#include "classlib/win/CStatic.h"

#include <windows.h>

#include <vector>

class CDC;

class CScaleIndicator : public CStatic {
public:
    // The caller repaints.
    void SetValue(double value) { m_value = value; }

    // scale multiplies the margin, tick, gap and bar width (design pixels); secondScale is
    // kept for the pages but not drawn with. widthMode 1: the bar takes the width that is
    // left; 2: fixed bar, the ticks stretch to meet it; else both fixed.
    void
    SetLayout(double scale, double secondScale, int margin, int tick, int gap, int barWidth, int widthMode);

    // The label text of a scale value: the number with the decimals, a blank and the unit.
    CString FormatLabel(double value) const;

protected:
    CScaleIndicator();

    void SetScaleText(double bottom, double top, int decimals, LPCSTR unit);

    // The scale values to label, in drawing order.
    virtual std::vector<double> LabelValues() const = 0;
    // The top of label index's text of the given height.
    virtual int LabelTop(size_t index, const CRect& inner, int clientHeight, int textHeight) const = 0;
    virtual std::vector<int> TickRows(const CRect& inner, int clientHeight, int bottomLabelEdge) const = 0;
    // Fills the bar's inside (only while the window is enabled).
    virtual void DrawBar(CDC& dc, const CRect& inner, int clientHeight) const = 0;

    // Drawn last, over the bar and the middle line.
    virtual void DrawMarks(CDC& dc, const CRect& inner, BOOL disabled) const {}

    // The bar's inside height plus one.
    static int InsideHeight(const CRect& inner) { return inner.bottom - inner.top + 1; }

    // Pixels of a span of scale values, truncated; 0 when the scale is empty.
    int ScaledHeight(double span, const CRect& inner) const;
    // A horizontal line in the text colour, or etched (shadow, highlight below) when disabled.
    void DrawScaleLine(CDC& dc, int fromX, int toX, int y, BOOL disabled) const;
    void DrawTextLine(CDC& dc, int fromX, int toX, int y) const;

    BOOL HasScale() const { return m_top != m_bottom; }

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);

    CString m_unit;
    int m_decimals = 2;
    double m_bottom = 0.0;
    double m_middle = 0.5;
    double m_top = 1.0;
    double m_value = 0.0;
    double m_scale = 1.0;
    double m_secondScale = 1.0;
    int m_margin = 1;
    int m_tick = 4;
    int m_gap = 1;
    int m_barWidth = 10;
    int m_widthMode = 0;

    DECLARE_MESSAGE_MAP()

private:
    void DrawLabels(CDC& dc, const CRect& inner, int labelRight, BOOL disabled) const;
    int WidestLabel(CDC& dc) const;

    CPen m_textPen;
    CPen m_shadowPen;
    CPen m_highlightPen;
};
