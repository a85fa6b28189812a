// A cell's position in a grid; -1 in either part means "no cell".
#pragma once

struct GridCellId {
    int row = -1;
    int col = -1;

    GridCellId() = default;

    GridCellId(int rowIndex, int colIndex) : row(rowIndex), col(colIndex) {}

    bool IsValid(int rowCount, int colCount) const {
        return row >= 0 && row < rowCount && col >= 0 && col < colCount;
    }

    bool operator==(const GridCellId& other) const { return row == other.row && col == other.col; }

    bool operator!=(const GridCellId& other) const { return !(*this == other); }
};
