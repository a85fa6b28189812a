#include "forms/CLevelIndicator.h"

#include "classlib/win/CDC.h"

#include <algorithm>

namespace {

enum LabelIndex {
    kBottomLabel,
    kMiddleLabel,
    kTopLabel,
    kLowLabel,
    kHighLabel
};

constexpr int kDashOn = 5;
constexpr int kDashPitch = 9;  // 5 pixels drawn, 4 left out

}  // namespace

CLevelIndicator::CLevelIndicator() {
    m_aboveHighBrush.CreateSolidBrush(m_aboveHighColor);
    m_belowLowBrush.CreateSolidBrush(m_belowLowColor);
    m_inRangeBrush.CreateSolidBrush(m_inRangeColor);
}

void CLevelIndicator::SetScale(double bottom,
                               double top,
                               double lowLimit,
                               double highLimit,
                               int decimals,
                               LPCSTR unit,
                               COLORREF aboveHighColor,
                               COLORREF belowLowColor,
                               COLORREF inRangeColor) {
    SetScaleText(bottom, top, decimals, unit);
    m_lowLimit = lowLimit;
    m_highLimit = highLimit;
    m_aboveHighColor = aboveHighColor;
    m_belowLowColor = belowLowColor;
    m_inRangeColor = inRangeColor;
    m_aboveHighBrush.DeleteObject();
    m_aboveHighBrush.CreateSolidBrush(aboveHighColor);
    m_belowLowBrush.DeleteObject();
    m_belowLowBrush.CreateSolidBrush(belowLowColor);
    m_inRangeBrush.DeleteObject();
    m_inRangeBrush.CreateSolidBrush(inRangeColor);
}

std::vector<double> CLevelIndicator::LabelValues() const {
    return {m_bottom, m_middle, m_top, m_lowLimit, m_highLimit};
}

int CLevelIndicator::LimitRow(double limit, const CRect& inner) const {
    return inner.bottom - ScaledHeight(limit - m_bottom, inner);
}

int CLevelIndicator::LabelTop(size_t index, const CRect& inner, int clientHeight, int textHeight) const {
    switch (index) {
    case kBottomLabel:
        return inner.bottom - textHeight;
    case kMiddleLabel:
        return (clientHeight - textHeight) / 2;
    case kTopLabel:
        return inner.top;
    case kLowLabel:
        return LimitRow(m_lowLimit, inner) - textHeight / 2;
    default:
        return LimitRow(m_highLimit, inner) - textHeight / 2;
    }
}

std::vector<int> CLevelIndicator::TickRows(const CRect& inner, int clientHeight, int bottomLabelEdge) const {
    return {inner.top, clientHeight / 2, inner.bottom, LimitRow(m_lowLimit, inner),
            LimitRow(m_highLimit, inner)};
}

const CBrush& CLevelIndicator::BarBrush() const {
    if (m_value < m_lowLimit) {
        return m_belowLowBrush;
    }
    if (m_value > m_highLimit) {
        return m_aboveHighBrush;
    }
    return m_inRangeBrush;
}

void CLevelIndicator::DrawBar(CDC& dc, const CRect& inner, int clientHeight) const {
    const int height = ScaledHeight(m_value - m_bottom, inner);
    if (height <= 0) {
        return;
    }
    const CRect fill(inner.left, std::max<int>(inner.bottom - height, inner.top), inner.right, inner.bottom);
    dc.FillRect(&fill, &BarBrush());
}

void CLevelIndicator::DrawDashes(CDC& dc, const CRect& inner, int y, BOOL disabled) const {
    for (int x = inner.left; x < inner.right; x += kDashPitch) {
        DrawScaleLine(dc, x, std::min(x + kDashOn, static_cast<int>(inner.right)), y, disabled);
    }
}

void CLevelIndicator::DrawMarks(CDC& dc, const CRect& inner, BOOL disabled) const {
    DrawDashes(dc, inner, LimitRow(m_lowLimit, inner), disabled);
    DrawDashes(dc, inner, LimitRow(m_highLimit, inner), disabled);
}
