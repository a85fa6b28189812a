#include "forms/CPageTipGridCtrl.h"

#include "forms/MoveWithoutOwnTitleTip.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridTipWnd.h"

#include <windows.h>

BEGIN_MESSAGE_MAP(CPageTipGridCtrl, CGridCtrl)
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

// The grid's own tip stays off while the grid handles the move; the page's tip replaces it.
void CPageTipGridCtrl::OnMouseMove(UINT flags, CPoint point) {
    MoveWithoutOwnTitleTip(*this, flags, point);
    if (m_leftButtonDown && m_mouseMode != GRID_MOUSE_NOTHING) {
        return;
    }
    if (m_mouseMode == GRID_MOUSE_NOTHING && m_titleTips) {
        const GridCellId id = CellFromPoint(point, TRUE);
        const bool inside = id.row >= 0 && id.col >= 0 && id.row < GetRowCount() && id.col < GetColumnCount();
        CGridCellBase* cell = inside ? GetCell(id.row, id.col) : nullptr;
        GridTipRequest request;
        if (cell != nullptr && AskForTip(id.row, id.col, request)) {
            ShowPageTip(id.row, id.col, cell, request);
        }
    }
    m_lastMousePoint = point;
}

void CPageTipGridCtrl::ShowPageTip(int row, int col, CGridCellBase* cell, const GridTipRequest& request) {
    if (m_rightButtonDown || cell->IsEditing() || request.text.IsEmpty()) {
        return;
    }
    CRect cellRect;
    if (!GetCellRect(row, col, cellRect)) {
        return;
    }
    CRect textRect = cellRect;
    if (!cell->GetTipTextRect(textRect) || !GetCellRect(row, col, cellRect)) {
        return;
    }
    m_titleTip->Show(textRect, request.text, &cellRect, &request.font, GetTitleTipTextClr(),
                     GetTitleTipBackClr());
}

void CPageTipGridCtrl::OnKillFocus(CWnd* newWnd) {
    CGridCtrl::OnKillFocus(newWnd);
    HideTitleTip();
}
