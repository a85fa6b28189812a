// zlib packing of the payload of zipped update and patch files (one-shot, level 9).
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <vector>

class CPackedPayload {
public:
    // Largest unpacked payload accepted, whatever a file states: far above any firmware image
    // with its descriptions, far below what would strain memory.
    static constexpr std::size_t kMaxUnpackedBytes = 16 * 1024 * 1024;

    // Packs `payload` with compress2 at level 9; false when zlib fails.
    static bool Pack(const std::vector<BYTE>& payload, std::vector<BYTE>& packed);

    // Unpacks into a buffer of the stated size; `payload` then holds the bytes actually
    // unpacked. A stated size that the packed bytes cannot yield (deflate expands at most
    // about 1032 to 1) or above the limit is refused before anything is allocated.
    static bool Unpack(const BYTE* packed,
                       std::size_t packedBytes,
                       DWORD statedBytes,
                       std::vector<BYTE>& payload);
};
