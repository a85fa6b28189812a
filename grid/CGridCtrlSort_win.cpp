// Sorting the grid's non-fixed rows by one column.
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <utility>

int CGridCtrl::CompareCellText(const CGridCellBase* first, const CGridCellBase* second, LPARAM value) {
    if (first == nullptr || second == nullptr) {
        return 0;
    }
    return std::strcmp(first->GetText(), second->GetText());
}

int CGridCtrl::CompareCellNumber(const CGridCellBase* first, const CGridCellBase* second, LPARAM value) {
    if (first == nullptr || second == nullptr) {
        return 0;
    }
    const long a = std::strtol(first->GetText(), nullptr, 10);
    const long b = std::strtol(second->GetText(), nullptr, 10);
    return a < b ? -1 : (a > b ? 1 : 0);
}

void CGridCtrl::SetSortColumn(int col) {
    if (m_sortColumn >= 0) {
        InvalidateCellRect(0, m_sortColumn);
    }
    m_sortColumn = col;
    if (col >= 0) {
        InvalidateCellRect(0, col);
    }
}

BOOL CGridCtrl::SortByColumn(int col, BOOL ascending, LPARAM value) {
    return SortWithFunction(m_compareFunction != nullptr ? m_compareFunction : CompareCellText, col,
                            ascending, value);
}

BOOL CGridCtrl::SortByText(int col, BOOL ascending, LPARAM value) {
    return SortWithFunction(CompareCellText, col, ascending, value);
}

BOOL CGridCtrl::SortWithFunction(GridCompareFunction compare, int col, BOOL ascending, LPARAM value) {
    // Before the selection goes: the edit to end is the focus cell's.
    EndEditing();
    SetSortColumn(col);
    m_sortAscending = ascending;
    ClearSelection();
    return QuickSortRows(compare, col, ascending, value, GetFixedRowCount(), -1);
}

// Swaps whole rows: every column's cell and the row height.
void CGridCtrl::SwapRows(int first, int second) {
    std::swap(m_cells[first], m_cells[second]);
    for (int col = 0; col < GetColumnCount(); ++col) {
        if (m_cells[first][col] != nullptr) {
            m_cells[first][col]->SetCoords(first, col);
        }
        if (m_cells[second][col] != nullptr) {
            m_cells[second][col]->SetCoords(second, col);
        }
    }
    const int height = GetRowHeight(first);
    m_layout.Rows().SetSize(first, GetRowHeight(second));
    m_layout.Rows().SetSize(second, height);
}

// The pivot is one cell object, compared by identity, so swapping rows cannot change it.
// In virtual mode there are no stored rows to move.
BOOL CGridCtrl::QuickSortRows(GridCompareFunction compare,
                              int col,
                              BOOL ascending,
                              LPARAM value,
                              int low,
                              int high) {
    if (m_virtualMode || compare == nullptr || col < 0 || col >= GetColumnCount()) {
        return FALSE;
    }
    if (high == -1) {
        high = GetRowCount() - 1;
    }
    if (low < 0 || high >= GetRowCount() || low >= high) {
        return FALSE;
    }
    // An open editor reports to its cell by position, which the sort is about to change.
    EndEditing();
    const CGridCellBase* pivot = GetCell((low + high) / 2, col);
    auto before = [&](const CGridCellBase* cell) {
        const int order = compare(cell, pivot, value);
        return ascending ? order < 0 : order > 0;
    };
    auto after = [&](const CGridCellBase* cell) {
        const int order = compare(cell, pivot, value);
        return ascending ? order > 0 : order < 0;
    };
    int lo = low;
    int hi = high;
    while (lo <= hi) {
        while (lo < high && before(GetCell(lo, col))) {
            ++lo;
        }
        while (hi > low && after(GetCell(hi, col))) {
            --hi;
        }
        if (lo <= hi) {
            if (compare(GetCell(lo, col), GetCell(hi, col), value) != 0) {
                SwapRows(lo, hi);
            }
            ++lo;
            --hi;
        }
    }
    if (low < hi) {
        QuickSortRows(compare, col, ascending, value, low, hi);
    }
    if (lo < high) {
        QuickSortRows(compare, col, ascending, value, lo, high);
    }
    return TRUE;
}
