// What the composite procedures need of the communicator's worker: single exchanges
// on its port, the command table and capability flags that the probe rewrites, and
// a route for the full read's progress. Everything runs on the worker thread.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CFrameExchange.h"

class CCommandTable;

class ICompositeHost {
public:
    virtual ~ICompositeHost() = default;
    // One try of an exchange; `repeat` marks a repetition, both count for the pass.
    virtual int Exchange(const FrameRequest& frame, bool repeat) = 0;
    virtual void ClosePort() = 0;
    virtual void SleepMs(DWORD milliseconds) = 0;
    // Message 0x623 to the main window.
    virtual void PostFullReadProgress(UINT_PTR wParam, LONG_PTR lParam) = 0;
    virtual CCommandTable& CommandTable() = 0;
    // Capability flags of rows 30, 31, 35, 40 and 42; other rows are ignored.
    virtual void SetRowSupported(int row, bool supported) = 0;
    virtual bool IsRowFlagSet(int row) const = 0;
    virtual void SetTablesFlag(bool hasTables) = 0;
    virtual bool GetTablesFlag() const = 0;
};
