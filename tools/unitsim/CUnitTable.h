// One table bank of the simulated unit: two axes of 16-bit values and a grid of
// one-byte cells, addressed by column (first axis) and row (second axis). The
// trouble-code logs use the same banks and keep their records in the cells.
#pragma once

#include <cstdint>
#include <vector>

// One snapshot of a trouble-code log: when it was taken, the MIL state and the
// codes stored with it.
struct DtcSnapshot {
    uint16_t hours;
    uint8_t minutes;
    uint8_t seconds;
    bool milOn;
    std::vector<uint16_t> codes;  // at most 63
};

class CUnitTable {
public:
    // An empty table (no axis values, no cells).
    CUnitTable() = default;

    // Axes and cells of the given sizes; axis values rise evenly from `first` by
    // `step`, cells are 0.
    static CUnitTable Make(int columns,
                           int rows,
                           uint16_t columnFirst,
                           uint16_t columnStep,
                           uint16_t rowFirst,
                           uint16_t rowStep);

    // Replaces the axes; the cells are resized to match and keep what still fits.
    void SetAxes(const std::vector<uint16_t>& columnAxis, const std::vector<uint16_t>& rowAxis);

    const std::vector<uint16_t>& ColumnAxis() const { return m_columnAxis; }

    const std::vector<uint16_t>& RowAxis() const { return m_rowAxis; }

    int Columns() const { return static_cast<int>(m_columnAxis.size()); }

    int Rows() const { return static_cast<int>(m_rowAxis.size()); }

    bool Contains(int column, int row) const {
        return column >= 0 && row >= 0 && column < Columns() && row < Rows();
    }

    // Cells outside the table read as 0 and ignore writes.
    uint8_t Cell(int column, int row) const;
    void SetCell(int column, int row, uint8_t value);
    void Fill(uint8_t value);

    // The cells row by row, the layout of the trouble-code logs.
    std::vector<uint8_t> RowMajorCells() const;

    // Writes `bytes` row by row from the first cell; what does not fit is cut off.
    // Returns false when something was cut off.
    bool SetRowMajorCells(const std::vector<uint8_t>& bytes);

    // Fills the cells with a trouble-code log: a big-endian start position 2,
    // the snapshots from there on and 0xFF after the last (an empty log is the
    // start position and 0xFF alone). Returns false when the log does not fit.
    bool SetRecordLog(const std::vector<DtcSnapshot>& snapshots);

    // The axes on the wire: a count, then the values as little-endian words.
    static std::vector<uint8_t> EncodeAxis(const std::vector<uint16_t>& axis);

private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row) * m_columnAxis.size() + static_cast<std::size_t>(column);
    }

    std::vector<uint16_t> m_columnAxis;
    std::vector<uint16_t> m_rowAxis;
    std::vector<uint8_t> m_cells;  // row by row
};
