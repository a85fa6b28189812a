// The grid window's focus cell and selection, the cells changed on the user's behalf,
// and everything the keyboard does in the grid.
#include "classlib/win/CClientDC.h"
#include "classlib/win/CWaitCursor.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridNavigator.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace {

bool IsKeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

GridCellId CGridCtrl::SetFocusCell(GridCellId cell) {
    if (cell == m_focusCell) {
        return m_focusCell;
    }
    const GridCellId previous = m_focusCell;
    if (cell.row != -1 && cell.row < GetFixedRowCount()) {
        cell.row = GetFixedRowCount();
    }
    if (cell.col != -1 && cell.col < GetFixedColumnCount()) {
        cell.col = GetFixedColumnCount();
    }
    m_focusCell = cell;
    if (IsValid(previous)) {
        SetCellState(previous.row, previous.col,
                     GetCellState(previous.row, previous.col) & ~GRID_STATE_FOCUSED);
        RedrawCell(previous);
        RedrawFixedHeaders(previous, m_focusCell);
    }
    if (IsValid(m_focusCell)) {
        SetCellState(m_focusCell.row, m_focusCell.col,
                     GetCellState(m_focusCell.row, m_focusCell.col) | GRID_STATE_FOCUSED);
        RedrawCell(m_focusCell);
        RedrawFixedHeaders(m_focusCell, previous);
    }
    return previous;
}

// With focus tracking the headers of the focus cell's row and column are drawn sunken.
void CGridCtrl::RedrawFixedHeaders(const GridCellId& cell, const GridCellId& other) {
    if (!m_trackFocusCell) {
        return;
    }
    if (cell.col != other.col) {
        for (int row = 0; row < GetFixedRowCount(); ++row) {
            RedrawCell(row, cell.col);
        }
    }
    if (cell.row != other.row) {
        for (int col = 0; col < GetFixedColumnCount(); ++col) {
            RedrawCell(cell.row, col);
        }
    }
}

void CGridCtrl::RedrawIfVisible(const GridCellId& cell, const GridCellRange& visible, CDC* dc) {
    if (!visible.InRange(cell)) {
        return;
    }
    if (dc != nullptr) {
        RedrawCell(cell, dc);
    } else {
        InvalidateCellRect(cell);
    }
}

void CGridCtrl::SetSelectedRange(const GridCellRange& range, BOOL forceRepaint, BOOL selectCells) {
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint, selectCells);
}

void CGridCtrl::SetSelectedRange(int minRow,
                                 int minCol,
                                 int maxRow,
                                 int maxCol,
                                 BOOL forceRepaint,
                                 BOOL selectCells) {
    if (!m_enableSelection) {
        return;
    }
    CWaitCursor waitCursor;
    std::unique_ptr<CClientDC> dc;
    if (forceRepaint && IsWindow()) {
        dc = std::make_unique<CClientDC>(this);
    }
    CDC* drawDc = dc != nullptr && dc->GetSafeHdc() != nullptr ? dc.get() : nullptr;
    const GridCellRange visible = IsWindow() ? GetVisibleNonFixedCellRange() : GridCellRange();
    const int fixedRows = GetFixedRowCount();
    const int fixedCols = GetFixedColumnCount();
    const auto clampRow = [fixedRows](int row) { return row != -1 && row < fixedRows ? fixedRows : row; };
    const auto clampCol = [fixedCols](int col) { return col != -1 && col < fixedCols ? fixedCols : col; };
    const GridCellRange range(clampRow(minRow), clampCol(minCol), clampRow(maxRow), clampCol(maxCol));
    const bool allBoundsSet =
        range.minRow >= 0 && range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0;
    if (selectCells) {
        for (const GridCellId& cell : m_selectedCells.GetCells()) {
            if (!IsValid(cell)) {
                m_selectedCells.Remove(cell);
                continue;
            }
            SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) & ~GRID_STATE_SELECTED);
            if (!range.InRange(cell)) {
                RedrawIfVisible(cell, visible, drawDc);
            }
        }
        if (!(m_listMode && m_singleRowSelection)) {
            if (range.minRow < 0) {
                return;
            }
            if (allBoundsSet) {
                ReselectPreviousCells(visible, drawDc);
            }
        }
    }
    if (!IsValid(range)) {
        return;
    }
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            const bool selected = IsCellSelected(row, col) != FALSE;
            if (selected == (selectCells != FALSE)) {
                continue;
            }
            const UINT state = GetCellState(row, col);
            SetCellState(row, col, selectCells ? state | GRID_STATE_SELECTED : state & ~GRID_STATE_SELECTED);
            RedrawIfVisible(GridCellId(row, col), visible, drawDc);
        }
    }
}

void CGridCtrl::ReselectPreviousCells(const GridCellRange& visible, CDC* dc) {
    for (const GridCellId& cell : m_previousSelectedCells.GetCells()) {
        if (IsValid(cell)) {
            SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GRID_STATE_SELECTED);
            RedrawIfVisible(cell, visible, dc);
        }
    }
}

void CGridCtrl::SelectAllCells() {
    if (m_enableSelection) {
        SetSelectedRange(GetFixedRowCount(), GetFixedColumnCount(), GetRowCount() - 1, GetColumnCount() - 1);
    }
}

void CGridCtrl::SelectColumns(GridCellId cell, BOOL forceRepaint, BOOL selectCells) {
    if (!m_enableSelection || cell.col < GetFixedColumnCount() || !IsValid(cell)) {
        return;
    }
    const int first = m_singleColSelection ? cell.col : std::min(m_selectionStartCell.col, cell.col);
    const int last = m_singleColSelection ? cell.col : std::max(m_selectionStartCell.col, cell.col);
    SetSelectedRange(GetFixedRowCount(), first, GetRowCount() - 1, last, forceRepaint, selectCells);
}

void CGridCtrl::SelectRows(GridCellId cell, BOOL forceRepaint, BOOL selectCells) {
    if (!m_enableSelection || cell.row < GetFixedRowCount() || !IsValid(cell)) {
        return;
    }
    const bool single = m_listMode && m_singleRowSelection;
    const int first = single ? cell.row : std::min(m_selectionStartCell.row, cell.row);
    const int last = single ? cell.row : std::max(m_selectionStartCell.row, cell.row);
    SetSelectedRange(first, GetFixedColumnCount(), last, GetColumnCount() - 1, forceRepaint, selectCells);
}

void CGridCtrl::SelectCells(GridCellId cell, BOOL forceRepaint, BOOL selectCells) {
    if (!m_enableSelection || !IsValid(cell) || IsFixedCell(cell.row, cell.col)) {
        return;
    }
    SetSelectedRange(std::min(m_selectionStartCell.row, cell.row),
                     std::min(m_selectionStartCell.col, cell.col),
                     std::max(m_selectionStartCell.row, cell.row),
                     std::max(m_selectionStartCell.col, cell.col), forceRepaint, selectCells);
}

void CGridCtrl::OnSelecting(const GridCellId& cell) {
    switch (m_mouseMode) {
    case GRID_MOUSE_SELECT_ALL:
        SelectAllCells();
        break;
    case GRID_MOUSE_SELECT_COL:
        SelectColumns(cell, FALSE);
        break;
    case GRID_MOUSE_SELECT_ROW:
        SelectRows(cell, FALSE);
        break;
    case GRID_MOUSE_SELECT_CELLS:
        SelectCells(cell, FALSE);
        break;
    default:
        break;
    }
}

void CGridCtrl::ClearSelection() {
    m_previousSelectedCells.Clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusRowCol(-1, -1);
}

GridCellRange CGridCtrl::GetSelectionBounds() const {
    return m_selectedCells.GetBounds(GetRowCount(), GetColumnCount());
}

GridCellRange CGridCtrl::GetCellRange() const {
    return GridCellRange(0, 0, GetRowCount() - 1, GetColumnCount() - 1);
}

BOOL CGridCtrl::IsCellSelected(int row, int col) const {
    if (!m_enableSelection) {
        return FALSE;
    }
    if (m_virtualMode) {
        return m_selectedCells.Contains(GridCellId(row, col)) ? TRUE : FALSE;
    }
    return (GetCellState(row, col) & GRID_STATE_SELECTED) != 0;
}

// The page hears of the new text as of an edit's end, so that its data follows the screen.
BOOL CGridCtrl::SetCellTextByUser(int row, int col, LPCSTR text) {
    if (!IsCellEditable(row, col) || SendNotify(row, col, GRIDN_BEGINEDIT) < 0) {
        return TRUE;
    }
    const CString old = GetCellText(row, col);
    if (std::strcmp(old, text == nullptr ? "" : text) == 0) {
        return TRUE;
    }
    SetCellText(row, col, text);
    if (ValidateEdit(row, col, text) && (m_pasteTellsPage || SendNotify(row, col, GRIDN_ENDEDIT) >= 0)) {
        SetModified(TRUE, row, col);
        RedrawCell(row, col);
        return TRUE;
    }
    SetCellText(row, col, old);
    return FALSE;
}

void CGridCtrl::ClearCells(const GridCellRange& range) {
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (GetRowHeight(row) > 0 && GetColumnWidth(col) > 0) {
                SetCellTextByUser(row, col, "");
            }
        }
    }
    Refresh();
}

void CGridCtrl::ClearSelectedCells() {
    if (!IsEditable()) {
        return;
    }
    // One refusal answers the whole clearing: the page is not asked cell after cell.
    for (const GridCellId& cell : m_selectedCells.GetCells()) {
        if (!IsValid(cell)) {
            continue;
        }
        if (!SetCellTextByUser(cell.row, cell.col, "")) {
            break;
        }
        SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) & ~GRID_STATE_SELECTED);
    }
    Refresh();
}

void CGridCtrl::OnSelectAll() {
    SendNotify(m_leftClickDownCell.row, m_leftClickDownCell.col, GRIDN_SELCHANGING);
    SelectAllCells();
    SendNotify(m_focusCell.row, m_focusCell.col, GRIDN_SELCHANGED);
}

BOOL CGridCtrl::MouseOverRowResizeArea(CPoint point) {
    return MouseOverDivider(point, FALSE);
}

BOOL CGridCtrl::MouseOverColumnResizeArea(CPoint point) {
    return MouseOverDivider(point, TRUE);
}

// Near a divider within the fixed column (rows) or the fixed row (columns); the first
// entry's leading edge is no divider.
BOOL CGridCtrl::MouseOverDivider(CPoint point, BOOL columns) {
    const auto along = [columns](const POINT& at) { return columns ? at.x : at.y; };
    const int across = columns ? point.y : point.x;
    if (across >= (columns ? GetFixedRowHeight() : GetFixedColumnWidth())) {
        return FALSE;
    }
    const GridCellId cell = CellFromPoint(point, TRUE);
    POINT origin = {};
    if (!GetCellOrigin(cell.row, cell.col, &origin)) {
        return FALSE;
    }
    const int index = columns ? cell.col : cell.row;
    const int end = along(origin) + m_layout.Axis(columns).GetSize(index);
    return (along(point) - along(origin) < m_resizeCaptureRange && index != 0) ||
           end - along(point) < m_resizeCaptureRange;
}

// Works out where a movement key sends the focus; scrolls for the page, Home and End keys.
// FALSE for a key that does not move the focus.
BOOL CGridCtrl::KeyMovesFocus(UINT key,
                              GridCellId& next,
                              BOOL& horzScroll,
                              BOOL& vertScroll,
                              BOOL& lineChange) {
    const bool ctrl = IsKeyHeld(VK_CONTROL);
    const bool shift = IsKeyHeld(VK_SHIFT);
    const CGridNavigator navigator(m_layout);
    GridMove move;
    switch (key) {
    case VK_RIGHT:
        move = GridMove::Right;
        break;
    case VK_LEFT:
        move = GridMove::Left;
        break;
    case VK_UP:
        move = GridMove::Up;
        break;
    case VK_DOWN:
        move = GridMove::Down;
        break;
    case VK_TAB:
        move = shift ? GridMove::ShiftTab : GridMove::Tab;
        break;
    case VK_HOME:
        move = ctrl ? GridMove::CtrlHome : GridMove::Home;
        if (ctrl) {
            SendMessage(WM_VSCROLL, SB_TOP);
            vertScroll = TRUE;
        }
        SendMessage(WM_HSCROLL, SB_LEFT);
        horzScroll = TRUE;
        break;
    case VK_END:
        move = ctrl ? GridMove::CtrlEnd : GridMove::End;
        if (ctrl) {
            SendMessage(WM_VSCROLL, SB_BOTTOM);
            vertScroll = TRUE;
        }
        SendMessage(WM_HSCROLL, SB_RIGHT);
        horzScroll = TRUE;
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        const bool up = key == VK_PRIOR;
        const int oldTop = GetTopleftNonFixedCell().row;
        SendMessage(WM_VSCROLL, up ? SB_PAGEUP : SB_PAGEDOWN);
        vertScroll = TRUE;
        const int moved = GetTopleftNonFixedCell(TRUE).row - oldTop;
        if (moved == 0) {
            next.row = up ? GetFixedRowCount() : GetRowCount() - 1;
        } else {
            next.row = std::max(GetFixedRowCount(), std::min(GetRowCount() - 1, next.row + moved));
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
    const GridMoveResult result = navigator.Move(next, move);
    next = result.next;
    lineChange = result.lineChange ? TRUE : FALSE;
    return TRUE;
}

void CGridCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    // The tip holds the mouse but not the focus: the key comes here.
    HideTitleTip();
    if (IsKeyHeld(VK_CONTROL)) {
        switch (key) {
        case VK_INSERT:
        case 'C':
            OnEditCopy();
            return;
        case 'A':
            OnSelectAll();
            return;
        case 'V':
            OnEditPaste();
            return;
        default:
            break;
        }
    }
    if (IsKeyHeld(VK_SHIFT) && key == VK_INSERT) {
        OnEditPaste();
        return;
    }
    if (!IsValid(m_focusCell)) {
        CWnd::OnKeyDown(key, repeat, flags);
        return;
    }
    if (key == VK_DELETE) {
        ClearSelectedCells();
        return;
    }
    if (key == VK_F2) {
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), VK_LBUTTON);
        return;
    }
    GridCellId next = m_focusCell;
    BOOL horzScroll = FALSE;
    BOOL vertScroll = FALSE;
    BOOL lineChange = FALSE;
    if (!KeyMovesFocus(key, next, horzScroll, vertScroll, lineChange)) {
        CWnd::OnKeyDown(key, repeat, flags);
        return;
    }
    if (next == m_focusCell) {
        return;
    }
    MoveFocusByKey(key, next, horzScroll, vertScroll, lineChange);
}

void CGridCtrl::MoveFocusByKey(UINT key,
                               const GridCellId& next,
                               BOOL horzScroll,
                               BOOL vertScroll,
                               BOOL lineChange) {
    if (m_mouseMode == GRID_MOUSE_NOTHING) {
        m_previousSelectedCells.Clear();
        m_mouseMode = m_listMode ? GRID_MOUSE_SELECT_ROW : GRID_MOUSE_SELECT_CELLS;
        if (!IsKeyHeld(VK_SHIFT) || key == VK_TAB) {
            m_selectionStartCell = next;
        }
        SendNotify(next.row, next.col, GRIDN_SELCHANGING);
        OnSelecting(next);
        SendNotify(next.row, next.col, GRIDN_SELCHANGED);
        m_mouseMode = GRID_MOUSE_NOTHING;
    }
    SetFocusCell(next);
    if (!IsCellVisible(next)) {
        const bool back = IsKeyHeld(VK_SHIFT);
        switch (key) {
        case VK_RIGHT:
        case VK_LEFT:
            SendMessage(WM_HSCROLL, key == VK_RIGHT ? SB_LINERIGHT : SB_LINELEFT);
            horzScroll = TRUE;
            break;
        case VK_UP:
        case VK_DOWN:
            SendMessage(WM_VSCROLL, key == VK_DOWN ? SB_LINEDOWN : SB_LINEUP);
            vertScroll = TRUE;
            break;
        case VK_TAB:
            if (lineChange) {
                SendMessage(WM_VSCROLL, back ? SB_LINEUP : SB_LINEDOWN);
                SetScrollPos32(SB_HORZ, back ? m_horzScrollMax : 0);
                vertScroll = TRUE;
            } else {
                SendMessage(WM_HSCROLL, back ? SB_LINELEFT : SB_LINERIGHT);
            }
            horzScroll = TRUE;
            break;
        default:
            break;
        }
        EnsureVisible(next);
        Invalidate();
    }
    EnsureVisible(next);
    if (horzScroll) {
        SendMessage(WM_HSCROLL, SB_ENDSCROLL);
    }
    if (vertScroll) {
        SendMessage(WM_VSCROLL, SB_ENDSCROLL);
    }
}

void CGridCtrl::OnChar(UINT key, UINT repeat, UINT flags) {
    if (!IsKeyHeld(VK_CONTROL) && m_mouseMode == GRID_MOUSE_NOTHING && key != VK_ESCAPE &&
        !(key == VK_TAB && m_handleTabKey)) {
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), key);
    }
    CWnd::OnChar(key, repeat, flags);
}

void CGridCtrl::OnImeChar(UINT key, UINT repeat, UINT flags) {
    if (!IsKeyHeld(VK_CONTROL) && m_mouseMode == GRID_MOUSE_NOTHING && key != VK_ESCAPE) {
        OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), key);
    }
}

void CGridCtrl::OnSysKeyDown(UINT key, UINT repeat, UINT flags) {
    HideTitleTip();
    CWnd::OnSysKeyDown(key, repeat, flags);
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* header, LRESULT* result) {
    *result = 0;
    if (!IsWindow()) {
        return;
    }
    const GridCellInfoRecord* record = reinterpret_cast<const GridCellInfoRecord*>(header);
    const UINT lastKey = static_cast<UINT>(record->item.lParam);
    OnEndEditCell(record->item.row, record->item.col, record->item.text, lastKey != VK_ESCAPE);
    const bool movesOn = lastKey == VK_TAB || (lastKey >= VK_PRIOR && lastKey <= VK_DOWN);
    if (!movesOn) {
        return;
    }
    OnKeyDown(lastKey, 0, 0);
    OnEditCell(m_focusCell.row, m_focusCell.col, CPoint(-1, -1), lastKey);
}

BOOL CGridCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (hitTest != HTCLIENT) {
        return CWnd::OnSetCursor(wnd, hitTest, message);
    }
    switch (m_mouseMode) {
    case GRID_MOUSE_OVER_ROW_DIVIDE:
        SetCursor(LoadCursor(nullptr, IDC_SIZENS));
        return TRUE;
    case GRID_MOUSE_OVER_COL_DIVIDE:
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
    case GRID_MOUSE_DRAGGING:
        return TRUE;
    default:
        break;
    }
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    const GridCellId id = CellFromPoint(point, TRUE);
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(id.row, id.col);
    if (cell != nullptr) {
        return cell->OnSetCursor();
    }
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}
