// The correction map as it lies in its element, and the box of changed cells that a
// write of it sends: the bounding box of the cells that differ between two copies.
// Portable; the bytes come from the unit, so every size is checked.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>

constexpr std::size_t kBoxRecordBytes = 1024;

// The layout of a map: N1 values of the first axis, N2 of the second, N1 x N2 cells.
struct MapLayout {
    int count1 = 0;
    int count2 = 0;
    int cellsOffset = 0;

    // Offset of the cell (x along the first axis, y along the second): the longer axis
    // runs fastest.
    int CellOffset(int x, int y) const {
        return cellsOffset + (count1 < count2 ? x * count2 + y : y * count1 + x);
    }
};

// Reads the layout of a map of mapBytes bytes; false when it does not fit them.
bool ReadMapLayout(const BYTE* map, std::size_t mapBytes, MapLayout& layout);

// Builds the box record: x from, y from, x to, y to, then the box's cells from the
// working map. Returns its length; 0 when nothing is to be written (the axis counts
// differ, no cell differs, or a map does not fit mapBytes).
std::size_t BuildChangedBox(const BYTE* unitMap,
                            const BYTE* workingMap,
                            std::size_t mapBytes,
                            BYTE (&record)[kBoxRecordBytes]);

// Length of a box record judged by its four corner bytes; 0 when the corners are
// inverted or the cells would not fit kBoxRecordBytes.
std::size_t BoxRecordLength(const BYTE* record);
