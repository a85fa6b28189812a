// How the full read and the table procedures lay a table out in the unit's image,
// shared by the tests that compare images against the simulated unit's tables.
#pragma once

#include "classlib/core/WinTypes.h"
#include "tools/unitsim/CUnitTable.h"

#include <vector>

// N1, the first axis, N2, the second axis, then the cells row by row when N1 >= N2,
// else column by column.
inline std::vector<BYTE> TableLayout(const CUnitTable& table) {
    std::vector<BYTE> bytes;
    for (const auto* axis : {&table.ColumnAxis(), &table.RowAxis()}) {
        const std::vector<uint8_t> encoded = CUnitTable::EncodeAxis(*axis);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    if (table.Columns() >= table.Rows()) {
        const std::vector<uint8_t> cells = table.RowMajorCells();
        bytes.insert(bytes.end(), cells.begin(), cells.end());
        return bytes;
    }
    for (int column = 0; column < table.Columns(); ++column) {
        for (int row = 0; row < table.Rows(); ++row) {
            bytes.push_back(table.Cell(column, row));
        }
    }
    return bytes;
}
