// zlib packing and unpacking of file payloads.
#include "link/CPackedPayload.h"

#include <algorithm>

#include <zlib.h>

namespace {

constexpr std::size_t kMaxDeflateRatio = 1032;

}  // namespace

bool CPackedPayload::Pack(const std::vector<BYTE>& payload, std::vector<BYTE>& packed) {
    uLongf packedBytes = compressBound(static_cast<uLong>(payload.size()));
    packed.assign(packedBytes, 0);
    if (compress2(packed.data(), &packedBytes, payload.data(), static_cast<uLong>(payload.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        packed.clear();
        return false;
    }
    packed.resize(packedBytes);
    return true;
}

bool CPackedPayload::Unpack(const BYTE* packed,
                            std::size_t packedBytes,
                            DWORD statedBytes,
                            std::vector<BYTE>& payload) {
    const std::size_t limit = std::min(kMaxUnpackedBytes, packedBytes * kMaxDeflateRatio);
    if (statedBytes > limit) {
        return false;
    }
    std::vector<BYTE> buffer(statedBytes);
    uLongf unpackedBytes = statedBytes;
    // zlib wants a non-null destination even for a stated size of 0.
    BYTE emptyDestination = 0;
    BYTE* destination = buffer.empty() ? &emptyDestination : buffer.data();
    if (uncompress(destination, &unpackedBytes, packed, static_cast<uLong>(packedBytes)) != Z_OK) {
        return false;
    }
    buffer.resize(unpackedBytes);
    payload.swap(buffer);
    return true;
}
