#include "grid/CGridLayout.h"

GridCellId CGridLayout::GetTopleftNonFixedCell(int scrollX, int scrollY) const {
    return GridCellId(m_rows.FirstAtScrollPos(scrollY), m_cols.FirstAtScrollPos(scrollX));
}

GridCellRange CGridLayout::GetVisibleRange(const GridCellId& topLeft,
                                           int clientWidth,
                                           int clientHeight,
                                           bool unobstructed,
                                           int* right,
                                           int* bottom) const {
    bool rowCut = false;
    bool colCut = false;
    int lastRow = m_rows.LastShown(topLeft.row, clientHeight, bottom, &rowCut);
    int lastCol = m_cols.LastShown(topLeft.col, clientWidth, right, &colCut);
    if (unobstructed && rowCut && lastRow > 0) {
        --lastRow;
    }
    if (unobstructed && colCut && lastCol > 0) {
        --lastCol;
    }
    return GridCellRange(topLeft.row, topLeft.col, lastRow, lastCol);
}

bool CGridLayout::GetCellOrigin(int row, int col, const GridCellId& topLeft, int* x, int* y) const {
    int originX = 0;
    int originY = 0;
    if (!m_cols.GetOrigin(col, topLeft.col, &originX) || !m_rows.GetOrigin(row, topLeft.row, &originY)) {
        return false;
    }
    *x = originX;
    *y = originY;
    return true;
}

GridCellId CGridLayout::CellFromPoint(int x, int y, const GridCellId& topLeft, bool allowFixed) const {
    if (!allowFixed && !IsValid(topLeft)) {
        return GridCellId();
    }
    const int col = m_cols.IndexAt(x, topLeft.col, allowFixed);
    const int row = m_rows.IndexAt(y, topLeft.row, allowFixed);
    return GridCellId(row, col);
}

GridScrollPlan CGridLayout::PlanScrollBars(const GridClientMetrics& client) const {
    GridScrollPlan plan;
    const int fixedWidth = m_cols.GetFixedTotal();
    const int fixedHeight = m_rows.GetFixedTotal();
    if (client.width <= fixedWidth || client.height <= fixedHeight) {
        return plan;
    }
    const int virtualWidth = m_cols.GetTotal();
    const int virtualHeight = m_rows.GetTotal();
    int visibleWidth = client.width;
    int visibleHeight = client.height;
    if (virtualHeight > visibleHeight) {
        visibleWidth -= client.vertBarWidth;
    }
    if (virtualWidth > visibleWidth) {
        visibleHeight -= client.horzBarHeight;
    }
    plan.showVert = virtualHeight > visibleHeight;
    plan.vertMax = plan.showVert ? virtualHeight - fixedHeight - 1 : 0;
    plan.showHorz = virtualWidth > visibleWidth;
    plan.horzMax = plan.showHorz ? virtualWidth - fixedWidth - 1 : 0;
    plan.horzPage = plan.horzMax > 0 ? visibleWidth : 0;
    plan.vertPage = plan.vertMax > 0 ? visibleHeight : 0;
    return plan;
}
