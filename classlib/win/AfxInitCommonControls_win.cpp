// Common-control class registration.
#include "classlib/win/AfxInitCommonControls.h"

#include <commctrl.h>
#include <cstdio>

BOOL AfxInitCommonControls(DWORD classes) {
    INITCOMMONCONTROLSEX init = {sizeof(INITCOMMONCONTROLSEX), classes};
    if (!InitCommonControlsEx(&init)) {
        std::fprintf(stderr, "InitCommonControlsEx(0x%lx): %lu\n", classes, GetLastError());
        return FALSE;
    }
    return TRUE;
}
