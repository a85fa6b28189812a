#include "forms/CMarkerGridCtrl.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CScopedSelect.h"
#include "link/CalibrationHelpers.h"

#include <windows.h>

#include <algorithm>

void CMarkerGridCtrl::SetAxes(int speedCount, const int* speed, int timeCount, const int* time) {
    m_speedCount = std::clamp(speedCount, 0, kMaxAxis);
    m_timeCount = std::clamp(timeCount, 0, kMaxAxis);
    std::copy(speed, speed + m_speedCount, m_speedAxis);
    std::copy(time, time + m_timeCount, m_timeAxis);
}

bool CMarkerGridCtrl::LocateOnAxes(int speed, int time, CPoint& centre, int& cellHeight) {
    if (!HasAxes()) {
        return false;
    }
    int column = 0;
    int row = 0;
    double columnFraction = 0;
    double rowFraction = 0;
    LocateAxisCell(speed, time, m_speedCount, m_timeCount, m_speedAxis, m_timeAxis, &column, &columnFraction,
                   &row, &rowFraction);
    CRect cell;
    if (!GetCellRect(row + 1, column + 1, cell)) {
        return false;
    }
    centre = CPoint(cell.left + static_cast<int>(cell.Width() * columnFraction),
                    cell.top + static_cast<int>(cell.Height() * rowFraction));
    cellHeight = cell.Height();
    return true;
}

void CMarkerGridCtrl::MoveMarkerTo(const CRect& place) {
    if (GetSafeHwnd() != nullptr) {
        InvalidateRect(m_markerRect, TRUE);
    }
    m_markerRect = place;
    if (GetSafeHwnd() != nullptr) {
        InvalidateRect(m_markerRect, TRUE);
    }
}

void CMarkerGridCtrl::PaintMarker(CDC& dc, const CBrush& outer, const CBrush& inner) const {
    if (m_markerRect.Width() <= 0) {
        return;
    }
    {
        CScopedSelect outline(dc, outer);
        dc.Ellipse(m_markerRect);
    }
    CScopedSelect fill(dc, inner);
    dc.Ellipse(m_markerRect.left + 1, m_markerRect.top + 1, m_markerRect.right - 1, m_markerRect.bottom - 1);
}

BOOL CMarkerGridCtrl::RedrawCell(const GridCellId& cell, CDC* dc) {
    return RedrawCell(cell.row, cell.col, dc);
}

// A redrawn cell may cover part of the marker, which is then painted again.
BOOL CMarkerGridCtrl::RedrawCell(int row, int col, CDC* dc) {
    const BOOL drawn = CGridCtrl::RedrawCell(row, col, dc);
    CRect cell;
    if (drawn && GetSafeHwnd() != nullptr && GetCellRect(row, col, cell)) {
        CRect grown(cell.left, cell.top, cell.right + 1, cell.bottom + 1);
        RECT overlap = {};
        if (IntersectRect(&overlap, &grown, &m_markerRect)) {
            InvalidateRect(&overlap, TRUE);
        }
    }
    return drawn;
}
