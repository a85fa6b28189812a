#include "forms/CMarkerGridCtrl.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CScopedSelect.h"

#include <windows.h>

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
