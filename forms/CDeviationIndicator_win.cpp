#include "forms/CDeviationIndicator.h"

#include "classlib/win/CDC.h"

namespace {

enum LabelIndex {
    kBottomLabel,
    kMiddleLabel,
    kTopLabel
};

}  // namespace

CDeviationIndicator::CDeviationIndicator() {
    m_upperBrush.CreateSolidBrush(m_upperColor);
    m_lowerBrush.CreateSolidBrush(m_lowerColor);
}

void CDeviationIndicator::SetScale(double bottom,
                                   double top,
                                   int decimals,
                                   LPCSTR unit,
                                   COLORREF upperColor,
                                   COLORREF lowerColor) {
    SetScaleText(bottom, top, decimals, unit);
    m_upperColor = upperColor;
    m_lowerColor = lowerColor;
    m_upperBrush.DeleteObject();
    m_upperBrush.CreateSolidBrush(upperColor);
    m_lowerBrush.DeleteObject();
    m_lowerBrush.CreateSolidBrush(lowerColor);
}

std::vector<double> CDeviationIndicator::LabelValues() const {
    return {m_bottom, m_middle, m_top};
}

int CDeviationIndicator::LabelTop(size_t index, const CRect& inner, int clientHeight, int textHeight) const {
    switch (index) {
    case kBottomLabel:
        return inner.bottom - 1 - textHeight;
    case kMiddleLabel:
        return (clientHeight - textHeight) / 2;
    default:
        return inner.top;
    }
}

std::vector<int> CDeviationIndicator::TickRows(const CRect& inner,
                                               int clientHeight,
                                               int bottomLabelEdge) const {
    return {inner.top, clientHeight / 2, bottomLabelEdge};
}

void CDeviationIndicator::DrawBar(CDC& dc, const CRect& inner, int clientHeight) const {
    const int extent = ScaledHeight(m_value - m_middle, inner);
    if (extent > 0) {
        DrawUpward(dc, inner, clientHeight, extent);
    } else if (extent < 0) {
        DrawDownward(dc, inner, clientHeight, extent);
    }
}

void CDeviationIndicator::DrawUpward(CDC& dc, const CRect& inner, int clientHeight, int extent) const {
    const int edge = (inner.bottom - inner.top) / 2 - extent;
    int fillTop = inner.top;
    if (edge >= inner.top) {
        DrawTextLine(dc, inner.left, inner.right, edge);
        fillTop = edge + 1;
    }
    const CRect fill(inner.left, fillTop, inner.right, clientHeight / 2);
    dc.FillRect(&fill, &m_upperBrush);
}

void CDeviationIndicator::DrawDownward(CDC& dc, const CRect& inner, int clientHeight, int extent) const {
    const int edge = clientHeight / 2 - extent;
    int fillBottom = edge;
    if (edge + 1 > inner.bottom) {
        fillBottom = inner.bottom;
    } else {
        DrawTextLine(dc, inner.left, inner.right, edge);
    }
    const CRect fill(inner.left, clientHeight / 2 + 1, inner.right, fillBottom);
    dc.FillRect(&fill, &m_lowerBrush);
}
