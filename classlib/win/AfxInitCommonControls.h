// Registers the common-control window classes a control needs (ICC_* flags) before
// its first window is created. Safe to call many times.
#pragma once

#include <windows.h>

BOOL AfxInitCommonControls(DWORD classes);
