// Row heights and column widths of the grid window: setting them, fitting them to the
// cells' content and stretching them to fill the window.
#include "classlib/win/CClientDC.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"

#include <windows.h>

#include <algorithm>

BOOL CGridCtrl::SetRowHeight(int row, int height) {
    if (!m_layout.Rows().SetSize(row, height)) {
        return FALSE;
    }
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int col, int width) {
    if (!m_layout.Cols().SetSize(col, width)) {
        return FALSE;
    }
    ResetScrollBars();
    return TRUE;
}

CSize CGridCtrl::GetCellTextExtent(int row, int col, LPCSTR text) {
    CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? CSize() : cell->GetTextExtent(text, nullptr);
}

BOOL CGridCtrl::FitColumnWidth(int col, int style, BOOL resetScrollBars) {
    const int fit = style == 0 ? m_fitStyle : style;
    const int firstRow = (fit & 1) != 0 ? 0 : GetFixedRowCount();
    const int lastRow = (fit & 2) != 0 ? GetRowCount() - 1 : GetFixedRowCount() - 1;
    return FitToCells(TRUE, col, firstRow, lastRow, resetScrollBars);
}

BOOL CGridCtrl::FitRowHeight(int row, BOOL resetScrollBars) {
    return FitToCells(FALSE, row, 0, GetColumnCount() - 1, resetScrollBars);
}

// Sizes a shown row or column to the largest of its cells from first to last across it.
BOOL CGridCtrl::FitToCells(BOOL columns, int index, int first, int last, BOOL resetScrollBars) {
    CGridAxis& axis = m_layout.Axis(columns);
    if (axis.GetSize(index) <= 0 || !IsWindow()) {
        return FALSE;
    }
    CClientDC dc(this);
    if (dc.GetSafeHdc() == nullptr) {
        return FALSE;
    }
    if (m_virtualMode) {
        SendCacheHint(columns ? GridCellRange(first, index, last, index)
                              : GridCellRange(index, first, index, last));
    }
    int size = 0;
    for (int other = first; other <= last; ++other) {
        CGridCellBase* cell = columns ? GetCell(other, index) : GetCell(index, other);
        if (cell != nullptr) {
            const CSize extent = cell->GetCellExtent(&dc);
            size = std::max(size, static_cast<int>(columns ? extent.cx : extent.cy));
        }
    }
    if (m_virtualMode) {
        SendCacheHint(GridCellRange());
    }
    axis.SetSize(index, size);
    if (resetScrollBars) {
        ResetScrollBars();
    }
    return TRUE;
}

void CGridCtrl::FitAllColumns(int style) {
    for (int col = 0; col < GetColumnCount(); ++col) {
        if (GetColumnWidth(col) > 0) {
            FitColumnWidth(col, style, FALSE);
        }
    }
    ResetScrollBars();
}

void CGridCtrl::FitAllRows() {
    for (int row = 0; row < GetRowCount(); ++row) {
        if (GetRowHeight(row) > 0) {
            FitRowHeight(row, FALSE);
        }
    }
    ResetScrollBars();
}

void CGridCtrl::FitAll(int style) {
    if (!IsWindow()) {
        return;
    }
    CClientDC dc(this);
    if (dc.GetSafeHdc() == nullptr) {
        return;
    }
    const int fit = style == 0 ? m_fitStyle : style;
    const int firstRow = (fit & 1) != 0 ? 0 : GetFixedRowCount();
    const int lastRow = (fit & 2) != 0 ? GetRowCount() - 1 : GetFixedRowCount() - 1;
    if (m_virtualMode) {
        SendCacheHint(GridCellRange(firstRow, 0, lastRow, GetColumnCount() - 1));
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        if (GetRowHeight(row) > 0) {
            m_layout.Rows().SetSize(row, 1);
        }
    }
    for (int col = 0; col < GetColumnCount(); ++col) {
        if (GetColumnWidth(col) <= 0) {
            continue;
        }
        m_layout.Cols().SetSize(col, 0);
        for (int row = firstRow; row <= lastRow; ++row) {
            CGridCellBase* cell = GetRowHeight(row) > 0 ? GetCell(row, col) : nullptr;
            if (cell == nullptr) {
                continue;
            }
            const CSize extent = cell->GetCellExtent(&dc);
            m_layout.Cols().SetSize(col, std::max(GetColumnWidth(col), static_cast<int>(extent.cx)));
            m_layout.Rows().SetSize(row, std::max(GetRowHeight(row), static_cast<int>(extent.cy)));
        }
    }
    if (m_virtualMode) {
        SendCacheHint(GridCellRange());
    }
    ResetScrollBars();
    Refresh();
}

void CGridCtrl::StretchColumnsToWidth(BOOL includeFixed) {
    StretchAxis(TRUE, includeFixed);
}

void CGridCtrl::StretchRowsToHeight(BOOL includeFixed) {
    StretchAxis(FALSE, includeFixed);
}

void CGridCtrl::StretchAxis(BOOL columns, BOOL includeFixed) {
    CGridAxis& axis = m_layout.Axis(columns);
    const int first = includeFixed ? 0 : axis.GetFixedCount();
    if (first >= axis.GetCount() || !IsWindow()) {
        return;
    }
    EnableScrollBars(columns ? SB_HORZ : SB_VERT, FALSE);
    CRect client;
    GetClientRect(client);
    axis.Stretch(columns ? client.Width() : client.Height(), includeFixed != FALSE);
    Refresh();
    ResetScrollBars();
}

void CGridCtrl::StretchLastColumn() {
    if (IsWindow() && m_layout.Cols().PreviousShown(GetColumnCount(), 0) > 0) {
        EnableScrollBars(SB_HORZ, FALSE);
        CRect client;
        GetClientRect(client);
        if (client.Width() > GetVirtualWidth()) {
            m_layout.Cols().StretchLast(client.Width());
            Refresh();
        }
    }
    ResetScrollBars();
}

void CGridCtrl::StretchToWindow(BOOL includeFixed) {
    StretchColumnsToWidth(includeFixed);
    StretchRowsToHeight(includeFixed);
    StretchColumnsToWidth(includeFixed);
    Refresh();
}
