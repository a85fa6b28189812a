// The table side of the grid window: counts, inserting and deleting rows and columns,
// cell classes and attributes, the modified flag and virtual mode.
#include "classlib/core/CMemoryException.h"
#include "grid/CGridCell.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

#include <windows.h>

#include <cstdarg>
#include <new>

namespace {

// Reports running out of memory with the class library's own text.
void ReportOutOfMemory() {
    CMemoryException exception;
    exception.ReportError();
}

}  // namespace

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

void CGridCtrl::ApplyFixedRowBits(int oldCount, int newCount) {
    if (newCount > oldCount) {
        for (int row = oldCount; row < newCount; ++row) {
            for (CGridCellBase* cell : m_cells[row]) {
                if (cell == nullptr) {
                    continue;
                }
                cell->SetState(cell->GetState() | GRID_STATE_FIXED | GRID_STATE_FIXEDROW);
                cell->SetBackColour(GRID_COLOUR_DEFAULT);
                cell->SetTextColour(GRID_COLOUR_DEFAULT);
            }
        }
        return;
    }
    for (int row = newCount; row < oldCount; ++row) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            CGridCellBase* cell = m_cells[row][col];
            if (cell == nullptr) {
                continue;
            }
            if (col < GetFixedColumnCount()) {
                cell->SetState(cell->GetState() & ~GRID_STATE_FIXEDROW);
                continue;
            }
            cell->SetState(cell->GetState() & ~(GRID_STATE_FIXED | GRID_STATE_FIXEDROW));
            cell->SetBackColour(GRID_COLOUR_DEFAULT);
            cell->SetTextColour(GRID_COLOUR_DEFAULT);
        }
    }
}

void CGridCtrl::ApplyFixedColumnBits(int oldCount, int newCount) {
    const bool grow = newCount > oldCount;
    const int from = grow ? oldCount : newCount;
    const int to = grow ? newCount : oldCount;
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int col = from; col < to; ++col) {
            CGridCellBase* cell = m_cells[row][col];
            if (cell == nullptr) {
                continue;
            }
            if (grow) {
                cell->SetState(cell->GetState() | GRID_STATE_FIXED | GRID_STATE_FIXEDCOL);
            } else if (row < GetFixedRowCount()) {
                cell->SetState(cell->GetState() & ~GRID_STATE_FIXEDCOL);
                continue;
            } else {
                cell->SetState(cell->GetState() & ~(GRID_STATE_FIXED | GRID_STATE_FIXEDCOL));
            }
            cell->SetBackColour(GRID_COLOUR_DEFAULT);
            cell->SetTextColour(GRID_COLOUR_DEFAULT);
        }
    }
}

BOOL CGridCtrl::SetFixedRowCount(int fixedRows) {
    if (fixedRows == GetFixedRowCount()) {
        return TRUE;
    }
    ClearSelection();
    m_topLeftCell.col = -1;
    if (fixedRows > GetRowCount() && !SetRowCount(fixedRows)) {
        return FALSE;
    }
    if (!m_virtualMode) {
        ApplyFixedRowBits(GetFixedRowCount(), fixedRows);
    }
    m_layout.Rows().SetFixedCount(fixedRows);
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int fixedCols) {
    if (fixedCols == GetFixedColumnCount()) {
        return TRUE;
    }
    ClearSelection();
    m_topLeftCell.col = -1;
    if (fixedCols > GetColumnCount() && !SetColumnCount(fixedCols)) {
        return FALSE;
    }
    if (!m_virtualMode) {
        ApplyFixedColumnBits(GetFixedColumnCount(), fixedCols);
    }
    m_layout.Cols().SetFixedCount(fixedCols);
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetRowCount(int rows) {
    rows = std::max(0, rows);
    if (rows == GetRowCount()) {
        return TRUE;
    }
    EndEditing();
    m_topLeftCell.col = -1;
    if (rows < GetFixedRowCount()) {
        m_layout.Rows().SetFixedCount(rows);
    }
    if (m_focusCell.row >= rows) {
        SetFocusRowCol(-1, -1);
    }
    BOOL result = TRUE;
    try {
        if (!m_virtualMode) {
            for (int row = rows; row < GetRowCount(); ++row) {
                for (int col = 0; col < GetColumnCount(); ++col) {
                    DestroyCell(row, col);
                }
            }
            if (rows < static_cast<int>(m_cells.size())) {
                m_cells.resize(static_cast<size_t>(rows));
                m_layout.Rows().Resize(rows, 0);
            }
        }
        const int height = m_defaultCells[kNormalCell]->GetHeight();
        while (GetRowCount() < rows) {
            const int row = GetRowCount();
            if (!m_virtualMode) {
                GridRow cells(static_cast<size_t>(GetColumnCount()), nullptr);
                m_cells.push_back(cells);
                m_layout.Rows().Insert(row, height);
                for (int col = 0; col < GetColumnCount(); ++col) {
                    m_cells[row][col] = CreateCell(row, col);
                }
            } else {
                m_layout.Rows().Insert(row, height);
            }
        }
        m_layout.Rows().Resize(rows, height);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = FALSE;
    }
    SetModified();
    ResetScrollBars();
    Refresh();
    return result;
}

BOOL CGridCtrl::SetColumnCount(int cols) {
    cols = std::max(0, cols);
    if (cols == GetColumnCount()) {
        return TRUE;
    }
    EndEditing();
    m_topLeftCell.col = -1;
    if (cols < GetFixedColumnCount()) {
        m_layout.Cols().SetFixedCount(cols);
    }
    if (m_focusCell.col >= cols) {
        SetFocusRowCol(-1, -1);
    }
    BOOL result = TRUE;
    try {
        const int oldCount = GetColumnCount();
        if (!m_virtualMode && cols < oldCount) {
            for (int row = 0; row < GetRowCount(); ++row) {
                for (int col = cols; col < oldCount; ++col) {
                    DestroyCell(row, col);
                }
            }
        }
        const int width = m_defaultCells[kFixedColumnCell]->GetWidth();
        m_layout.Cols().Resize(cols, width);
        if (!m_virtualMode) {
            for (int row = 0; row < GetRowCount(); ++row) {
                m_cells[row].resize(static_cast<size_t>(cols), nullptr);
                for (int col = oldCount; col < cols; ++col) {
                    m_cells[row][col] = CreateCell(row, col);
                }
            }
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = FALSE;
    }
    SetModified();
    ResetScrollBars();
    Refresh();
    return result;
}

int CGridCtrl::InsertColumn(LPCSTR heading, UINT format, int col) {
    if (col >= 0 && (col < GetFixedColumnCount() || col > GetColumnCount())) {
        return -1;
    }
    EndEditing();
    m_topLeftCell.col = -1;
    ClearSelection();
    if (GetRowCount() < 1 && !SetRowCount(1)) {
        return -1;
    }
    const int index = col < 0 ? GetColumnCount() : col;
    try {
        m_layout.Cols().Insert(index, 0);
        if (!m_virtualMode) {
            for (int row = 0; row < GetRowCount(); ++row) {
                m_cells[row].insert(m_cells[row].begin() + index, nullptr);
                m_cells[row][index] = CreateCell(row, index);
            }
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return -1;
    }
    if (!m_virtualMode) {
        SetCellText(0, index, heading);
        for (int row = 0; row < GetRowCount(); ++row) {
            SetCellFormat(row, index, format);
        }
    }
    SetColumnWidth(index, GetCellTextExtent(0, index, heading).cx);
    ResetScrollBars();
    SetModified();
    return index;
}

int CGridCtrl::InsertRow(LPCSTR heading, int row) {
    if (row >= 0 && (row < GetFixedRowCount() || row >= GetRowCount())) {
        return -1;
    }
    EndEditing();
    m_topLeftCell.col = -1;
    ClearSelection();
    if (GetColumnCount() < 1 && !SetColumnCount(1)) {
        return -1;
    }
    const int index = row < 0 ? GetRowCount() : row;
    try {
        m_layout.Rows().Insert(index, 0);
        if (!m_virtualMode) {
            m_cells.insert(m_cells.begin() + index, GridRow(static_cast<size_t>(GetColumnCount()), nullptr));
            for (int col = 0; col < GetColumnCount(); ++col) {
                m_cells[index][col] = CreateCell(index, col);
            }
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return -1;
    }
    SetCellText(index, 0, heading);
    const bool hasHeading = heading != nullptr && *heading != '\0';
    SetRowHeight(index,
                 hasHeading ? GetCellTextExtent(index, 0, heading).cy : m_defaultCells[kFixedRowCell]->GetHeight());
    ResetScrollBars();
    SetModified();
    return index;
}

BOOL CGridCtrl::DeleteColumn(int col) {
    if (col < 0 || col >= GetColumnCount()) {
        return FALSE;
    }
    EndEditing();
    ClearSelection();
    if (!m_virtualMode) {
        for (int row = 0; row < GetRowCount(); ++row) {
            DestroyCell(row, col);
            m_cells[row].erase(m_cells[row].begin() + col);
        }
    }
    m_layout.Cols().Erase(col);
    ResetScrollBars();
    SetModified();
    return TRUE;
}

BOOL CGridCtrl::DeleteRow(int row) {
    if (row < 0 || row >= GetRowCount()) {
        return FALSE;
    }
    EndEditing();
    ClearSelection();
    if (!m_virtualMode) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            DestroyCell(row, col);
        }
        m_cells.erase(m_cells.begin() + row);
    }
    m_layout.Rows().Erase(row);
    ResetScrollBars();
    SetModified();
    return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows() {
    ClearSelection();
    for (int row = GetRowCount(); row >= GetFixedRowCount(); --row) {
        DeleteRow(row);
    }
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems() {
    EndEditing();
    ClearSelection();
    if (!m_virtualMode) {
        for (int row = 0; row < static_cast<int>(m_cells.size()); ++row) {
            for (int col = 0; col < static_cast<int>(m_cells[row].size()); ++col) {
                DestroyCell(row, col);
            }
        }
    }
    m_cells.clear();
    m_layout.Rows().SetFixedCount(0);
    m_layout.Cols().SetFixedCount(0);
    m_layout.Rows().Resize(0, 0);
    m_layout.Cols().Resize(0, 0);
    m_focusCell = GridCellId();
    ResetScrollBars();
    SetModified();
    return TRUE;
}

void CGridCtrl::FillClientArea() {
    if (!IsWindow()) {
        return;
    }
    CRect client;
    GetClientRect(client);
    SetColumnCount(client.Width() / m_defaultCells[kNormalCell]->GetWidth() + 1);
    SetRowCount(client.Height() / m_defaultCells[kNormalCell]->GetHeight() + 1);
    SetFixedRowCount(1);
    SetFixedColumnCount(1);
    StretchToWindow(TRUE);
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
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetText(text);
    SetModified(TRUE, row, col);
    return TRUE;
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
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetData(data);
    SetModified(TRUE, row, col);
    return TRUE;
}

LPARAM CGridCtrl::GetCellData(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetData();
}

BOOL CGridCtrl::SetCellImage(int row, int col, int image) {
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetImage(image);
    SetModified(TRUE, row, col);
    return TRUE;
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
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetFormat(format);
    return TRUE;
}

UINT CGridCtrl::GetCellFormat(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetFormat();
}

BOOL CGridCtrl::SetCellBackColour(int row, int col, COLORREF colour) {
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetBackColour(colour);
    return TRUE;
}

COLORREF CGridCtrl::GetCellBackColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetBackColour();
}

BOOL CGridCtrl::SetCellTextColour(int row, int col, COLORREF colour) {
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetTextColour(colour);
    return TRUE;
}

COLORREF CGridCtrl::GetCellTextColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? 0 : cell->GetTextColour();
}

BOOL CGridCtrl::SetCellFont(int row, int col, const LOGFONTA* font) {
    CGridCellBase* cell = m_virtualMode ? nullptr : GetCell(row, col);
    if (cell == nullptr) {
        return FALSE;
    }
    cell->SetFont(font);
    return TRUE;
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
