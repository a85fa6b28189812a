// Reading the data of the OBD replies that a scan asks for: which PIDs the car supports, its
// trouble-code lists and its vehicle identification number. Data shorter than a reply needs
// is refused rather than read past.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

// The four mode-01 support bitmaps (PIDs 0x01-0x20, 0x21-0x40, 0x41-0x60, 0x61-0x80); bit 31
// of each stands for the first PID of its range.
struct ObdPidBitmaps {
    DWORD ranges[4] = {0, 0, 0, 0};
};

// Mode-01 PIDs that a scan asks for in the freeze frame, whatever else the car supports.
constexpr DWORD kObdPidMask[4] = {0x77FFFFFC, 0x7FFFFFFF, 0x00003FFE, 0x00000000};

// The 32-bit big-endian number at `offset` of `data`; false when fewer than 4 bytes are there.
bool ReadObdBitmap(const std::vector<BYTE>& data, std::size_t offset, DWORD& bitmap);

// Whether bit `number` (1-32) counts from bit 31 down in `bitmap`.
bool IsObdBitSet(DWORD bitmap, int number);

// A mode-01 PID (1-128) the car supports and the freeze frame shows: set in the car's bitmap
// of its range and in kObdPidMask. False outside 1-128.
bool IsObdFreezeFramePid(const ObdPidBitmaps& car, int pid);

// The trouble codes of a mode 03 or 07 reply: 16-bit codes, first byte low, up to the first
// code 0 or the end; an odd byte at the end is ignored.
std::vector<WORD> ReadObdCodes(const std::vector<BYTE>& data);

// The VIN of a mode 09 PID 02 reply: five records of a sequence number and four characters,
// taken in the order of their sequence numbers, keeping only 0-9, a-z and A-Z. False, with
// `vin` untouched, when the reply holds fewer than 25 bytes.
bool AssembleVin(const std::vector<BYTE>& data, std::string& vin);
