// Taking over a handle into a wrapper's slot: only an empty slot takes one, and only
// a real handle, so a wrapper never silently drops the handle it already owns.
#pragma once

#include <windows.h>

template <class Handle>
BOOL AttachHandle(Handle& slot, Handle handle) {
    if (slot != nullptr || handle == nullptr) {
        return FALSE;
    }
    slot = handle;
    return TRUE;
}
