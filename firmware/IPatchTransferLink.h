// What the patch transfer needs of the data handler: reads of the one-byte command elements,
// the packet channel, and the status byte a read left in the working image.
#pragma once

#include "classlib/core/WinTypes.h"

class IPatchTransferLink {
public:
    virtual ~IPatchTransferLink() = default;
    // Each is false when the request was not queued (the link is down or it was refused):
    // no answer will come for it.
    virtual bool RequestRead(int element) = 0;
    // The answer lands in `answer` (256 bytes); both buffers must outlive the transfer.
    virtual bool RequestWriteFrom(int element, const BYTE* packet, BYTE* answer) = 0;
    virtual BYTE ReadStatusByte(int element) = 0;
};
