// Window classes for library windows that need no class of their own, and the module
// handles that creation and resource loading use.
#pragma once

#include <windows.h>

// The name of a registered window class with these attributes (registered on first
// use, kept for the life of the process), or null when the system refused it.
LPCSTR AfxRegisterWndClass(UINT classStyle,
                           HCURSOR cursor = nullptr,
                           HBRUSH background = nullptr,
                           HICON icon = nullptr);

// The executable's module.
HINSTANCE AfxGetInstanceHandle();
// Where dialog templates and strings come from: the executable unless replaced.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
