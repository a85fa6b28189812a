// What a decoder may allocate for a file: a few header bytes must not claim
// gigabytes. A picture is accepted when the bytes left in the stream could fill it at
// the compression's largest expansion; pictures up to a small size are accepted
// whatever follows, so that a file cut short still decodes with its missing rows empty.
#pragma once

#include "image/ImageStream.h"

#include <cstdint>

constexpr std::uint64_t kAnyFileMayClaimBytes = std::uint64_t{16} << 20;

// dataBytes: what the picture's data would expand to; largestExpansion: decoded bytes
// per stored byte at most (1 for uncompressed data).
inline bool StreamCanFill(ImageStream* stream, std::uint64_t dataBytes, std::uint64_t largestExpansion) {
    if (dataBytes <= kAnyFileMayClaimBytes) {
        return true;
    }
    const std::int64_t left = stream->Size() - stream->Tell();
    return left > 0 &&
           (dataBytes + largestExpansion - 1) / largestExpansion <= static_cast<std::uint64_t>(left);
}
