// CRC-32 (reflected polynomial 0xEDB88320) that guards every file read or written whole.
#pragma once

#include "classlib/core/WinTypes.h"

// Computes the CRC-32 of `length` bytes, stores it through `result` (may be null) and
// returns it. A length of 0 or less yields 0.
DWORD CalcCrc32(const BYTE* data, int length, DWORD* result);
