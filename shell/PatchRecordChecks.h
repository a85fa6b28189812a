// The main menu's checks and records around a firmware patch: whether the unit's firmware
// supports a record id (the element-110 bitmap), the message that lists unsupported ids,
// and the bytes of elements 111 and 112 that record an applied patch.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <array>
#include <vector>

namespace PatchRecordChecks {

// The bitmap of the record ids that the unit's firmware supports.
constexpr int kElementSupportedIds = 110;

// Id n is bit 7 - (n-1) mod 8 of byte (n-1)/8. Id 0 and ids past the bitmap are not supported.
bool IsRecordSupported(const std::vector<BYTE>& bitmap, BYTE id);

// The text followed by the ids in hexadecimal: "%02X", then ", %02X" for each further one.
CString FormatUnsupportedIds(LPCSTR text, const std::vector<BYTE>& ids);

// Element 111: the version word, then the build word, each high byte first.
std::array<BYTE, 4> VersionRecord(WORD version, WORD build);

// Element 112: the year low byte first, then month and day.
std::array<BYTE, 4> DateRecord(WORD year, BYTE month, BYTE day);

}  // namespace PatchRecordChecks
