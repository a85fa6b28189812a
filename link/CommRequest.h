// One request handed to the communicator: which element, which command-table row,
// what to send and where the reply goes. Owned by the communicator once queued.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <vector>

class CDataDescriptor;

// Bits of CommRequest::kind.
constexpr int kRequestCyclic = 0x1;   // served on every pass, never completed
constexpr int kRequestFlagged = 0x2;  // its completion goes to flag-8 subscribers

struct CommRequest {
    CDataDescriptor* descriptor = nullptr;  // not owned; null for a request about no single element
    int kind = 0;
    int row = 0;
    // The request's data bytes, copied when the request was queued, so a caller may
    // reuse its buffer at once.
    std::vector<BYTE> payload;
    BYTE* destination = nullptr;      // not owned; may be null when the reply has no data
    std::size_t destinationSize = 0;  // bytes the destination can take
    unsigned withdrawals = 0;         // the descriptor's withdrawals when queued

    bool IsWithdrawn() const;

    bool IsCyclic() const { return (kind & kRequestCyclic) != 0; }
};
