// Helpers that build and damage whole files in tests.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CalcCrc32.h"

#include <cstddef>
#include <iterator>
#include <vector>

template <std::size_t N>
std::vector<BYTE> Bytes(const BYTE (&data)[N]) {
    return std::vector<BYTE>(std::begin(data), std::end(data));
}

inline void StoreDwordAt(std::vector<BYTE>& file, std::size_t offset, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        file[offset + i] = static_cast<BYTE>(value >> (8 * i));
    }
}

// Recomputes the closing CRC-32 after a test changed the file.
inline void FixCrc(std::vector<BYTE>& file) {
    const std::size_t covered = file.size() - 4;
    StoreDwordAt(file, covered, CalcCrc32(file.data(), static_cast<int>(covered), nullptr));
}
