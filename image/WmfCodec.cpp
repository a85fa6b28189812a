// The portable half of the metafile codec: the placeable header and the size rules.
#include "image/WmfCodec.h"

#include "image/ByteOrder.h"
#include "image/ImageStream.h"

namespace {

constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kMetaHeaderBytes = 18;
constexpr long kMaxSide = 4000;

}  // namespace

bool WmfCodec::ReadPlaceable(ImageStream* stream,
                             PlaceableMetafileHeader& header,
                             std::vector<BYTE>& metafile) {
    BYTE raw[kPlaceableBytes];
    if (stream == nullptr || stream->Read(raw, 1, kPlaceableBytes) != kPlaceableBytes) {
        return false;
    }
    if (ReadLe32(raw) != kPlaceableKey) {
        return false;
    }
    WORD checksum = 0;
    for (std::size_t i = 0; i < 10; i++) {
        checksum ^= ReadLe16(raw + 2 * i);
    }
    header.left = static_cast<std::int16_t>(ReadLe16(raw + 6));
    header.top = static_cast<std::int16_t>(ReadLe16(raw + 8));
    header.right = static_cast<std::int16_t>(ReadLe16(raw + 10));
    header.bottom = static_cast<std::int16_t>(ReadLe16(raw + 12));
    header.unitsPerInch = ReadLe16(raw + 14);
    if (checksum != ReadLe16(raw + 20) || header.unitsPerInch < 1 || header.unitsPerInch > 2540) {
        return false;
    }
    const std::int64_t start = stream->Tell();
    BYTE meta[kMetaHeaderBytes];
    if (stream->Read(meta, 1, kMetaHeaderBytes) != kMetaHeaderBytes) {
        return false;
    }
    const WORD type = ReadLe16(meta);
    if (type != 1 && type != 2) {
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(ReadLe32(meta + 6)) * 2;
    if (bytes < kMetaHeaderBytes || stream->Size() - start < static_cast<std::int64_t>(bytes)) {
        return false;
    }
    metafile.assign(bytes, 0);
    stream->Seek(start, 0);
    return stream->Read(metafile.data(), 1, bytes) == bytes;
}

void WmfCodec::LimitSize(long& width, long& height) {
    if (width > kMaxSide) {
        height = static_cast<long>(static_cast<double>(height) * kMaxSide / width);
        width = kMaxSide;
    }
    if (height > kMaxSide) {
        width = static_cast<long>(static_cast<double>(width) * kMaxSide / height);
        height = kMaxSide;
    }
}

bool WmfCodec::Encode(ImageStream*) {
    SetLastError("Save WMF not supported");
    return false;
}
