// TGA decoding and encoding. The run-length reader keeps a packet that crosses the
// end of a row pending for the next row, as the format allows.
#include "image/TgaCodec.h"

#include "image/ByteOrder.h"
#include "image/CodecError.h"
#include "image/DecodeBudget.h"
#include "image/ImageStream.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kHeaderBytes = 18;
constexpr int kMaxMapEntries = 256;
constexpr int kNoPendingPacket = 255;
constexpr BYTE kRightToLeft = 0x10;
constexpr BYTE kTopFirst = 0x20;
// A run packet of one byte and one pixel gives 128 pixels.
constexpr std::uint64_t kRleLargestExpansion = 128;

bool IsColourMapped(int type) {
    return type == 1 || type == 9;
}

bool IsGrey(int type) {
    return type == 3 || type == 11;
}

}  // namespace

struct TgaCodec::RowState {
    int pending = kNoPendingPacket;
};

bool TgaCodec::Decode(ImageStream* stream) {
    try {
        BYTE header[kHeaderBytes];
        if (stream == nullptr || stream->Read(header, 1, kHeaderBytes) != kHeaderBytes) {
            throw CodecError{"Not a TGA"};
        }
        const int type = header[2];
        if (!((type >= 1 && type <= 3) || (type >= 9 && type <= 11))) {
            throw CodecError{"Unknown TGA image type"};
        }
        const int depth = header[16];
        const DWORD width = ReadLe16(header + 12);
        const DWORD height = ReadLe16(header + 14);
        m_firstEntry = ReadLe16(header + 3);
        m_mapLength = ReadLe16(header + 5);
        if (width == 0 || height == 0 || depth == 0 || m_mapLength > kMaxMapEntries ||
            (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32)) {
            throw CodecError{"bad TGA header"};
        }
        stream->Seek(header[0], 1);
        const bool compressed = type >= 9;
        const std::uint64_t dataBytes = std::uint64_t{width} * height * ((depth + 7) / 8);
        if (!StreamCanFill(stream, dataBytes, compressed ? kRleLargestExpansion : 1)) {
            throw CodecError{"corrupted TGA"};
        }
        if (Create(width, height, depth, kImageFormatTga) == nullptr || (depth == 32 && !AlphaCreate())) {
            throw CodecError{"TGA Create failed"};
        }
        if (GetEscape() != 0) {
            throw CodecError{"Cancelled"};
        }
        ReadColourMap(stream, header);
        // 8-bit true-colour files are grey levels too; without a ramp they would be black.
        if (IsGrey(type) || (depth == 8 && !IsColourMapped(type))) {
            SetGrayPalette();
        }
        const bool topFirst = (header[17] & kTopFirst) != 0;
        RowState state;
        for (long fileRow = 0; fileRow < static_cast<long>(height); fileRow++) {
            if (GetEscape() != 0) {
                throw CodecError{"Cancelled"};
            }
            if (stream->Eof()) {
                throw CodecError{"corrupted TGA"};
            }
            const long imageRow = topFirst ? static_cast<long>(height) - 1 - fileRow : fileRow;
            if (compressed) {
                ReadRleRow(stream, imageRow, fileRow, depth, state);
            } else {
                ReadRawRow(stream, imageRow, fileRow, depth);
            }
        }
        if ((header[17] & kRightToLeft) != 0) {
            Mirror();
        }
        if (topFirst && depth == 32) {
            AlphaFlip();
        }
        return true;
    } catch (const CodecError& error) {
        SetLastError(error.text);
        return false;
    }
}

// Map entries of 15, 16 or 32 bits are read at their own size, so that the pixel data
// after the map stays in step; the map's first entry number offsets the indices.
void TgaCodec::ReadColourMap(ImageStream* stream, const BYTE* header) {
    if (header[1] == 0) {
        return;
    }
    const int entryBytes = (header[7] + 7) / 8;
    std::vector<BYTE> map(static_cast<std::size_t>(m_mapLength) * entryBytes);
    const std::size_t got = map.empty() ? 0 : stream->Read(map.data(), 1, map.size());
    for (int i = 0; i < m_mapLength && static_cast<std::size_t>((i + 1) * entryBytes) <= got; i++) {
        const BYTE* entry = map.data() + static_cast<std::size_t>(i) * entryBytes;
        RgbQuad colour = {};
        if (entryBytes == 2) {
            const WORD v = ReadLe16(entry);
            colour = RgbQuad{static_cast<BYTE>((v * 8) & 0xF8), static_cast<BYTE>((v / 4) & 0xF8),
                             static_cast<BYTE>((v / 128) & 0xF8), 0};
        } else if (entryBytes >= 3) {
            colour = RgbQuad{entry[0], entry[1], entry[2], 0};
        }
        SetPaletteEntry(static_cast<BYTE>(i), colour);
    }
}

bool TgaCodec::ReadPixel(ImageStream* stream, int depth, BYTE* pixel) {
    const std::size_t bytes = static_cast<std::size_t>((depth + 7) / 8);
    return stream->Read(pixel, 1, bytes) == bytes;
}

void TgaCodec::StorePixel(long x, long imageRow, long fileRow, int depth, const BYTE* pixel) {
    BYTE* row = RowPointer(imageRow);
    switch (depth) {
    case 8: {
        int index = pixel[0];
        if (IsIndexed() && m_mapLength > 0) {
            index = std::max(0, index - m_firstEntry);
        }
        row[x] = static_cast<BYTE>(index);
        break;
    }
    case 15:
    case 16: {
        const WORD v = ReadLe16(pixel);
        row[3 * x] = static_cast<BYTE>((v * 8) & 0xF8);
        row[3 * x + 1] = static_cast<BYTE>((v / 4) & 0xF8);
        row[3 * x + 2] = static_cast<BYTE>((v / 128) & 0xF8);
        break;
    }
    default:
        row[3 * x] = pixel[0];
        row[3 * x + 1] = pixel[1];
        row[3 * x + 2] = pixel[2];
        if (depth == 32) {
            AlphaSet(x, fileRow, pixel[3]);
        }
        break;
    }
}

bool TgaCodec::ReadRawRow(ImageStream* stream, long imageRow, long fileRow, int depth) {
    BYTE pixel[4] = {};
    for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
        if (!ReadPixel(stream, depth, pixel)) {
            return false;
        }
        StorePixel(x, imageRow, fileRow, depth, pixel);
    }
    return true;
}

bool TgaCodec::ReadRleRow(ImageStream* stream, long imageRow, long fileRow, int depth, RowState& state) {
    const long width = static_cast<long>(GetWidth());
    BYTE pixel[4] = {};
    long x = 0;
    while (x < width) {
        int packet = state.pending;
        state.pending = kNoPendingPacket;
        if (packet == kNoPendingPacket) {
            const long read = stream->GetC();
            if (read < 0) {
                return false;
            }
            packet = static_cast<int>(read);
        }
        const bool run = (packet & 0x80) != 0;
        const long count = run ? packet - 127 : packet + 1;
        const long fits = std::min(count, width - x);
        if (run) {
            const std::int64_t valueAt = stream->Tell();
            if (!ReadPixel(stream, depth, pixel)) {
                return false;
            }
            for (long i = 0; i < fits; i++) {
                StorePixel(x + i, imageRow, fileRow, depth, pixel);
            }
            if (fits < count) {
                // The rest of the run opens the next row and reads the same value again.
                stream->Seek(valueAt, 0);
                state.pending = packet - static_cast<int>(fits);
            }
        } else {
            for (long i = 0; i < fits; i++) {
                if (!ReadPixel(stream, depth, pixel)) {
                    return false;
                }
                StorePixel(x + i, imageRow, fileRow, depth, pixel);
            }
            if (fits < count) {
                state.pending = static_cast<int>(count - fits - 1);
            }
        }
        x += fits;
    }
    return true;
}

bool TgaCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    if (GetBpp() < 8) {
        SetLastError("Bit depth must be 8 or 24");
        return false;
    }
    const bool indexed = GetBpp() == 8;
    const bool withAlpha = GetBpp() == 24 && AlphaIsValid();
    std::vector<BYTE> out = {0, static_cast<BYTE>(IsIndexed() ? 1 : 0), static_cast<BYTE>(indexed ? 1 : 2)};
    AppendLe16(out, 0);
    AppendLe16(out, indexed ? 256 : 0);
    out.push_back(indexed ? 24 : 0);
    AppendLe16(out, 0);
    AppendLe16(out, 0);
    AppendLe16(out, GetWidth());
    AppendLe16(out, GetHeight());
    out.push_back(static_cast<BYTE>(withAlpha ? 32 : GetBpp()));
    out.push_back(0);
    if (indexed) {
        for (DWORD i = 0; i < 256; i++) {
            const RgbQuad c = GetPaletteColor(static_cast<BYTE>(i));
            out.insert(out.end(), {c.blue, c.green, c.red});
        }
    }
    const std::size_t rowBytes = static_cast<std::size_t>(GetWidth()) * GetBpp() / 8;
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        const BYTE* row = RowPointer(y);
        if (!withAlpha) {
            out.insert(out.end(), row, row + rowBytes);
            continue;
        }
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            out.insert(out.end(), row + 3 * x, row + 3 * x + 3);
            out.push_back(static_cast<BYTE>(AlphaGet(x, y) * AlphaGetMax() / 255));
        }
    }
    if (stream->Write(out.data(), 1, out.size()) != out.size()) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}
