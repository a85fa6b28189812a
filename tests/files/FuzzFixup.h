// Makes fuzzer input pass the frame checks (length field and CRC-32), so that mutations reach
// the payload and records instead of stopping at the checksum.
#pragma once

#include "FileBytes.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <vector>

inline std::vector<BYTE> WithFixedFrame(const BYTE* data, std::size_t size, std::size_t lengthOffset) {
    std::vector<BYTE> file(data, data + size);
    if (file.size() < lengthOffset + 8) {
        return file;
    }
    StoreDwordAt(file, lengthOffset, static_cast<DWORD>(file.size()));
    FixCrc(file);
    return file;
}
