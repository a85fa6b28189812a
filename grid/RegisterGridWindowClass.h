// The window classes of the grid's own windows (the grid and its title tip).
#pragma once

#include <windows.h>

// Registers the class once per process: an arrow cursor and a system colour
// (COLOR_*) as background. Throws the class library's resource exception when the
// system refuses it.
void RegisterGridWindowClass(LPCSTR name, UINT classStyle, int backgroundColour);
