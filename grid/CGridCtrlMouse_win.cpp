// The grid window's answers to the mouse (selecting by dragging, sizing rows and columns
// at their dividers, clicks and double clicks, the wheel) and whether cells are visible.
#include "classlib/win/CDC.h"
#include "classlib/win/CWaitCursor.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridTipWnd.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr int kTrackingLineWidth = 2;
constexpr int kWheelDelta = 120;

}  // namespace

void CGridCtrl::SetGridLines(int mode) {
    m_gridLines = mode;
    Refresh();
}

void CGridCtrl::SetListMode(BOOL listMode) {
    ClearSelection();
    SetSortColumn(-1);
    m_listMode = listMode;
    m_fixedColumnSelection = FALSE;
    Refresh();
}

BOOL CGridCtrl::IsCellEditable(int row, int col) const {
    return m_editable && (GetCellState(row, col) & GRID_STATE_READONLY) == 0;
}

BOOL CGridCtrl::IsCellVisible(int row, int col) {
    POINT origin = {};
    if (!IsWindow() || !GetCellOrigin(row, col, &origin)) {
        return FALSE;
    }
    CRect client;
    GetClientRect(client);
    return origin.x < client.right && origin.y < client.bottom;
}

BOOL CGridCtrl::InvalidateCellRect(int row, int col) {
    CRect rect;
    if (!IsWindow() || !m_allowDraw || !IsValid(row, col) || !IsCellVisible(row, col) ||
        !GetCellRect(row, col, rect)) {
        return FALSE;
    }
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

BOOL CGridCtrl::InvalidateCellRange(const GridCellRange& range, BOOL visibleOnly) {
    if (!IsWindow() || !m_allowDraw) {
        return FALSE;
    }
    GridCellRange target = range;
    if (visibleOnly) {
        const GridCellRange visible = GetVisibleNonFixedCellRange();
        target =
            GridCellRange(std::max(range.minRow, visible.minRow), std::max(range.minCol, visible.minCol),
                          std::min(range.maxRow, visible.maxRow), std::min(range.maxCol, visible.maxCol));
    }
    CRect rect;
    if (!GetCellRangeRect(target, rect)) {
        return FALSE;
    }
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

CPoint CGridCtrl::GetCellRelativePoint(int row, int col, CPoint point) {
    POINT origin = {};
    if (!GetCellOrigin(row, col, &origin)) {
        return CPoint(0, 0);
    }
    return CPoint(point.x - origin.x, point.y - origin.y);
}

// One line scroll per shown row or column between the visible range and the cell.
void CGridCtrl::ScrollLinesToShow(int bar, int from, int to) {
    const CGridAxis& axis = m_layout.Axis(bar == SB_HORZ);
    const UINT message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    const bool forward = to > from;
    for (int i = forward ? from + 1 : to; forward ? i <= to : i < from; ++i) {
        if (axis.GetSize(i) > 0) {
            SendMessage(message, forward ? SB_LINEDOWN : SB_LINEUP);
        }
    }
}

// Stops as soon as a line scroll no longer moves the bar, so a cell wider or taller than
// the client area cannot keep it scrolling for ever.
void CGridCtrl::ScrollUntilInside(int bar, int row, int col) {
    const bool horizontal = bar == SB_HORZ;
    const int bit = horizontal ? 1 : 2;
    CRect client;
    GetClientRect(client);
    CRect rect;
    while ((m_scrollBarState & bit) != 0 && GetCellRect(row, col, rect)) {
        const bool beyond = horizontal ? rect.right > client.right && GetFixedColumnWidth() < rect.left
                                       : rect.bottom > client.bottom && GetFixedRowHeight() < rect.top;
        if (!beyond) {
            return;
        }
        const int before = GetScrollPos32(bar);
        SendMessage(horizontal ? WM_HSCROLL : WM_VSCROLL, SB_LINEDOWN);
        if (GetScrollPos32(bar) == before) {
            return;
        }
    }
}

void CGridCtrl::EnsureVisible(int row, int col) {
    if (!m_allowDraw || !IsWindow() || !IsValid(row, col)) {
        return;
    }
    CWnd* focus = GetFocus();
    const HWND focusWindow = focus == nullptr ? nullptr : focus->GetSafeHwnd();
    const GridCellRange visible = GetVisibleNonFixedCellRange();
    if (col >= GetFixedColumnCount()) {
        if (col > visible.maxCol) {
            ScrollLinesToShow(SB_HORZ, visible.maxCol, col);
        } else if (col < visible.minCol) {
            ScrollLinesToShow(SB_HORZ, visible.minCol, col);
        }
    }
    if (row >= GetFixedRowCount()) {
        if (row > visible.maxRow) {
            ScrollLinesToShow(SB_VERT, visible.maxRow, row);
        } else if (row < visible.minRow) {
            ScrollLinesToShow(SB_VERT, visible.minRow, row);
        }
    }
    ScrollUntilInside(SB_HORZ, row, col);
    ScrollUntilInside(SB_VERT, row, col);
    if (focusWindow != nullptr && ::IsWindow(focusWindow)) {
        ::SetFocus(focusWindow);
    }
}

void CGridCtrl::OnLButtonDown(UINT flags, CPoint point) {
    HideTitleTip();
    SetFocus();
    m_leftClickDownPoint = point;
    m_leftButtonDown = TRUE;
    m_leftClickDownCell = CellFromPoint(point, TRUE);
    const GridCellId cell = m_leftClickDownCell;
    CGridCellBase* cellObject = GetCell(cell.row, cell.col);
    if (!IsValid(cell)) {
        m_lastMousePoint = point;
        return;
    }
    const bool ctrl = (flags & MK_CONTROL) != 0;
    if ((flags & MK_SHIFT) == 0) {
        m_selectionStartCell = cell;
    } else if (!IsValid(m_selectionStartCell)) {
        m_selectionStartCell = m_focusCell;
    }
    EndEditing();
    if (cellObject != nullptr) {
        cellObject->OnClickDown(GetCellRelativePoint(cell.row, cell.col, point));
    }
    CRect textRect;
    if (cell == m_focusCell && !ctrl && GetTextRect(cell.row, cell.col, textRect) &&
        PtInRect(textRect, point) && IsCellEditable(cell)) {
        m_mouseMode = GRID_MOUSE_PREPARE_EDIT;
        return;
    }
    if (IsCellSelected(cell)) {
        SetFocusCell(cell);
        if (ctrl) {
            if (m_listMode) {
                SelectRows(cell, TRUE, FALSE);
            } else {
                SelectCells(cell, TRUE, FALSE);
            }
            return;
        }
        if (m_allowDragAndDrop) {
            m_mouseMode = GRID_MOUSE_PREPARE_DRAG;
        }
    } else if (m_mouseMode != GRID_MOUSE_OVER_COL_DIVIDE && m_mouseMode != GRID_MOUSE_OVER_ROW_DIVIDE) {
        SetFocusCell(IsFixedCell(cell.row, cell.col) ? GridCellId() : cell);
    }
    SetCapture();
    if (m_mouseMode == GRID_MOUSE_NOTHING) {
        UpdateDividerMode(point);
    }
    if (m_mouseMode == GRID_MOUSE_OVER_COL_DIVIDE) {
        StartSizing(point, TRUE);
    } else if (m_mouseMode == GRID_MOUSE_OVER_ROW_DIVIDE) {
        StartSizing(point, FALSE);
    } else if (m_mouseMode != GRID_MOUSE_PREPARE_DRAG) {
        SendNotify(cell.row, cell.col, GRIDN_SELCHANGING);
        m_previousSelectedCells.Clear();
        if (ctrl) {
            for (const GridCellId& selected : m_selectedCells.GetCells()) {
                m_previousSelectedCells.Add(selected);
            }
        }
        GridCellId clicked = cell;
        if (cell.row < GetFixedRowCount()) {
            OnFixedRowClick(clicked);
        } else if (cell.col < GetFixedColumnCount()) {
            OnFixedColumnClick(clicked);
        } else {
            m_mouseMode = m_listMode ? GRID_MOUSE_SELECT_ROW : GRID_MOUSE_SELECT_CELLS;
            OnSelecting(cell);
            m_timerId = SetTimer(kSelectionTimerId, m_timerIntervalMs);
        }
    }
    m_lastMousePoint = point;
}

// A press that waited for its release turns into a selection: it holds the mouse from now
// on, so that a release outside the grid still ends it, and scrolls as a selection does.
void CGridCtrl::StartDragSelection() {
    m_mouseMode = m_listMode ? GRID_MOUSE_SELECT_ROW : GRID_MOUSE_SELECT_CELLS;
    SetCapture();
    SendNotify(m_leftClickDownCell.row, m_leftClickDownCell.col, GRIDN_SELCHANGING);
    m_previousSelectedCells.Clear();
    if (m_timerId == 0) {
        m_timerId = SetTimer(kSelectionTimerId, m_timerIntervalMs);
    }
}

// The divider tests: the cursor and the mode follow what lies under the point.
void CGridCtrl::UpdateDividerMode(CPoint point) {
    if (m_allowColumnResize && MouseOverColumnResizeArea(point)) {
        if (m_mouseMode != GRID_MOUSE_OVER_COL_DIVIDE) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            m_mouseMode = GRID_MOUSE_OVER_COL_DIVIDE;
        }
    } else if (m_allowRowResize && MouseOverRowResizeArea(point)) {
        if (m_mouseMode != GRID_MOUSE_OVER_ROW_DIVIDE) {
            SetCursor(LoadCursor(nullptr, IDC_SIZENS));
            m_mouseMode = GRID_MOUSE_OVER_ROW_DIVIDE;
        }
    } else if (m_mouseMode != GRID_MOUSE_NOTHING) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        m_mouseMode = GRID_MOUSE_NOTHING;
    }
}

void CGridCtrl::InvertTrackingLine(CPoint point, BOOL vertical) {
    CDC* dc = GetDC();
    if (dc == nullptr) {
        return;
    }
    CRect client;
    GetClientRect(client);
    if (vertical) {
        dc->PatBlt(point.x - kTrackingLineWidth / 2, 0, kTrackingLineWidth, client.bottom, DSTINVERT);
    } else {
        dc->PatBlt(0, point.y - kTrackingLineWidth / 2, client.right, kTrackingLineWidth, DSTINVERT);
    }
    ReleaseDC(dc);
}

// The column or row to size is chosen here and kept, so that the release sizes the same one.
// The cursor is held between the divider's cell start and the far side of the client area.
void CGridCtrl::StartSizing(CPoint point, BOOL columns) {
    const auto along = [columns](const POINT& at) { return columns ? at.x : at.y; };
    const CGridAxis& axis = m_layout.Axis(columns);
    m_mouseMode = columns ? GRID_MOUSE_SIZING_COL : GRID_MOUSE_SIZING_ROW;
    const int last = axis.GetCount() - 1;
    CRect visibleRect;
    GetVisibleNonFixedCellRange(visibleRect);
    POINT origin = {};
    GetCellOrigin(m_leftClickDownCell.row, m_leftClickDownCell.col, &origin);
    int index = columns ? m_leftClickDownCell.col : m_leftClickDownCell.row;
    const int visibleEnd = columns ? visibleRect.right : visibleRect.bottom;
    const bool nearlyHiddenLast =
        axis.GetSize(last) < m_resizeCaptureRange && std::abs(along(point) - visibleEnd) < m_resizeCaptureRange;
    if (nearlyHiddenLast) {
        index = last;
    } else if (along(point) - along(origin) < m_resizeCaptureRange && index > 0) {
        --index;
    }
    if (!(columns ? m_hiddenColUnhide : m_hiddenRowUnhide)) {
        while (index > 0 && axis.GetSize(index) == 0) {
            --index;
        }
        if (axis.GetSize(index) == 0) {
            m_mouseMode = GRID_MOUSE_NOTHING;
            return;
        }
    }
    m_sizingIndex = index;
    InvertTrackingLine(point, columns);
    GetCellOrigin(columns ? m_leftClickDownCell.row : index, columns ? index : m_leftClickDownCell.col, &origin);
    CRect clip;
    GetClientRect(clip);
    if (columns) {
        clip.left = origin.x + 1;
        clip.right += origin.x - GetFixedColumnWidth() + 1;
    } else {
        clip.top = origin.y + 1;
        clip.bottom += origin.y - GetFixedRowHeight() + 1;
    }
    ClientToScreen(clip);
    m_cursorClipped = ClipCursor(clip) != FALSE;
}

void CGridCtrl::ReleaseCursorClip() {
    if (m_cursorClipped) {
        ClipCursor(nullptr);
        m_cursorClipped = false;
    }
}

void CGridCtrl::FinishSizing(CPoint point) {
    const bool columns = m_mouseMode == GRID_MOUSE_SIZING_COL;
    InvertTrackingLine(m_lastMousePoint, columns ? TRUE : FALSE);
    if (point == m_leftClickDownPoint || point == CPoint(0, 0)) {
        return;
    }
    POINT origin = {};
    const int row = columns ? m_leftClickDownCell.row : m_sizingIndex;
    const int col = columns ? m_sizingIndex : m_leftClickDownCell.col;
    if (!GetCellOrigin(row, col, &origin)) {
        return;
    }
    if (columns) {
        const int minimum = m_allowColumnHide ? 0 : 1;
        SetColumnWidth(col, std::max(minimum, static_cast<int>(point.x - origin.x)));
    } else {
        const int minimum = m_allowRowHide ? 0 : 1;
        SetRowHeight(row, std::max(minimum, static_cast<int>(point.y - origin.y)));
    }
    ResetScrollBars();
    Invalidate();
}

void CGridCtrl::ExtendMouseSelection(CPoint point) {
    const GridCellId cell = CellFromPoint(point, TRUE);
    if (!IsValid(cell) || cell == m_focusCell) {
        return;
    }
    OnSelecting(cell);
    if (!(m_mouseMode == GRID_MOUSE_SELECT_CELLS && IsFixedCell(cell.row, cell.col))) {
        SetFocusCell(cell);
    }
}

void CGridCtrl::OnMouseMove(UINT flags, CPoint point) {
    CRect client;
    GetClientRect(client);
    if (!PtInRect(client, point) && m_mouseMode != GRID_MOUSE_DRAGGING) {
        return;
    }
    if (m_leftButtonDown && m_mouseMode != GRID_MOUSE_NOTHING) {
        if (IsValid(m_leftClickDownCell)) {
            switch (m_mouseMode) {
            case GRID_MOUSE_SELECT_COL:
            case GRID_MOUSE_SELECT_ROW:
            case GRID_MOUSE_SELECT_CELLS:
                ExtendMouseSelection(point);
                break;
            case GRID_MOUSE_SIZING_ROW:
            case GRID_MOUSE_SIZING_COL:
                InvertTrackingLine(m_lastMousePoint, m_mouseMode == GRID_MOUSE_SIZING_COL ? TRUE : FALSE);
                InvertTrackingLine(point, m_mouseMode == GRID_MOUSE_SIZING_COL ? TRUE : FALSE);
                break;
            case GRID_MOUSE_PREPARE_EDIT:
            case GRID_MOUSE_PREPARE_DRAG:
                // A jitter within the drag threshold keeps the pending click; a real move
                // turns it into a selection instead of wiping selection and focus.
                if (std::abs(point.x - m_leftClickDownPoint.x) > GetSystemMetrics(SM_CXDRAG) ||
                    std::abs(point.y - m_leftClickDownPoint.y) > GetSystemMetrics(SM_CYDRAG)) {
                    if (m_allowDragAndDrop && m_mouseMode == GRID_MOUSE_PREPARE_DRAG) {
                        OnBeginDrag();
                        break;
                    }
                    StartDragSelection();
                    ExtendMouseSelection(point);
                }
                break;
            default:
                break;
            }
        }
        m_lastMousePoint = point;
        return;
    }
    UpdateDividerMode(point);
    if (m_mouseMode == GRID_MOUSE_OVER_COL_DIVIDE || m_mouseMode == GRID_MOUSE_OVER_ROW_DIVIDE) {
        m_lastMousePoint = point;
        return;
    }
    const GridCellId cell = CellFromPoint(point, TRUE);
    CGridCellBase* cellObject = GetCell(cell.row, cell.col);
    if (cellObject != nullptr && (!m_virtualMode || m_titleTips)) {
        cellObject->OnMouseOver();
    }
    if (m_titleTips && !m_rightButtonDown) {
        ShowTitleTipAt(cell);
    }
    m_lastMousePoint = point;
}

void CGridCtrl::ShowTitleTipAt(const GridCellId& cell) {
    CGridCellBase* cellObject = GetCell(cell.row, cell.col);
    if (cellObject == nullptr || *cellObject->GetTipText() == '\0' || cellObject->IsEditing()) {
        return;
    }
    CRect cellRect;
    if (!GetCellRect(cell.row, cell.col, cellRect)) {
        return;
    }
    CRect textRect = cellRect;
    if (!cellObject->GetTipTextRect(textRect)) {
        return;
    }
    m_titleTip->Show(textRect, cellObject->GetTipText(), &cellRect, cellObject->GetFont(),
                     m_titleTipTextColour, m_titleTipBackColour);
}

void CGridCtrl::OnLButtonUp(UINT flags, CPoint point) {
    CWnd::OnLButtonUp(flags, point);
    m_leftButtonDown = FALSE;
    ReleaseCursorClip();
    if (GetCapture() != nullptr && GetCapture()->GetSafeHwnd() == m_hWnd) {
        m_releasingCapture = true;
        ReleaseCapture();
        m_releasingCapture = false;
        KillTimer(m_timerId);
        m_timerId = 0;
    }
    switch (m_mouseMode) {
    case GRID_MOUSE_PREPARE_EDIT:
        OnEditCell(m_focusCell.row, m_focusCell.col,
                   GetCellRelativePoint(m_focusCell.row, m_focusCell.col, point), VK_LBUTTON);
        break;
    case GRID_MOUSE_PREPARE_DRAG: {
        CGridCellBase* focusCell = GetCell(m_focusCell.row, m_focusCell.col);
        if (focusCell != nullptr) {
            focusCell->OnClick(GetCellRelativePoint(m_focusCell.row, m_focusCell.col, point));
        }
        SendNotify(m_leftClickDownCell.row, m_leftClickDownCell.col, GRIDN_CLICK);
        SendNotify(m_leftClickDownCell.row, m_leftClickDownCell.col, GRIDN_SELCHANGING);
        ClearSelection();
        if (focusCell != nullptr) {
            SendNotify(-1, -1, GRIDN_SELCHANGED);
        }
        break;
    }
    case GRID_MOUSE_SIZING_COL:
    case GRID_MOUSE_SIZING_ROW:
        FinishSizing(point);
        break;
    default: {
        CGridCellBase* focusCell = GetCell(m_focusCell.row, m_focusCell.col);
        if (focusCell != nullptr) {
            SendNotify(m_focusCell.row, m_focusCell.col, GRIDN_SELCHANGED);
            focusCell->OnClick(GetCellRelativePoint(m_focusCell.row, m_focusCell.col, point));
        }
        SendNotify(m_leftClickDownCell.row, m_leftClickDownCell.col, GRIDN_CLICK);
        break;
    }
    }
    m_mouseMode = GRID_MOUSE_NOTHING;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    PostClickCommand();
}

void CGridCtrl::PostClickCommand() {
    if (!IsValid(m_leftClickDownCell)) {
        return;
    }
    CWnd* owner = GetNotifyTarget();
    if (owner != nullptr) {
        owner->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
    }
}

void CGridCtrl::OnLButtonDblClk(UINT flags, CPoint point) {
    const GridCellId cell = CellFromPoint(point, TRUE);
    if (!IsValid(cell)) {
        return;
    }
    POINT origin = {};
    if (!GetCellOrigin(cell.row, cell.col, &origin)) {
        return;
    }
    if (m_mouseMode == GRID_MOUSE_OVER_COL_DIVIDE) {
        const int col = point.x - origin.x < m_resizeCaptureRange ? cell.col - 1 : cell.col;
        const int shown = GetColumnWidth(col) > 0 ? col : m_layout.Cols().PreviousShown(col, 0);
        if (shown >= 0) {
            FitColumnWidth(shown, m_fitStyle, TRUE);
            Invalidate();
        }
    } else if (m_mouseMode == GRID_MOUSE_OVER_ROW_DIVIDE) {
        const int row = point.y - origin.y < m_resizeCaptureRange ? cell.row - 1 : cell.row;
        const int shown = GetRowHeight(row) > 0 ? row : m_layout.Rows().PreviousShown(row, 0);
        if (shown >= 0) {
            FitRowHeight(shown, TRUE);
            Invalidate();
        }
    } else if (m_mouseMode == GRID_MOUSE_NOTHING) {
        const CPoint relative = GetCellRelativePoint(cell.row, cell.col, point);
        CRect textRect;
        const bool onText = GetTextRect(cell.row, cell.col, textRect) && PtInRect(textRect, point);
        const bool fixed = IsFixedCell(cell.row, cell.col) != FALSE;
        if (!fixed && onText && (IsValid(m_leftClickDownCell) || m_listMode)) {
            OnEditCell(cell.row, cell.col, relative, VK_LBUTTON);
        }
        CGridCellBase* cellObject = GetCell(cell.row, cell.col);
        if (cellObject != nullptr) {
            cellObject->OnDblClick(relative);
        }
        SendNotify(cell.row, cell.col, GRIDN_DBLCLK);
    }
    CWnd::OnLButtonDblClk(flags, point);
}

void CGridCtrl::OnRButtonDown(UINT flags, CPoint point) {
    CWnd::OnRButtonDown(flags, point);
    m_rightButtonDown = TRUE;
    HideTitleTip();
}

void CGridCtrl::OnRButtonUp(UINT flags, CPoint point) {
    CWnd::OnRButtonUp(flags, point);
    m_rightButtonDown = FALSE;
    EndEditing();
    const GridCellId cell = CellFromPoint(point, TRUE);
    if (!IsValid(cell)) {
        SendNotify(-1, -1, GRIDN_RCLICK);
        return;
    }
    SetFocusRowCol(-1, -1);
    SetFocusRowCol(std::max(cell.row, GetFixedRowCount()), std::max(cell.col, GetFixedColumnCount()));
    CGridCellBase* cellObject = GetCell(cell.row, cell.col);
    if (cellObject != nullptr) {
        cellObject->OnRClick(GetCellRelativePoint(cell.row, cell.col, point));
    }
    SendNotify(cell.row, cell.col, GRIDN_RCLICK);
}

void CGridCtrl::OnFixedRowClick(GridCellId& cell) {
    if (!IsValid(cell)) {
        return;
    }
    if (m_sortOnClick) {
        CWaitCursor waitCursor;
        SortByColumn(cell.col, !(cell.col == m_sortColumn && m_sortAscending));
        Invalidate();
    }
    if (!m_fixedRowSelection) {
        return;
    }
    m_mouseMode = cell.col < GetFixedColumnCount() ? GRID_MOUSE_SELECT_ALL : GRID_MOUSE_SELECT_COL;
    OnSelecting(cell);
}

void CGridCtrl::OnFixedColumnClick(GridCellId& cell) {
    if (!IsValid(cell) || !m_fixedColumnSelection) {
        return;
    }
    m_mouseMode = cell.row < GetFixedRowCount() ? GRID_MOUSE_SELECT_ALL : GRID_MOUSE_SELECT_ROW;
    OnSelecting(cell);
}

BOOL CGridCtrl::OnMouseWheel(UINT flags, short delta, CPoint point) {
    if (m_wheelLines == -1) {
        const int pages = delta / kWheelDelta;
        for (int i = 0; i < std::abs(pages); ++i) {
            PostMessage(WM_VSCROLL, pages > 0 ? SB_PAGEUP : SB_PAGEDOWN);
        }
    } else {
        const int lines = delta * m_wheelLines / kWheelDelta;
        for (int i = 0; i < std::abs(lines); ++i) {
            PostMessage(WM_VSCROLL, lines > 0 ? SB_LINEUP : SB_LINEDOWN);
        }
    }
    return CWnd::OnMouseWheel(flags, delta, point);
}

// Only a cell that exists takes the focus: a grid of headers alone keeps none.
void CGridCtrl::OnSetFocus(CWnd* oldWnd) {
    CWnd::OnSetFocus(oldWnd);
    const GridCellId first(GetFixedRowCount(), GetFixedColumnCount());
    if (!IsValid(m_focusCell) && IsValid(first)) {
        SetFocusCell(first);
    }
}
