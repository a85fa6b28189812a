#include "forms/CIndicatorLamp.h"

#include "classlib/win/CPaintDC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CIndicatorLamp, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CIndicatorLamp::CIndicatorLamp()
    : m_colors{::GetSysColor(COLOR_BTNFACE), RGB(255, 0, 0), ::GetSysColor(COLOR_BTNFACE), RGB(0, 255, 0)} {
    CreateBrushes();
}

void CIndicatorLamp::SetColors(COLORREF firstOff, COLORREF firstOn, COLORREF otherOff, COLORREF otherOn) {
    m_colors[0] = firstOff;
    m_colors[1] = firstOn;
    m_colors[2] = otherOff;
    m_colors[3] = otherOn;
    CreateBrushes();
}

void CIndicatorLamp::SetLayout(double leftMargin, double rightMargin, double gap, double height) {
    m_leftMargin = leftMargin;
    m_rightMargin = rightMargin;
    m_gap = gap;
    m_height = height;
}

void CIndicatorLamp::CreateBrushes() {
    for (int i = 0; i < kColorCount; ++i) {
        m_brushes[i].DeleteObject();
        m_brushes[i].CreateSolidBrush(m_colors[i]);
    }
}

const CBrush& CIndicatorLamp::SegmentBrush(int segment) const {
    if (segment == 0) {
        return m_brushes[m_level == 0 ? 1 : 0];
    }
    return m_brushes[segment <= m_level ? 3 : 2];
}

void CIndicatorLamp::OnPaint() {
    CPaintDC dc(this);
    CRect inside;
    GetClientRect(&inside);
    dc.DrawEdge(&inside, EDGE_BUMP, BF_RECT | BF_ADJUST);
    // No segments: only the frame (a count of 0 would divide by zero).
    const int n = m_segmentCount;
    if (n <= 0) {
        return;
    }
    const double width = inside.Width();
    const double height = inside.Height();
    // Fractions that add up to more than the whole would give negative sizes.
    const int w =
        std::max(0, static_cast<int>(width * (1 - ((n - 1) * m_gap + m_rightMargin + m_leftMargin)) / n));
    const int h = std::max(0, static_cast<int>(height * m_height));
    const int left = static_cast<int>(width * m_leftMargin);
    const int gap = static_cast<int>(width * m_gap);
    const int right = static_cast<int>(width * m_rightMargin);
    const int top = inside.top + (inside.Height() - h + 1) / 2;
    const int x =
        inside.left + left + (inside.right - right - (n - 1) * gap - n * w - left - inside.left) / 2;
    for (int i = 0; i < n; ++i) {
        CRect segment(x + i * (w + gap), top, x + i * (w + gap) + w, top + h);
        dc.DrawFrameControl(&segment, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
        dc.FillRect(&segment, &SegmentBrush(i));
    }
}
