// Little-endian fields of image file headers, read from and written to byte buffers.
#pragma once

#include "image/DibTypes.h"

#include <cstdint>
#include <vector>

inline WORD ReadLe16(const BYTE* bytes) {
    return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

inline DWORD ReadLe32(const BYTE* bytes) {
    return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) |
           (static_cast<DWORD>(bytes[2]) << 16) | (static_cast<DWORD>(bytes[3]) << 24);
}

inline void AppendLe16(std::vector<BYTE>& out, DWORD value) {
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

inline void AppendLe32(std::vector<BYTE>& out, DWORD value) {
    AppendLe16(out, value & 0xFFFF);
    AppendLe16(out, value >> 16);
}
