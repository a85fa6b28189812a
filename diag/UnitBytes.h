// How the unit stores small numbers in its elements: signed bytes in two's complement and
// 16-bit words low byte first.
#pragma once

#include "classlib/core/WinTypes.h"

inline int SignedByte(BYTE value) {
    return static_cast<signed char>(value);
}

// The word at bytes[0] (low) and bytes[1] (high).
inline int LittleEndianWord(const BYTE* bytes) {
    return bytes[0] | (bytes[1] << 8);
}
