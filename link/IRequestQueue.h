// The part of the communicator that the data handler uses: its request queue, its
// wait state and what the unit's capability probe found. The product hands the data
// handler the communicator itself (CCommunicatorQueue adapts it); tests record.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>

class CDataDescriptor;

class IRequestQueue {
public:
    // Destination size meaning "as the row's reply length says".
    static constexpr std::size_t kSizeFromRow = static_cast<std::size_t>(-1);

    virtual ~IRequestQueue() = default;
    // False when the request was refused and nothing was queued.
    virtual bool QueueRequest(CDataDescriptor* descriptor,
                              int kind,
                              int row,
                              const BYTE* source,
                              BYTE* destination,
                              std::size_t destinationSize) = 0;
    virtual int GetWaitState() const = 0;
    virtual void SetWaitState(int waitState) = 0;
    virtual BOOL IsRowSupported(int row) const = 0;
    virtual BOOL HasTables() const = 0;
};
