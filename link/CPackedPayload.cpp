// zlib packing and unpacking of file payloads.
#include "link/CPackedPayload.h"

#include "link/CFileFrame.h"

#include <algorithm>

#include <zlib.h>

namespace {

constexpr std::size_t kMaxDeflateRatio = 1032;
constexpr std::size_t kBlockSizeBytes = 4;

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

bool CPackedPayload::Append(const std::vector<BYTE>& block,
                            const CMapStringToString& descriptions,
                            std::vector<BYTE>& file) {
    std::vector<BYTE> payload;
    payload.reserve(kBlockSizeBytes + block.size() + CDescriptionEntries::GetPayloadBytes(descriptions));
    CFileFrame::AppendDword(payload, static_cast<DWORD>(block.size()));
    payload.insert(payload.end(), block.begin(), block.end());
    CDescriptionEntries::Append(descriptions, payload);
    std::vector<BYTE> packed;
    if (!Pack(payload, packed)) {
        return false;
    }
    CFileFrame::AppendDword(file, static_cast<DWORD>(payload.size()));
    file.insert(file.end(), packed.begin(), packed.end());
    return true;
}

bool CPackedPayload::Read(const BYTE* packed,
                          std::size_t packedBytes,
                          DWORD statedBytes,
                          std::vector<BYTE>& block,
                          CDescriptionEntries::Entries& entries) {
    std::vector<BYTE> payload;
    if (!Unpack(packed, packedBytes, statedBytes, payload) || payload.size() < kBlockSizeBytes) {
        return false;
    }
    const std::size_t blockBytes = CFileFrame::ReadDword(payload.data());
    if (blockBytes > payload.size() - kBlockSizeBytes) {
        return false;
    }
    CDescriptionEntries::Entries parsed;
    if (!CDescriptionEntries::Parse(payload, kBlockSizeBytes + blockBytes, parsed)) {
        return false;
    }
    const auto blockBegin = payload.begin() + kBlockSizeBytes;
    block.assign(blockBegin, blockBegin + blockBytes);
    entries.swap(parsed);
    return true;
}
