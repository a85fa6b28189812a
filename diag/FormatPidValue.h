// The display text of a mode-01 OBD value (as its freeze frame holds it) from the PID and the
// data bytes A, B, C, D that follow the PID in the reply.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>

// The value of `pid` from `length` data bytes with its unit, such as "1726 1/min" for PID 0x0C
// and the bytes 1A F8. False, with `text` untouched, for PIDs below 0x03 or above 0x4E, for
// 0x1C, 0x20, 0x40 and 0x41, and when fewer bytes are given than the PID's value needs.
bool FormatPidValue(int pid, const BYTE* data, std::size_t length, CString& text);
