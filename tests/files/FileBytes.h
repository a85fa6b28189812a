// Helpers that build and damage whole files in tests, written apart from the code under test.
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

inline void StoreWordAt(std::vector<BYTE>& file, std::size_t offset, WORD value) {
    file[offset] = static_cast<BYTE>(value);
    file[offset + 1] = static_cast<BYTE>(value >> 8);
}

inline void StoreDwordAt(std::vector<BYTE>& file, std::size_t offset, DWORD value) {
    StoreWordAt(file, offset, static_cast<WORD>(value));
    StoreWordAt(file, offset + 2, static_cast<WORD>(value >> 16));
}

// Recomputes the closing CRC-32 after a test changed the file.
inline void FixCrc(std::vector<BYTE>& file) {
    const std::size_t covered = file.size() - 4;
    StoreDwordAt(file, covered, CalcCrc32(file.data(), static_cast<int>(covered), nullptr));
}

// One byte of a file overwritten; with `fixCrc` the CRC-32 is made to match again, so that
// a later check meets the damage.
struct ByteDamage {
    const char* name;
    std::size_t offset;
    BYTE value;
    bool fixCrc;
};

inline std::vector<BYTE> Damaged(std::vector<BYTE> file, const ByteDamage& damage) {
    file[damage.offset] = damage.value;
    if (damage.fixCrc) {
        FixCrc(file);
    }
    return file;
}
