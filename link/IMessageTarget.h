// A window that the link posts messages to; the main dialog in the product, a
// recorder in tests. PostMessage must not block and may be called from any thread.
#pragma once

#include "classlib/core/WinTypes.h"

class IMessageTarget {
public:
    virtual ~IMessageTarget() = default;
    virtual void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) = 0;
};

// Posted when the communicator's worker gave no heartbeat for too long.
constexpr UINT WM_COMM_DEAD = 0x700;
