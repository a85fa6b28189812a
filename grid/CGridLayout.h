// The geometry of a grid without its window: row heights and column widths, the cell
// at the top-left of the scrolled part, the cells shown in a client area, where a cell
// lies and which cell lies under a point, and how the scroll bars must be set.
#pragma once

#include "grid/CGridAxis.h"
#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"

// How the scroll bars of a grid are to be set for a client area.
struct GridScrollPlan {
    bool showHorz = false;
    bool showVert = false;
    int horzMax = 0;
    int vertMax = 0;
    int horzPage = 0;
    int vertPage = 0;
};

// What the window knows about its client area and scroll bars.
struct GridClientMetrics {
    int width = 0;   // client width with no scroll bar shown
    int height = 0;  // client height with no scroll bar shown
    int vertBarWidth = 0;
    int horzBarHeight = 0;
};

class CGridLayout {
public:
    CGridAxis& Rows() { return m_rows; }

    CGridAxis& Cols() { return m_cols; }

    const CGridAxis& Rows() const { return m_rows; }

    const CGridAxis& Cols() const { return m_cols; }

    CGridAxis& Axis(bool columns) { return columns ? m_cols : m_rows; }

    const CGridAxis& Axis(bool columns) const { return columns ? m_cols : m_rows; }

    bool IsValid(const GridCellId& cell) const { return cell.IsValid(m_rows.GetCount(), m_cols.GetCount()); }

    bool IsValid(const GridCellRange& range) const {
        return range.IsValid(m_rows.GetCount(), m_cols.GetCount());
    }

    bool IsFixed(int row, int col) const {
        return row < m_rows.GetFixedCount() || col < m_cols.GetFixedCount();
    }

    // The first non-fixed cell shown at these scroll positions (pixels of the scrolled part).
    GridCellId GetTopleftNonFixedCell(int scrollX, int scrollY) const;
    // Non-fixed cells at least partly (unobstructed: wholly) inside a client area of that
    // size, with topLeft the top-left non-fixed cell. right and bottom receive where the
    // shown cells end.
    GridCellRange GetVisibleRange(const GridCellId& topLeft,
                                  int clientWidth,
                                  int clientHeight,
                                  bool unobstructed,
                                  int* right,
                                  int* bottom) const;
    // The client position of the cell's top-left pixel; false when it is scrolled away.
    bool GetCellOrigin(int row, int col, const GridCellId& topLeft, int* x, int* y) const;
    GridCellId CellFromPoint(int x, int y, const GridCellId& topLeft, bool allowFixed) const;
    // Scroll-bar settings for the client area: the vertical decision narrows the area
    // before the horizontal one is taken.
    GridScrollPlan PlanScrollBars(const GridClientMetrics& client) const;

private:
    CGridAxis m_rows;
    CGridAxis m_cols;
};
