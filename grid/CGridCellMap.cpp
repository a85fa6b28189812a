#include "grid/CGridCellMap.h"

#include <algorithm>

std::vector<GridCellId> CGridCellMap::GetCells() const {
    std::vector<GridCellId> cells;
    cells.reserve(m_cells.size());
    for (const auto& entry : m_cells) {
        cells.push_back(entry.second);
    }
    return cells;
}

GridCellRange CGridCellMap::GetBounds(int rowCount, int colCount) const {
    GridCellRange bounds(rowCount, colCount, -1, -1);
    for (const auto& entry : m_cells) {
        const GridCellId& cell = entry.second;
        bounds.minRow = std::min(bounds.minRow, cell.row);
        bounds.minCol = std::min(bounds.minCol, cell.col);
        bounds.maxRow = std::max(bounds.maxRow, cell.row);
        bounds.maxCol = std::max(bounds.maxCol, cell.col);
    }
    return bounds;
}
