// The unit's command table: for every row the command code and the data lengths of
// request and reply. Owned by the communicator; rows change only on its worker thread,
// while any thread may read them. Each row is one atomic word, so a reader sees a row
// whole and no lock is held that a terminated worker could keep.
#pragma once

#include "classlib/core/WinTypes.h"

#include <array>
#include <atomic>
#include <cstdint>

// A length of 0 means no data, n > 0 exactly n bytes, -n a counted list: a count byte c
// followed by c items of n bytes. Lengths fit in 24 bits.
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
    CCommandTable(const CCommandTable&) = delete;
    CCommandTable& operator=(const CCommandTable&) = delete;

    static bool IsValidRow(int row) { return row >= 0 && row < kRowCount; }

    CommandRow Get(int row) const;
    void Set(int row, const CommandRow& value);

    // Data bytes that a length of the table stands for, given the count byte of a
    // counted list (ignored for fixed lengths).
    static int DataBytes(int length, BYTE count);

private:
    std::array<std::atomic<std::uint64_t>, kRowCount> m_rows;
};
