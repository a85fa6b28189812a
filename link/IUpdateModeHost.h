// What the update-mode step needs of the communicator's worker: exchanges in the
// loader's ids, the port's time-outs, and the route of its reports to the data handler.
// Everything runs on the worker thread.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CFrameExchange.h"
#include "link/IPort.h"

class IUpdateModeHost {
public:
    virtual ~IUpdateModeHost() = default;
    // One try of an exchange; `repeat` marks a repetition, both count for the pass.
    virtual int Exchange(const FrameRequest& frame, bool repeat) = 0;
    virtual void ClosePort() = 0;
    virtual void SetPortTimeouts(const PortTimeouts& timeouts) = 0;
    // Message 0x622 to the main window (progress code, per mille).
    virtual void ReportUpdateProgress(UINT_PTR code, LONG_PTR perMille) = 0;
    // The loader's three identification words.
    virtual void ReportUpdateModeInfo(WORD word0, WORD word1, WORD word2) = 0;
};
