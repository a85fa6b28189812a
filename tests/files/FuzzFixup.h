// Makes fuzzer input pass the frame checks (length field and CRC-32), so that mutations reach
// the payload and records instead of stopping at the checksum.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CalcCrc32.h"

#include <cstddef>
#include <vector>

inline std::vector<BYTE> WithFixedFrame(const BYTE* data, std::size_t size, std::size_t lengthOffset) {
    std::vector<BYTE> file(data, data + size);
    if (file.size() < lengthOffset + 8) {
        return file;
    }
    const DWORD total = static_cast<DWORD>(file.size());
    for (int i = 0; i < 4; ++i) {
        file[lengthOffset + i] = static_cast<BYTE>(total >> (8 * i));
    }
    const std::size_t covered = file.size() - 4;
    const DWORD crc = CalcCrc32(file.data(), static_cast<int>(covered), nullptr);
    for (int i = 0; i < 4; ++i) {
        file[covered + i] = static_cast<BYTE>(crc >> (8 * i));
    }
    return file;
}
