// BMP decoding and encoding. Every length the file states is checked against the
// image's own pixel block: run-length data that points outside it is clipped or ends
// the decode, and a short read leaves the remaining rows as Create left them (zero).
#include "image/BmpCodec.h"

#include "image/ByteOrder.h"
#include "image/CodecError.h"
#include "image/DecodeBudget.h"
#include "image/ImageStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr WORD kBmpSignature = 0x4D42;  // "BM"
constexpr std::size_t kFileHeaderBytes = 14;
constexpr DWORD kCoreHeaderBytes = 12;
constexpr DWORD kOs2HeaderBytes = 64;
constexpr DWORD kRgb = 0;
constexpr DWORD kRle8 = 1;
constexpr DWORD kRle4 = 2;
constexpr DWORD kBitfields = 3;

// A run of 255 pixels takes 2 bytes: 255 bytes at 8 bits, 128 at 4 bits.
constexpr std::uint64_t kRle8LargestExpansion = 128;
constexpr std::uint64_t kRle4LargestExpansion = 64;

std::uint64_t RowBytes(std::int64_t width, DWORD bitCount) {
    return static_cast<std::uint64_t>((bitCount * width + 31) / 32) * 4;
}

// The bytes the pixel data of a whole file would expand to; bit counts without pixel
// data count the largest rows the image could have.
std::uint64_t DataBytes(const DibHeader& header) {
    const DWORD bits = header.biBitCount;
    const bool read = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return RowBytes(header.biWidth, read ? bits : 24) * static_cast<std::uint64_t>(header.biHeight);
}

std::uint64_t LargestExpansion(DWORD compression) {
    if (compression == kRle8) {
        return kRle8LargestExpansion;
    }
    return compression == kRle4 ? kRle4LargestExpansion : 1;
}

}  // namespace

bool BmpCodec::ReadInfoHeader(ImageStream* stream, DibHeader& header, bool& oldStyle) {
    BYTE raw[sizeof(DibHeader)];
    oldStyle = false;
    if (stream == nullptr || stream->Read(raw, 1, sizeof(raw)) != sizeof(raw)) {
        return false;
    }
    header.biSize = ReadLe32(raw);
    if (header.biSize == kCoreHeaderBytes) {
        header = DibHeader{};
        header.biSize = kCoreHeaderBytes;
        header.biWidth = ReadLe16(raw + 4);
        header.biHeight = ReadLe16(raw + 6);
        header.biPlanes = ReadLe16(raw + 8);
        header.biBitCount = ReadLe16(raw + 10);
        oldStyle = true;
        if (!stream->Seek(-static_cast<std::int64_t>(sizeof(DibHeader) - kCoreHeaderBytes), 1)) {
            return false;
        }
    } else {
        header.biWidth = static_cast<std::int32_t>(ReadLe32(raw + 4));
        header.biHeight = static_cast<std::int32_t>(ReadLe32(raw + 8));
        header.biPlanes = ReadLe16(raw + 12);
        header.biBitCount = ReadLe16(raw + 14);
        header.biCompression = ReadLe32(raw + 16);
        header.biSizeImage = ReadLe32(raw + 20);
        header.biXPelsPerMeter = static_cast<std::int32_t>(ReadLe32(raw + 24));
        header.biYPelsPerMeter = static_cast<std::int32_t>(ReadLe32(raw + 28));
        header.biClrUsed = ReadLe32(raw + 32);
        header.biClrImportant = ReadLe32(raw + 36);
    }
    // A negative width has no meaning in any bitmap variant; only the height may be,
    // and only as far as it can be made positive.
    if (header.biWidth < 0 || header.biHeight == std::numeric_limits<std::int32_t>::min()) {
        return false;
    }
    const std::int64_t height = std::abs(static_cast<std::int64_t>(header.biHeight));
    const std::uint64_t computedSize = RowBytes(header.biWidth, header.biBitCount) * height;
    if (header.biSize == kOs2HeaderBytes) {
        if (!stream->Seek(kOs2HeaderBytes - sizeof(DibHeader), 1)) {
            return false;
        }
    } else if (header.biSize != sizeof(DibHeader) && !oldStyle) {
        if (header.biSize < sizeof(DibHeader) + 1 || header.biSizeImage != computedSize ||
            header.biPlanes != 1 || header.biCompression != kRgb || header.biClrUsed != 0) {
            return false;
        }
        if (!stream->Seek(static_cast<std::int64_t>(header.biSize) - sizeof(DibHeader), 1)) {
            return false;
        }
    }
    if (header.biSizeImage == 0) {
        header.biSizeImage = static_cast<DWORD>(std::min<std::uint64_t>(computedSize, 0xFFFFFFFFu));
    }
    if (header.biClrUsed == 0 && header.biBitCount <= 8) {
        header.biClrUsed = 1u << header.biBitCount;
    }
    return true;
}

bool BmpCodec::Decode(ImageStream* stream) {
    try {
        if (stream == nullptr) {
            throw CodecError{"Not a BMP"};
        }
        const std::int64_t base = stream->Tell();
        BYTE fileHeader[kFileHeaderBytes];
        if (stream->Read(fileHeader, 1, kFileHeaderBytes) != kFileHeaderBytes) {
            throw CodecError{"Not a BMP"};
        }
        DWORD pixelOffset = ReadLe32(fileHeader + 10);
        if (ReadLe16(fileHeader) != kBmpSignature) {
            pixelOffset = 0;
            stream->Seek(base, 0);
        }
        DibHeader header = {};
        bool oldStyle = false;
        if (!ReadInfoHeader(stream, header, oldStyle)) {
            throw CodecError{"Error reading BMP info"};
        }
        const bool topDown = header.biHeight < 0;
        if (topDown) {
            header.biHeight = -header.biHeight;
        }
        if (GetEscape() == -1) {
            m_header.biWidth = header.biWidth;
            m_header.biHeight = header.biHeight;
            SetLastError("output dimensions returned");
            return true;
        }
        if (!StreamCanFill(stream, DataBytes(header), LargestExpansion(header.biCompression)) ||
            Create(header.biWidth, header.biHeight, header.biBitCount, kImageFormatBmp) == nullptr) {
            throw CodecError{"Can't allocate memory"};
        }
        SetXDPI(DpiFromPelsPerMetre(header.biXPelsPerMeter));
        SetYDPI(DpiFromPelsPerMetre(header.biYPelsPerMeter));
        m_header.biXPelsPerMeter = header.biXPelsPerMeter;
        m_header.biYPelsPerMeter = header.biYPelsPerMeter;
        if (GetEscape() != 0) {
            throw CodecError{"Cancelled"};
        }
        ReadPalette(stream, header, oldStyle);
        if (GetEscape() != 0) {
            throw CodecError{"Cancelled"};
        }
        // The masks of a 40-byte bit-field header follow the header, before the pixel offset.
        DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
        const bool hasMasks =
            header.biCompression == kBitfields && (header.biBitCount == 16 || header.biBitCount == 32);
        if (hasMasks) {
            BYTE raw[12];
            if (stream->Read(raw, 1, sizeof(raw)) == sizeof(raw)) {
                masks[0] = ReadLe32(raw);
                masks[1] = ReadLe32(raw + 4);
                masks[2] = ReadLe32(raw + 8);
            }
        }
        if (pixelOffset != 0) {
            stream->Seek(base + pixelOffset, 0);
        }
        ReadPixels(stream, header, masks);
        if (topDown) {
            Flip();
        }
        return true;
    } catch (const CodecError& error) {
        SetLastError(error.text);
        return false;
    }
}

// Entries beyond what the depth can index are skipped, not stored, so that a bare
// DIB's pixels still start right after its colour table.
void BmpCodec::ReadPalette(ImageStream* stream, const DibHeader& header, bool oldStyle) {
    if (header.biBitCount > 8) {
        return;
    }
    const DWORD entryBytes = oldStyle ? 3 : 4;
    const DWORD stored = std::min<DWORD>(header.biClrUsed, GetNumColors());
    std::vector<BYTE> raw(static_cast<std::size_t>(stored) * entryBytes);
    const std::size_t got = raw.empty() ? 0 : stream->Read(raw.data(), 1, raw.size());
    RgbQuad* palette = GetPalette();
    for (DWORD i = 0; i < stored && (i + 1) * entryBytes <= got; i++) {
        palette[i] = RgbQuad{raw[i * entryBytes], raw[i * entryBytes + 1], raw[i * entryBytes + 2], 0};
    }
    ClearNearestCache();
    if (header.biClrUsed > stored) {
        stream->Seek(static_cast<std::int64_t>(header.biClrUsed - stored) * entryBytes, 1);
    }
}

void BmpCodec::ReadPixels(ImageStream* stream, const DibHeader& header, const DWORD* masks) {
    const std::size_t blockBytes = m_header.biSizeImage;
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8:
        if (header.biCompression == kRgb) {
            stream->Read(m_info.pixels, 1, std::min<std::size_t>(header.biSizeImage, blockBytes));
        } else if (header.biCompression == kRle8) {
            DecodeRle8(stream);
        } else if (header.biCompression == kRle4) {
            DecodeRle4(stream);
        } else {
            throw CodecError{"compression type not supported"};
        }
        break;
    case 16: {
        const std::size_t sourceBytes = (static_cast<std::size_t>(GetWidth()) + 1) / 2 * GetHeight() * 4;
        stream->Read(m_info.pixels, 1, std::min(sourceBytes, blockBytes));
        UnpackBitfields(m_info.pixels, masks[0], masks[1], masks[2], 16);
        break;
    }
    case 24:
        if (header.biCompression != kRgb) {
            throw CodecError{"unknown compression"};
        }
        stream->Read(m_info.pixels, 1, std::min<std::size_t>(header.biSizeImage, blockBytes));
        break;
    case 32: {
        if (header.biCompression != kRgb && header.biCompression != kBitfields) {
            throw CodecError{"unknown compression"};
        }
        std::vector<BYTE> source;
        try {
            source.assign(static_cast<std::size_t>(GetWidth()) * GetHeight() * 4, 0);
        } catch (const std::bad_alloc&) {
            throw CodecError{"can't allocate memory"};
        }
        stream->Read(source.data(), 1, source.size());
        UnpackBitfields(source.data(), 0, 0, 0, 32);
        break;
    }
    default:
        break;
    }
}

// Runs that would pass the end of a row end the decode; literal bytes beyond it are
// read and dropped; rows outside the image receive nothing.
void BmpCodec::DecodeRle8(ImageStream* stream) {
    const long stride = static_cast<long>(GetEffWidth());
    const long height = static_cast<long>(GetHeight());
    long x = 0;
    long row = 0;
    for (;;) {
        const long count = stream->GetC();
        const long code = stream->GetC();
        if (count < 0 || code < 0) {
            return;
        }
        BYTE* target = RowPointer(row);
        if (count > 0) {
            for (long i = 0; i < count; i++, x++) {
                if (x >= stride) {
                    return;
                }
                if (target != nullptr) {
                    target[x] = static_cast<BYTE>(code);
                }
            }
            continue;
        }
        switch (code) {
        case 0:
            x = 0;
            row++;
            break;
        case 1:
            return;
        case 2: {
            const long dx = stream->GetC();
            const long dy = stream->GetC();
            if (dx < 0 || dy < 0) {
                return;
            }
            x += dx;
            row += dy;
            break;
        }
        default:
            for (long i = 0; i < code; i++, x++) {
                const long value = stream->GetC();
                if (value < 0) {
                    return;
                }
                if (target != nullptr && x < stride) {
                    target[x] = static_cast<BYTE>(value);
                }
            }
            if ((code & 1) != 0 && stream->GetC() < 0) {
                return;
            }
            break;
        }
        if (row >= height) {
            return;
        }
    }
}

void BmpCodec::DecodeRle4(ImageStream* stream) {
    const long stride = static_cast<long>(GetEffWidth());
    const long height = static_cast<long>(GetHeight());
    long x = 0;
    long row = 0;
    bool high = true;
    auto put = [&](BYTE* target, BYTE nibble) {
        if (target != nullptr && x < stride) {
            target[x] = high ? static_cast<BYTE>(nibble << 4) : static_cast<BYTE>(target[x] | nibble);
        }
        if (!high) {
            x++;
        }
        high = !high;
    };
    for (;;) {
        const long count = stream->GetC();
        const long code = stream->GetC();
        if (count < 0 || code < 0) {
            return;
        }
        BYTE* target = RowPointer(row);
        if (count > 0) {
            for (long i = 0; i < count && x < stride; i++) {
                put(target, static_cast<BYTE>((i & 1) == 0 ? (code >> 4) : (code & 0x0F)));
            }
            continue;
        }
        if (code == 0) {
            x = 0;
            high = true;
            row++;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            const long dx = stream->GetC();
            const long dy = stream->GetC();
            if (dx < 0 || dy < 0) {
                return;
            }
            x += dx / 2;
            row += dy;
        } else {
            long value = 0;
            for (long i = 0; i < code; i++) {
                if ((i & 1) == 0) {
                    value = stream->GetC();
                    if (value < 0) {
                        return;
                    }
                }
                put(target, static_cast<BYTE>((i & 1) == 0 ? (value >> 4) : (value & 0x0F)));
            }
            if (((code - 1) & 2) == 0 && stream->GetC() < 0) {
                return;
            }
        }
        if (row >= height) {
            return;
        }
    }
}

// The header is written from the image's header copy rather than patched into the
// block: the codec encodes through a view and must not touch the caller's memory.
bool BmpCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    std::vector<BYTE> head;
    AppendLe16(head, kBmpSignature);
    AppendLe32(head, static_cast<DWORD>(DibSize() + kFileHeaderBytes));
    AppendLe32(head, 0);
    AppendLe32(head, GetPaletteSize() + sizeof(DibHeader) + kFileHeaderBytes);
    DibHeader header = m_header;
    const BYTE* headerBytes = reinterpret_cast<const BYTE*>(&header);
    head.insert(head.end(), headerBytes, headerBytes + sizeof(DibHeader));
    const std::size_t rest = DibSize() - sizeof(DibHeader);
    if (stream->Write(head.data(), 1, head.size()) != head.size() ||
        stream->Write(m_dib + sizeof(DibHeader), 1, rest) != rest) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}
