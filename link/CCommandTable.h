// The unit's command table: for every row the command code and the data lengths of
// request and reply. Owned by the communicator; rows change only on its worker thread.
#pragma once

#include "classlib/core/WinTypes.h"

#include <array>

// A length of 0 means no data, n > 0 exactly n bytes, -n a counted list: a count byte c
// followed by c items of n bytes.
struct CommandRow {
    WORD code = 0;
    int requestLength = 0;
    int replyLength = 0;
};

// Codes with this bit name composite procedures; they never go on the wire.
constexpr WORD kCompositeCodeBit = 0x8000;

class CCommandTable {
public:
    static constexpr int kRowCount = 50;

    CCommandTable();

    static bool IsValidRow(int row) { return row >= 0 && row < kRowCount; }

    const CommandRow& Get(int row) const { return m_rows[static_cast<std::size_t>(row)]; }

    void Set(int row, const CommandRow& value) { m_rows[static_cast<std::size_t>(row)] = value; }

    // Data bytes that a length of the table stands for, given the count byte of a
    // counted list (ignored for fixed lengths).
    static int DataBytes(int length, BYTE count);

private:
    std::array<CommandRow, kRowCount> m_rows;
};
