// The zlib-packed payload of zipped update and patch files (one-shot, level 9). Unpacked, a
// payload is a block (the image, or the patch records) with its 32-bit size in front, then
// the description entries. In the file, the 32-bit unpacked size comes before the packed bytes.
#pragma once

#include "classlib/core/CMap.h"
#include "classlib/core/WinTypes.h"
#include "link/CDescriptionEntries.h"

#include <cstddef>
#include <vector>

class CPackedPayload {
public:
    // Largest unpacked payload accepted, whatever a file states: far above any firmware image
    // with its descriptions, far below what would strain memory.
    static constexpr std::size_t kMaxUnpackedBytes = 16 * 1024 * 1024;
    static constexpr std::size_t kStatedSizeBytes = 4;

    // Packs `payload` with compress2 at level 9; false when zlib fails.
    static bool Pack(const std::vector<BYTE>& payload, std::vector<BYTE>& packed);

    // Unpacks into a buffer of the stated size; `payload` then holds the bytes actually
    // unpacked. A stated size that the packed bytes cannot yield (deflate expands at most
    // about 1032 to 1) or above the limit is refused before anything is allocated.
    static bool Unpack(const BYTE* packed,
                       std::size_t packedBytes,
                       DWORD statedBytes,
                       std::vector<BYTE>& payload);

    // Builds the payload of `block` and `descriptions` (in the map's iteration order) and
    // appends its unpacked size and its packed bytes to `file`; false when packing fails.
    static bool Append(const std::vector<BYTE>& block,
                       const CMapStringToString& descriptions,
                       std::vector<BYTE>& file);

    // Unpacks a payload and splits it into its block and its description entries; false when
    // it does not unpack or when the block or an entry runs past the end.
    static bool Read(const BYTE* packed,
                     std::size_t packedBytes,
                     DWORD statedBytes,
                     std::vector<BYTE>& block,
                     CDescriptionEntries::Entries& entries);
};
