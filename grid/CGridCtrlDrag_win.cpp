// OLE drag and drop of cell texts: the selection is dragged out as text, and text dropped
// onto an editable cell is pasted from there on.
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDropSource.h"
#include "grid/CGridTextDataObject.h"

#include <windows.h>

#include <ole2.h>
#include <vector>

namespace {

DWORD RunSystemDrag(IDataObject* data, DWORD allowedEffects) {
    CGridDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    return DoDragDrop(data, &source, allowedEffects, &effect) == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

GridDragRunner g_dragRunner = RunSystemDrag;

bool OffersText(IDataObject* data) {
    FORMATETC format = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data != nullptr && data->QueryGetData(&format) == S_OK;
}

DWORD EffectOf(DWORD keyState) {
    return (keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

}  // namespace

void CGridCtrl::SetDragRunner(GridDragRunner runner) {
    g_dragRunner = runner != nullptr ? runner : RunSystemDrag;
}

void CGridCtrl::OnBeginDrag() {
    CString text;
    if (!m_allowDragAndDrop || !CreateClipboardText(text)) {
        return;
    }
    const GridCellRange range = GetSelectionBounds();
    SendNotify(range.minRow, range.minCol, GRIDN_BEGINDRAG);
    m_mouseMode = GRID_MOUSE_DRAGGING;
    m_leftButtonDown = FALSE;
    // The dragged cells are remembered now: a drop onto this grid clears the selection, and
    // cells that the drop has just filled must keep what they got.
    const std::vector<GridCellId> dragged = m_selectedCells.GetCells();
    m_pastedCells.Clear();
    CGridTextDataObject* data = new CGridTextDataObject(text);
    const DWORD effect = g_dragRunner(data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    data->Release();
    if (effect == DROPEFFECT_MOVE && m_editable) {
        for (const GridCellId& cell : dragged) {
            if (IsValid(cell) && !m_pastedCells.Contains(cell)) {
                SetCellTextByUser(cell.row, cell.col, "");
            }
        }
        Refresh();
    }
    if (m_mouseMode == GRID_MOUSE_DRAGGING) {
        m_mouseMode = GRID_MOUSE_NOTHING;
    }
}

DWORD CGridCtrl::OnDragEnter(IDataObject* data, DWORD keyState, CPoint point) {
    if (!m_allowDragAndDrop || !OffersText(data)) {
        return DROPEFFECT_NONE;
    }
    const GridCellId cell = CellFromPoint(point, FALSE);
    m_lastDragOverCell = IsValid(cell) && !IsFixedCell(cell.row, cell.col) ? cell : GridCellId();
    if (!IsValid(m_lastDragOverCell) || !IsCellEditable(m_lastDragOverCell)) {
        return DROPEFFECT_NONE;
    }
    SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GRID_STATE_DROPHILITED);
    RedrawCell(cell);
    return EffectOf(keyState);
}

DWORD CGridCtrl::OnDragOver(IDataObject* data, DWORD keyState, CPoint point) {
    if (!m_allowDragAndDrop || !m_editable || !OffersText(data)) {
        return DROPEFFECT_NONE;
    }
    GridCellId cell = CellFromPoint(point, FALSE);
    if (!IsValid(cell) || IsFixedCell(cell.row, cell.col)) {
        OnDragLeave();
        m_lastDragOverCell = GridCellId();
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell)) {
        return DROPEFFECT_NONE;
    }
    if (cell != m_lastDragOverCell) {
        OnDragLeave();
        m_lastDragOverCell = cell;
        SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) | GRID_STATE_DROPHILITED);
        RedrawCell(cell);
    }
    return EffectOf(keyState);
}

void CGridCtrl::OnDragLeave() {
    const GridCellId cell = m_lastDragOverCell;
    if (!IsValid(cell)) {
        return;
    }
    SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) & ~GRID_STATE_DROPHILITED);
    RedrawCell(cell);
}

BOOL CGridCtrl::OnDrop(IDataObject* data, DWORD dropEffect, CPoint point) {
    m_mouseMode = GRID_MOUSE_NOTHING;
    if (!m_allowDragAndDrop || !IsValid(m_lastDragOverCell) || !IsCellEditable(m_lastDragOverCell)) {
        return FALSE;
    }
    OnDragLeave();
    CString text;
    if (!CGridTextDataObject::ReadText(data, text)) {
        return FALSE;
    }
    return PasteText(m_lastDragOverCell.row, m_lastDragOverCell.col, text, FALSE);
}
