// The cells of the grid window: making them of the default class, changing a cell's class,
// their attributes, the modified flag, virtual mode and finding cells by their state.
#include "grid/CGridCell.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>

void CGridCtrl::Refresh() {
    if (IsWindow() && m_allowDraw) {
        Invalidate();
    }
}

CGridCellBase* CGridCtrl::CreateCell(int row, int col) {
    if (m_defaultCellClass == nullptr || !m_defaultCellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) {
        return nullptr;
    }
    CGridCellBase* cell = dynamic_cast<CGridCellBase*>(m_defaultCellClass->CreateObject());
    if (cell == nullptr) {
        return nullptr;
    }
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    DWORD state = cell->GetState();
    if (col < GetFixedColumnCount()) {
        state |= GRID_STATE_FIXED | GRID_STATE_FIXEDCOL;
    }
    if (row < GetFixedRowCount()) {
        state |= GRID_STATE_FIXED | GRID_STATE_FIXEDROW;
    }
    cell->SetState(state);
    const CGridCellBase* defaultCell = cell->GetDefaultCell();
    if (defaultCell != nullptr) {
        cell->SetFormat(defaultCell->GetFormat());
    }
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col) {
    SetCellState(row, col, 0);
    delete m_cells[row][col];
    m_cells[row][col] = nullptr;
}

BOOL CGridCtrl::ChangeCellType(int row, int col, CRuntimeClass* cellClass) {
    if (m_virtualMode || !IsValid(row, col) || cellClass == nullptr ||
        !cellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) {
        return FALSE;
    }
    CGridCellBase* replacement = dynamic_cast<CGridCellBase*>(cellClass->CreateObject());
    if (replacement == nullptr) {
        return FALSE;
    }
    EndEditing();
    CGridCellBase* old = m_cells[row][col];
    replacement->CopyFrom(*old);
    replacement->SetCoords(row, col);
    m_cells[row][col] = replacement;
    delete old;
    return TRUE;
}

BOOL CGridCtrl::SetDefaultCellType(CRuntimeClass* cellClass) {
    if (cellClass == nullptr || !cellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) {
        return FALSE;
    }
    m_defaultCellClass = cellClass;
    return TRUE;
}

// A cell's looks and content change only where the grid holds cells: in virtual mode the
// parent holds them. A change of content also marks the cell modified.
BOOL CGridCtrl::ChangeCellLook(int row, int col, const CellChange& change) {
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    change(*cell);
    return TRUE;
}

BOOL CGridCtrl::ChangeCellContent(int row, int col, const CellChange& change) {
    if (!ChangeCellLook(row, col, change)) {
        return FALSE;
    }
    SetModified(TRUE, row, col);
    return TRUE;
}

BOOL CGridCtrl::ApplyItem(const GridCellItem* item) {
    if (item == nullptr || m_virtualMode) {
        return FALSE;
    }
    CGridCellBase* cell = GetCell(item->row, item->col);
    if (cell == nullptr) {
        return FALSE;
    }
    SetModified(TRUE, item->row, item->col);
    if ((item->mask & GRID_ITEM_TEXT) != 0) {
        SetCellText(item->row, item->col, item->text);
    }
    if ((item->mask & GRID_ITEM_DATA) != 0) {
        cell->SetData(item->lParam);
    }
    if ((item->mask & GRID_ITEM_IMAGE) != 0) {
        cell->SetImage(item->image);
    }
    if ((item->mask & GRID_ITEM_STATE) != 0) {
        SetCellState(item->row, item->col, item->state);
    }
    if ((item->mask & GRID_ITEM_FORMAT) != 0) {
        cell->SetFormat(item->format);
    }
    if ((item->mask & GRID_ITEM_BACKCOLOUR) != 0) {
        cell->SetBackColour(item->backColour);
    }
    if ((item->mask & GRID_ITEM_TEXTCOLOUR) != 0) {
        cell->SetTextColour(item->textColour);
    }
    if ((item->mask & GRID_ITEM_FONT) != 0) {
        cell->SetFont(&item->font);
    }
    if ((item->mask & GRID_ITEM_MARGIN) != 0) {
        cell->SetMargin(item->margin);
    }
    return TRUE;
}

BOOL CGridCtrl::GetItem(GridCellItem* item) {
    if (item == nullptr) {
        return FALSE;
    }
    CGridCellBase* cell = GetCell(item->row, item->col);
    if (cell == nullptr) {
        return FALSE;
    }
    if ((item->mask & GRID_ITEM_TEXT) != 0) {
        item->text = cell->GetText();
    }
    if ((item->mask & GRID_ITEM_DATA) != 0) {
        item->lParam = cell->GetData();
    }
    if ((item->mask & GRID_ITEM_IMAGE) != 0) {
        item->image = cell->GetImage();
    }
    if ((item->mask & GRID_ITEM_STATE) != 0) {
        item->state = cell->GetState();
    }
    if ((item->mask & GRID_ITEM_FORMAT) != 0) {
        item->format = cell->GetFormat();
    }
    if ((item->mask & GRID_ITEM_BACKCOLOUR) != 0) {
        item->backColour = cell->GetBackColour();
    }
    if ((item->mask & GRID_ITEM_TEXTCOLOUR) != 0) {
        item->textColour = cell->GetTextColour();
    }
    if ((item->mask & GRID_ITEM_FONT) != 0 && cell->GetFont() != nullptr) {
        item->font = *cell->GetFont();
    }
    if ((item->mask & GRID_ITEM_MARGIN) != 0) {
        item->margin = cell->GetMargin();
    }
    return TRUE;
}

BOOL CGridCtrl::SetCellText(int row, int col, LPCSTR text) {
    return ChangeCellContent(row, col, [text](CGridCellBase& cell) { cell.SetText(text); });
}

BOOL CGridCtrl::SetCellTextFormat(int row, int col, LPCSTR format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const BOOL result = SetCellTextFormatV(row, col, format, arguments);
    va_end(arguments);
    return result;
}

BOOL CGridCtrl::SetCellTextFormatId(int row, int col, UINT formatId, ...) {
    CString format;
    if (!format.LoadString(formatId)) {
        return FALSE;
    }
    va_list arguments;
    va_start(arguments, formatId);
    const BOOL result = SetCellTextFormatV(row, col, format, arguments);
    va_end(arguments);
    return result;
}

BOOL CGridCtrl::SetCellTextFormatV(int row, int col, LPCSTR format, va_list arguments) {
    CString text;
    text.FormatV(format, arguments);
    return SetCellText(row, col, text);
}

CString CGridCtrl::GetCellText(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? CString() : CString(cell->GetText());
}

BOOL CGridCtrl::SetCellData(int row, int col, LPARAM data) {
    return ChangeCellContent(row, col, [data](CGridCellBase& cell) { cell.SetData(data); });
}

LPARAM CGridCtrl::GetCellData(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetData();
}

BOOL CGridCtrl::SetCellImage(int row, int col, int image) {
    return ChangeCellContent(row, col, [image](CGridCellBase& cell) { cell.SetImage(image); });
}

int CGridCtrl::GetCellImage(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? -1 : cell->GetImage();
}

BOOL CGridCtrl::SetCellState(int row, int col, UINT state) {
    const GridCellId id(row, col);
    if (!IsValid(id)) {
        return FALSE;
    }
    const bool wasSelected = IsCellSelected(row, col) != FALSE;
    if (wasSelected && (state & GRID_STATE_SELECTED) == 0) {
        m_selectedCells.Remove(id);
    } else if (!wasSelected && (state & GRID_STATE_SELECTED) != 0) {
        m_selectedCells.Add(id);
    }
    if (m_virtualMode) {
        return FALSE;
    }
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetState(state);
    return TRUE;
}

UINT CGridCtrl::GetCellState(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetState();
}

BOOL CGridCtrl::SetCellFormat(int row, int col, UINT format) {
    return ChangeCellLook(row, col, [format](CGridCellBase& cell) { cell.SetFormat(format); });
}

UINT CGridCtrl::GetCellFormat(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetFormat();
}

BOOL CGridCtrl::SetCellBackColour(int row, int col, COLORREF colour) {
    return ChangeCellLook(row, col, [colour](CGridCellBase& cell) { cell.SetBackColour(colour); });
}

COLORREF CGridCtrl::GetCellBackColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetBackColour();
}

BOOL CGridCtrl::SetCellTextColour(int row, int col, COLORREF colour) {
    return ChangeCellLook(row, col, [colour](CGridCellBase& cell) { cell.SetTextColour(colour); });
}

COLORREF CGridCtrl::GetCellTextColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetTextColour();
}

BOOL CGridCtrl::SetCellFont(int row, int col, const LOGFONTA* font) {
    return ChangeCellLook(row, col, [font](CGridCellBase& cell) { cell.SetFont(font); });
}

const LOGFONTA* CGridCtrl::GetCellFont(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    if (cell != nullptr) {
        return cell->GetFont();
    }
    const BOOL fixedRow = row >= 0 && row < GetFixedRowCount() ? TRUE : FALSE;
    const BOOL fixedCol = col >= 0 && col < GetFixedColumnCount() ? TRUE : FALSE;
    return GetDefaultCell(fixedRow, fixedCol)->GetFont();
}

BOOL CGridCtrl::IsCellEditing(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && cell->IsEditing();
}

void CGridCtrl::SetModified(BOOL modified, int row, int col) {
    if (col < 0 || col == m_sortColumn) {
        SetSortColumn(-1);
    }
    if (row < 0 || col < 0) {
        m_modified = modified;
    } else {
        CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
        if (cell != nullptr && modified) {
            cell->SetState(cell->GetState() | GRID_STATE_MODIFIED);
            m_modified = TRUE;
        } else if (cell != nullptr) {
            cell->SetState(cell->GetState() & ~GRID_STATE_MODIFIED);
        }
    }
    if (m_modified || m_virtualMode) {
        return;
    }
    for (GridRow& cells : m_cells) {
        for (CGridCellBase* cell : cells) {
            if (cell != nullptr) {
                cell->SetState(cell->GetState() & ~GRID_STATE_MODIFIED);
            }
        }
    }
}

BOOL CGridCtrl::GetModified(int row, int col) const {
    if (row < 0 || col < 0) {
        return m_modified;
    }
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && (cell->GetState() & GRID_STATE_MODIFIED) != 0;
}

void CGridCtrl::SetVirtualMode(BOOL on) {
    DeleteAllItems();
    m_virtualMode = on;
    if (on) {
        m_editable = FALSE;
        m_sortOnClick = FALSE;
        m_fixedRowSelection = FALSE;
        m_fixedColumnSelection = FALSE;
        m_fitStyle = 1;
    }
}

GridCellId CGridCtrl::GetNextCell(const GridCellId& start, int flags) const {
    const int stateFlags = flags & 0xFF;
    const auto matches = [&](int row, int col) {
        UINT wanted = static_cast<UINT>(stateFlags & 0x1F);
        if ((stateFlags & GRID_NEXT_MODIFIED) != 0) {
            wanted |= GRID_STATE_MODIFIED;
        }
        return (GetCellState(row, col) & wanted) != 0;
    };
    if ((flags & GRID_NEXT_ALL) == GRID_NEXT_ALL || (flags & GRID_NEXT_AREA) == GRID_NEXT_AREA) {
        const bool whole = (flags & GRID_NEXT_ALL) == GRID_NEXT_ALL;
        const int rowStart = start.row < 1 ? GetFixedRowCount() : start.row;
        for (int row = rowStart; row < GetRowCount(); ++row) {
            const int colStart = (whole && row != rowStart) ? GetFixedColumnCount() : start.col + 1;
            for (int col = std::max(colStart, 0); col < GetColumnCount(); ++col) {
                if (matches(row, col)) {
                    return GridCellId(row, col);
                }
            }
        }
        return GridCellId();
    }
    const int directions[][3] = {{GRID_NEXT_ABOVE, -1, 0},
                                 {GRID_NEXT_BELOW, 1, 0},
                                 {GRID_NEXT_TOLEFT, 0, -1},
                                 {GRID_NEXT_TORIGHT, 0, 1}};
    for (const auto& direction : directions) {
        if ((flags & direction[0]) == 0) {
            continue;
        }
        int row = start.row + direction[1];
        int col = start.col + direction[2];
        while (row >= GetFixedRowCount() && col >= GetFixedColumnCount() && row < GetRowCount() &&
               col < GetColumnCount()) {
            if (matches(row, col)) {
                return GridCellId(row, col);
            }
            row += direction[1];
            col += direction[2];
        }
        return GridCellId();
    }
    return GridCellId();
}
