#include "grid/CGridCellCheck.h"

#include "classlib/win/CDC.h"
#include "grid/CGridCtrl.h"
#include "grid/GridCellShapes.h"

#include <windows.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridCellCheck, CGridCell)

int CGridCellCheck::GetBoxSide() const {
    return GetSystemMetrics(SM_CXHSCROLL);
}

CRect CGridCellCheck::GetCheckBoxRect() const {
    const int side = GetBoxSide();
    const GridBoxOrigin origin =
        PlaceCheckBox(m_rect.left, m_rect.top, m_rect.Height(), side, static_cast<int>(GetMargin()));
    return CRect(origin.left, origin.top, origin.left + side, origin.top + side);
}

BOOL CGridCellCheck::SetCheck(BOOL checked) {
    const BOOL previous = GetCheck();
    m_checked = checked != FALSE;
    CGridCtrl* grid = GetGrid();
    if (m_rect.Width() > 0 && grid != nullptr && grid->GetSafeHwnd() != nullptr) {
        grid->InvalidateRect(m_rect);
    }
    return previous;
}

BOOL CGridCellCheck::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground) {
    const BOOL drawn = CGridCell::Draw(dc, row, col, rect, eraseBackground);
    m_rect = rect;
    CRect box = GetCheckBoxRect();
    if (dc != nullptr) {
        dc->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | (m_checked ? DFCS_CHECKED : 0));
    }
    return drawn;
}

BOOL CGridCellCheck::GetTextRect(LPRECT rect) {
    const BOOL result = CGridCell::GetTextRect(rect);
    const int room = GetBoxSide() + 2 * static_cast<int>(GetMargin());
    rect->left = std::min(rect->left + room, rect->right);
    return result;
}

CSize CGridCellCheck::GetCellExtent(CDC* dc) {
    CSize size = CGridCell::GetCellExtent(dc);
    const int room = GetBoxSide() + 2 * static_cast<int>(GetMargin());
    size.cx += room;
    size.cy = std::max(static_cast<int>(size.cy), room);
    return size;
}

void CGridCellCheck::OnClick(CPoint pointCellRelative) {
    CGridCtrl* grid = GetGrid();
    if (grid == nullptr) {
        return;
    }
    const CPoint point(pointCellRelative.x + m_rect.left, pointCellRelative.y + m_rect.top);
    const GridCellId cell = grid->CellFromPoint(point, TRUE);
    if (!grid->IsCellEditable(cell)) {
        return;
    }
    const CRect box = GetCheckBoxRect();
    if (!PtInRect(&box, point)) {
        return;
    }
    m_checked = !m_checked;
    grid->InvalidateRect(m_rect);
}
