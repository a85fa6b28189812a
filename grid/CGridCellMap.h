// A set of cells, as the grid keeps its selected and previously selected cells. The key
// holds the full row and column, so no two cells of any grid size share one.
#pragma once

#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"

#include <cstdint>
#include <map>
#include <vector>

class CGridCellMap {
public:
    void Add(const GridCellId& cell) { m_cells[KeyOf(cell)] = cell; }

    void Remove(const GridCellId& cell) { m_cells.erase(KeyOf(cell)); }

    bool Contains(const GridCellId& cell) const { return m_cells.count(KeyOf(cell)) != 0; }

    void Clear() { m_cells.clear(); }

    bool IsEmpty() const { return m_cells.empty(); }

    int GetCount() const { return static_cast<int>(m_cells.size()); }

    // A copy, so that callers may change the map while walking the cells.
    std::vector<GridCellId> GetCells() const;
    // The bounding range; an empty map gives (rowCount, colCount, -1, -1), which is invalid.
    GridCellRange GetBounds(int rowCount, int colCount) const;

private:
    static std::uint64_t KeyOf(const GridCellId& cell) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cell.row)) << 32) |
               static_cast<std::uint32_t>(cell.col);
    }

    std::map<std::uint64_t, GridCellId> m_cells;
};
