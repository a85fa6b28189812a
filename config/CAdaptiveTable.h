// One adaptive table that the unit learns by itself: an rpm axis (columns), an injection-time
// axis (rows) and a signed correction per cell, in the layout of the unit's table elements
// 80, 82, 84 and 86. The page fills it from the whole element and then row by row from the
// unit's row answers, and encodes it back so that the working image holds what was read.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <vector>

class CAdaptiveTable {
public:
    static constexpr int kMaxBreakpoints = 32;

    // count1, count1 rpm words, count2, count2 µs words, then the cells: column by column
    // when count1 < count2, else row by row. Refuses (and empties the table) data whose
    // counts pass 32 or that is shorter than the layout needs.
    bool Decode(const BYTE* data, std::size_t length);
    // The bytes used, 0 when the buffer is too short.
    std::size_t Encode(BYTE* buffer, std::size_t length) const;
    std::size_t EncodedLength() const;

    void Clear();

    bool IsEmpty() const { return m_rpm.empty() || m_time.empty(); }

    // count1: the rpm breakpoints, the matrix's columns.
    int GetColumnCount() const { return static_cast<int>(m_rpm.size()); }

    // count2: the injection-time breakpoints, the matrix's rows.
    int GetRowCount() const { return static_cast<int>(m_time.size()); }

    int GetRpm(int column) const { return m_rpm[static_cast<std::size_t>(column)]; }

    int GetTimeUs(int row) const { return m_time[static_cast<std::size_t>(row)]; }

    const std::vector<int>& GetRpmAxis() const { return m_rpm; }

    const std::vector<int>& GetTimeAxis() const { return m_time; }

    int GetCell(int row, int column) const { return m_cells[Index(row, column)]; }

    // A row answer of the unit: byte 0 names the row, the row's count1 signed cells follow.
    // Returns the row stored, -1 when the answer names no row of the table or is too short.
    int StoreRowAnswer(const BYTE* answer, std::size_t length);

private:
    std::size_t Index(int row, int column) const {
        return static_cast<std::size_t>(row) * m_rpm.size() + static_cast<std::size_t>(column);
    }

    std::vector<int> m_rpm;
    std::vector<int> m_time;
    std::vector<int> m_cells;  // row by row
};
