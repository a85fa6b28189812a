#include "forms/CScaleIndicator.h"

#include "classlib/win/CPaintDC.h"
#include "forms/CMemoryDC.h"
#include "forms/FormatScaleLabel.h"

#include <algorithm>
#include <cmath>

namespace {

// Sizes in the drawing stay well inside int; a NaN or huge value is pinned first.
int TruncatePixels(double value, int limit) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -static_cast<double>(limit), static_cast<double>(limit)));
}

}  // namespace

BEGIN_MESSAGE_MAP(CScaleIndicator, CStatic)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CScaleIndicator::CScaleIndicator() {
    m_textPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    m_shadowPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_highlightPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void CScaleIndicator::SetLayout(double scale,
                                double secondScale,
                                int margin,
                                int tick,
                                int gap,
                                int barWidth,
                                int widthMode) {
    m_scale = scale;
    m_secondScale = secondScale;
    m_margin = margin;
    m_tick = tick;
    m_gap = gap;
    m_barWidth = barWidth;
    m_widthMode = widthMode;
}

void CScaleIndicator::SetScaleText(double bottom, double top, int decimals, LPCSTR unit) {
    m_bottom = bottom;
    m_top = top;
    m_middle = (bottom + top) * 0.5;
    m_decimals = decimals;
    m_unit = unit != nullptr ? unit : "";
}

CString CScaleIndicator::FormatLabel(double value) const {
    return CString(FormatScaleLabel(value, m_decimals, m_unit.GetString()).c_str());
}

int CScaleIndicator::ScaledHeight(double span, const CRect& inner) const {
    if (!HasScale()) {
        return 0;
    }
    const int height = InsideHeight(inner);
    return TruncatePixels(span * height / (m_top - m_bottom), 2 * height + 2);
}

BOOL CScaleIndicator::OnEraseBkgnd(CDC* dc) {
    return TRUE;
}

int CScaleIndicator::WidestLabel(CDC& dc) const {
    int widest = 0;
    for (const double value : LabelValues()) {
        widest = std::max(widest, static_cast<int>(dc.GetTextExtent(FormatLabel(value)).cx));
    }
    return widest;
}

void CScaleIndicator::DrawTextLine(CDC& dc, int fromX, int toX, int y) const {
    const HGDIOBJ previous = dc.SelectObject(&m_textPen);
    dc.MoveTo(fromX, y);
    dc.LineTo(toX, y);
    dc.SelectObject(previous);
}

void CScaleIndicator::DrawScaleLine(CDC& dc, int fromX, int toX, int y, BOOL disabled) const {
    if (!disabled) {
        DrawTextLine(dc, fromX, toX, y);
        return;
    }
    const HGDIOBJ previous = dc.SelectObject(&m_shadowPen);
    dc.MoveTo(fromX, y);
    dc.LineTo(toX, y);
    dc.SelectObject(&m_highlightPen);
    dc.MoveTo(fromX, y + 1);
    dc.LineTo(toX, y + 1);
    dc.SelectObject(previous);
}

void CScaleIndicator::DrawLabels(CDC& dc, const CRect& inner, int labelRight, BOOL disabled) const {
    CRect client;
    GetClientRect(&client);
    const std::vector<double> values = LabelValues();
    for (size_t i = 0; i < values.size(); ++i) {
        const CString label = FormatLabel(values[i]);
        const CSize extent = dc.GetTextExtent(label);
        const int top = LabelTop(i, inner, client.Height(), extent.cy);
        ::DrawStateA(dc.GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(label.GetString()),
                     label.GetLength(), labelRight - extent.cx, top, extent.cx, extent.cy,
                     DST_PREFIXTEXT | (disabled ? DSS_DISABLED : DSS_NORMAL));
    }
}

void CScaleIndicator::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC dc(&paint, client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(OPAQUE);
    const HFONT font = GetFont();
    const HGDIOBJ previousFont = font != nullptr ? dc.SelectObject(font) : nullptr;
    const BOOL disabled = !IsWindowEnabled();
    const int margin = static_cast<int>(m_margin * m_scale);
    int tick = static_cast<int>(m_tick * m_scale);
    const int gap = static_cast<int>(m_gap * m_scale);
    const int widest = WidestLabel(dc);
    int barWidth = static_cast<int>(m_barWidth * m_scale);
    if (m_widthMode == 1) {
        barWidth = client.right - widest - tick - gap - margin - client.left - 2;
    } else if (m_widthMode == 2) {
        tick = client.right - widest - barWidth - gap - margin - client.left - 2;
    }
    CRect inner(client.right - barWidth, client.top, client.right, client.bottom);
    dc.DrawFrameControl(&inner, DFC_BUTTON,
                        DFCS_BUTTONPUSH | DFCS_CHECKED | DFCS_ADJUSTRECT | (disabled ? DFCS_INACTIVE : 0));
    DrawLabels(dc, inner, widest + 2, disabled);
    const int bottomLabelEdge = inner.bottom - 1;
    for (const int y : TickRows(inner, client.Height(), bottomLabelEdge)) {
        DrawScaleLine(dc, margin + widest + 2, margin + widest + tick + 3, y, disabled);
    }
    if (!disabled && HasScale()) {
        DrawBar(dc, inner, client.Height());
    }
    DrawScaleLine(dc, inner.left, inner.right, client.Height() / 2, disabled);
    DrawMarks(dc, inner, disabled);
    if (previousFont != nullptr) {
        dc.SelectObject(previousFont);
    }
}
