// The four injection tables of the unit ("Benzin 1", "Benzin 2", "Gas 1", "Gas 2"), each 16
// rows of injection time by 18 columns of engine speed with one byte per cell, row by row.
// Each table keeps its own buffer, so edits survive a change of the shown table.
#pragma once

#include "classlib/core/WinTypes.h"

#include <array>

class CInjectionTableSet {
public:
    static constexpr int kTableCount = 4;
    static constexpr int kRows = 16;
    static constexpr int kColumns = 18;
    static constexpr int kBytes = kRows * kColumns;
    // The unit's data block of table 0; the others follow.
    static constexpr int kFirstBlock = 5;
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 100;

    static const char* Name(int table);
    // Engine speed of a column, 1/min.
    static int Rpm(int column);
    // Injection time of a row, µs.
    static int TimeUs(int row);
    static const int* RpmAxis();
    static const int* TimeAxis();

    // Out-of-range indexes are ignored.
    void Select(int table);

    int GetSelected() const { return m_selected; }

    int GetCell(int row, int column) const;
    // False, and nothing stored, for a cell outside the table or a value outside 0..100.
    bool SetCell(int row, int column, int value);

    // The selected table's bytes, for the transfer with the unit.
    BYTE* SelectedBuffer() { return m_tables[static_cast<std::size_t>(m_selected)].data(); }

    int SelectedBlock() const { return kFirstBlock + m_selected; }

private:
    std::array<std::array<BYTE, kBytes>, kTableCount> m_tables{};
    int m_selected = 0;
};
