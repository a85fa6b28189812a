// The table's shape in the grid window: row and column counts, fixed rows and columns,
// inserting and deleting rows and columns, and filling the window with cells.
#include "classlib/core/CMemoryException.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace {

// Reports running out of memory with the class library's own text.
void ReportOutOfMemory() {
    CMemoryException exception;
    exception.ReportError();
}

}  // namespace

// Cells that join the fixed rows (or columns) take the fixed bits and the default colours;
// cells that leave them lose the bits, and the colours unless they stay fixed the other way.
void CGridCtrl::ApplyFixedBits(BOOL columns, int oldCount, int newCount) {
    const bool grow = newCount > oldCount;
    const UINT bit = columns ? GRID_STATE_FIXEDCOL : GRID_STATE_FIXEDROW;
    const int otherFixed = m_layout.Axis(!columns).GetFixedCount();
    const int across = m_layout.Axis(!columns).GetCount();
    for (int index = std::min(oldCount, newCount); index < std::max(oldCount, newCount); ++index) {
        for (int other = 0; other < across; ++other) {
            CGridCellBase* cell = columns ? m_cells[other][index] : m_cells[index][other];
            if (cell == nullptr) {
                continue;
            }
            if (grow) {
                cell->SetState(cell->GetState() | GRID_STATE_FIXED | bit);
            } else if (other < otherFixed) {
                cell->SetState(cell->GetState() & ~bit);
                continue;
            } else {
                cell->SetState(cell->GetState() & ~(GRID_STATE_FIXED | bit));
            }
            cell->SetBackColour(GRID_COLOUR_DEFAULT);
            cell->SetTextColour(GRID_COLOUR_DEFAULT);
        }
    }
}

BOOL CGridCtrl::SetFixedCount(BOOL columns, int fixed) {
    CGridAxis& axis = m_layout.Axis(columns);
    if (fixed == axis.GetFixedCount()) {
        return TRUE;
    }
    ClearSelection();
    m_topLeftCell.col = -1;
    if (fixed > axis.GetCount() && !(columns ? SetColumnCount(fixed) : SetRowCount(fixed))) {
        return FALSE;
    }
    if (!m_virtualMode) {
        ApplyFixedBits(columns, axis.GetFixedCount(), fixed);
    }
    axis.SetFixedCount(fixed);
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int fixedRows) {
    return SetFixedCount(FALSE, fixedRows);
}

BOOL CGridCtrl::SetFixedColumnCount(int fixedCols) {
    return SetFixedCount(TRUE, fixedCols);
}

// Around the change of the cells themselves: the edit ends first, the fixed part and the
// focus stay inside the new count, and running out of memory is reported.
BOOL CGridCtrl::ChangeCount(BOOL columns, int count, const AxisCellsChange& resizeCells) {
    CGridAxis& axis = m_layout.Axis(columns);
    count = std::max(0, count);
    if (count == axis.GetCount()) {
        return TRUE;
    }
    EndEditing();
    m_topLeftCell.col = -1;
    if (count < axis.GetFixedCount()) {
        axis.SetFixedCount(count);
    }
    if ((columns ? m_focusCell.col : m_focusCell.row) >= count) {
        SetFocusRowCol(-1, -1);
    }
    BOOL result = TRUE;
    try {
        resizeCells(count);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = FALSE;
    }
    SetModified();
    ResetScrollBars();
    Refresh();
    return result;
}

BOOL CGridCtrl::SetRowCount(int rows) {
    return ChangeCount(FALSE, rows, [this](int count) {
        const int height = m_defaultCells[kNormalCell]->GetHeight();
        if (!m_virtualMode) {
            for (int row = count; row < GetRowCount(); ++row) {
                for (int col = 0; col < GetColumnCount(); ++col) {
                    DestroyCell(row, col);
                }
            }
            if (count < static_cast<int>(m_cells.size())) {
                m_cells.resize(static_cast<size_t>(count));
            }
            // One row at a time, so that running out of memory leaves the cells and the sizes matching.
            while (GetRowCount() < count) {
                const int row = GetRowCount();
                m_cells.push_back(GridRow(static_cast<size_t>(GetColumnCount()), nullptr));
                m_layout.Rows().Insert(row, height);
                for (int col = 0; col < GetColumnCount(); ++col) {
                    m_cells[row][col] = CreateCell(row, col);
                }
            }
        }
        m_layout.Rows().Resize(count, height);
    });
}

BOOL CGridCtrl::SetColumnCount(int cols) {
    return ChangeCount(TRUE, cols, [this](int count) {
        const int oldCount = GetColumnCount();
        if (!m_virtualMode && count < oldCount) {
            for (int row = 0; row < GetRowCount(); ++row) {
                for (int col = count; col < oldCount; ++col) {
                    DestroyCell(row, col);
                }
            }
        }
        m_layout.Cols().Resize(count, m_defaultCells[kFixedColumnCell]->GetWidth());
        if (!m_virtualMode) {
            for (int row = 0; row < GetRowCount(); ++row) {
                m_cells[row].resize(static_cast<size_t>(count), nullptr);
                for (int col = oldCount; col < count; ++col) {
                    m_cells[row][col] = CreateCell(row, col);
                }
            }
        }
    });
}

// Before the new entry's cells: the edit ends, the other direction gets at least one entry.
// The index of the new entry; -1 when it could not be made.
int CGridCtrl::InsertEntry(BOOL columns, int at, const AxisCellsChange& insertCells) {
    CGridAxis& axis = m_layout.Axis(columns);
    EndEditing();
    m_topLeftCell.col = -1;
    ClearSelection();
    const bool otherEmpty = m_layout.Axis(!columns).GetCount() < 1;
    if (otherEmpty && !(columns ? SetRowCount(1) : SetColumnCount(1))) {
        return -1;
    }
    const int index = at < 0 ? axis.GetCount() : at;
    try {
        axis.Insert(index, 0);
        if (!m_virtualMode) {
            insertCells(index);
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return -1;
    }
    return index;
}

int CGridCtrl::InsertColumn(LPCSTR heading, UINT format, int col) {
    if (col >= 0 && (col < GetFixedColumnCount() || col > GetColumnCount())) {
        return -1;
    }
    const int index = InsertEntry(TRUE, col, [this](int at) {
        for (int row = 0; row < GetRowCount(); ++row) {
            m_cells[row].insert(m_cells[row].begin() + at, nullptr);
            m_cells[row][at] = CreateCell(row, at);
        }
    });
    if (index < 0) {
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
    const int index = InsertEntry(FALSE, row, [this](int at) {
        m_cells.insert(m_cells.begin() + at, GridRow(static_cast<size_t>(GetColumnCount()), nullptr));
        for (int col = 0; col < GetColumnCount(); ++col) {
            m_cells[at][col] = CreateCell(at, col);
        }
    });
    if (index < 0) {
        return -1;
    }
    SetCellText(index, 0, heading);
    const bool hasHeading = heading != nullptr && *heading != '\0';
    SetRowHeight(index, hasHeading ? GetCellTextExtent(index, 0, heading).cy
                                   : m_defaultCells[kFixedRowCell]->GetHeight());
    ResetScrollBars();
    SetModified();
    return index;
}

BOOL CGridCtrl::DeleteEntry(BOOL columns, int at, const AxisCellsChange& eraseCells) {
    CGridAxis& axis = m_layout.Axis(columns);
    if (!axis.IsValid(at)) {
        return FALSE;
    }
    EndEditing();
    ClearSelection();
    if (!m_virtualMode) {
        eraseCells(at);
    }
    axis.Erase(at);
    ResetScrollBars();
    SetModified();
    return TRUE;
}

BOOL CGridCtrl::DeleteColumn(int col) {
    return DeleteEntry(TRUE, col, [this](int at) {
        for (int row = 0; row < GetRowCount(); ++row) {
            DestroyCell(row, at);
            m_cells[row].erase(m_cells[row].begin() + at);
        }
    });
}

BOOL CGridCtrl::DeleteRow(int row) {
    return DeleteEntry(FALSE, row, [this](int at) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            DestroyCell(at, col);
        }
        m_cells.erase(m_cells.begin() + at);
    });
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
