// A rectangle of cells with inclusive bounds; (-1, -1, -1, -1) is the empty range.
#pragma once

#include "grid/GridCellId.h"

struct GridCellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    GridCellRange() = default;

    GridCellRange(int minRowIndex, int minColIndex, int maxRowIndex, int maxColIndex)
        : minRow(minRowIndex), minCol(minColIndex), maxRow(maxRowIndex), maxCol(maxColIndex) {}

    // Valid: inside a grid of these counts and not inverted.
    bool IsValid(int rowCount, int colCount) const {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && maxRow < rowCount &&
               maxCol < colCount && minRow <= maxRow && minCol <= maxCol;
    }

    bool InRange(int row, int col) const {
        return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }

    bool InRange(const GridCellId& cell) const { return InRange(cell.row, cell.col); }

    GridCellId GetTopLeft() const { return GridCellId(minRow, minCol); }

    bool operator==(const GridCellRange& other) const {
        return minRow == other.minRow && minCol == other.minCol && maxRow == other.maxRow &&
               maxCol == other.maxCol;
    }

    bool operator!=(const GridCellRange& other) const { return !(*this == other); }
};
