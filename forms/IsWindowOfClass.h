// Whether a window is of a window class, by the class's name (compared without case, as
// the system compares class names).
#pragma once

#include <windows.h>

bool IsWindowOfClass(HWND window, const char* className);
