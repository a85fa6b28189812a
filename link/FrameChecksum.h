// The frame checksum: the XOR of every byte of a frame before its last one.
#pragma once

#include "classlib/core/WinTypes.h"

// Stores the XOR of bytes 0 .. length-2 in byte length-1. Lengths below 1 do nothing.
void SetChecksum(BYTE* buffer, int length);

// True when byte length-1 equals the XOR of the bytes before it.
bool CheckChecksum(const BYTE* buffer, int length);
