// Icon decoding and encoding. Directory sizes of 0 stand for 256 pixels; entries
// stored as PNG and depths other than 1, 4, 8, 24 and 32 bits are refused.
#include "image/IcoCodec.h"

#include "image/ByteOrder.h"
#include "image/ImageStream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kDirectoryHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr DWORD kMaxIconSide = 255;
constexpr DWORD kPngSignature = 0x474E5089;  // "\x89PNG" read little-endian

struct IconEntry {
    DWORD width;
    DWORD height;
    DWORD offset;
};

std::size_t MaskStride(DWORD width) {
    return static_cast<std::size_t>((width + 31) / 32) * 4;
}

bool MaskBit(const std::vector<BYTE>& mask, std::size_t stride, long x, long y) {
    return (mask[static_cast<std::size_t>(y) * stride + x / 8] & (0x80 >> (x & 7))) != 0;
}

}  // namespace

bool IcoCodec::Decode(ImageStream* stream) {
    if (stream == nullptr) {
        return false;
    }
    const std::int64_t base = stream->Tell();
    BYTE head[kDirectoryHeaderBytes];
    if (stream->Read(head, 1, sizeof(head)) != sizeof(head)) {
        return false;
    }
    const WORD type = ReadLe16(head + 2);
    if (ReadLe16(head) != 0 || (type != 1 && type != 2)) {
        return false;
    }
    const WORD count = ReadLe16(head + 4);
    m_info.frameCount = count;
    std::vector<BYTE> directory(static_cast<std::size_t>(count) * kEntryBytes);
    if (count == 0 || stream->Read(directory.data(), 1, directory.size()) != directory.size()) {
        return false;
    }
    const long frame = GetFrame();
    if (frame < 0 || frame >= count) {
        return false;
    }
    const BYTE* raw = directory.data() + static_cast<std::size_t>(frame) * kEntryBytes;
    const IconEntry entry = {raw[0] == 0 ? 256u : raw[0], raw[1] == 0 ? 256u : raw[1], ReadLe32(raw + 12)};
    BYTE info[sizeof(DibHeader)];
    if (!stream->Seek(base + entry.offset, 0) || stream->Read(info, 1, sizeof(info)) != sizeof(info) ||
        ReadLe32(info) == kPngSignature) {
        return false;
    }
    const WORD bitCount = ReadLe16(info + 14);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return false;
    }
    if (Create(entry.width, entry.height, bitCount, kImageFormatIco) == nullptr) {
        return false;
    }
    DWORD colorsUsed = ReadLe32(info + 32);
    if (colorsUsed == 0 && bitCount <= 8) {
        colorsUsed = 1u << bitCount;
    }
    const DWORD stored = std::min<DWORD>(colorsUsed, GetNumColors());
    std::vector<RgbQuad> palette(stored);
    if (stored > 0 && stream->Read(palette.data(), sizeof(RgbQuad), stored) != stored) {
        return false;
    }
    SetPalette(palette.data(), stored);
    if (colorsUsed > stored) {
        stream->Seek(static_cast<std::int64_t>(colorsUsed - stored) * sizeof(RgbQuad), 1);
    }
    if (!ReadColours(stream, bitCount)) {
        return true;
    }
    const std::size_t maskStride = MaskStride(GetWidth());
    std::vector<BYTE> mask(maskStride * GetHeight());
    if (stream->Read(mask.data(), 1, mask.size()) != mask.size()) {
        return true;
    }
    ApplyMask(mask, maskStride, bitCount);
    return true;
}

// Returns false when the colour data ended early; what was read stands.
bool IcoCodec::ReadColours(ImageStream* stream, WORD bitCount) {
    if (bitCount <= 24) {
        const std::size_t bytes = m_header.biSizeImage;
        return stream->Read(m_info.pixels, 1, bytes) == bytes;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    std::vector<BYTE> colours(static_cast<std::size_t>(width) * height * 4);
    const std::size_t got = stream->Read(colours.data(), 1, colours.size());
    if (!AlphaIsValid() && !AlphaCreate()) {
        return false;
    }
    for (long y = 0; y < height; y++) {
        for (long x = 0; x < width; x++) {
            const BYTE* pixel = colours.data() + 4 * (static_cast<std::size_t>(y) * width + x);
            SetPixelColor(x, y, RgbQuad{pixel[0], pixel[1], pixel[2], pixel[3]}, true);
        }
    }
    return got == colours.size();
}

void IcoCodec::ApplyMask(const std::vector<BYTE>& mask, std::size_t maskStride, WORD bitCount) {
    if (std::all_of(mask.begin(), mask.end(), [](BYTE b) { return b == 255; })) {
        SetTransIndex(0);
        Negative();
        return;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    const bool hadAlpha = AlphaIsValid();
    if (!hadAlpha && !AlphaCreate()) {
        return;
    }
    bool anyMasked = false;
    bool oneColour = true;
    RgbQuad maskedColour = {};
    std::vector<bool> used(256, false);
    for (long y = 0; y < height; y++) {
        for (long x = 0; x < width; x++) {
            if (bitCount <= 8) {
                used[GetPixelIndexUnchecked(x, y)] = true;
            }
            if (!MaskBit(mask, maskStride, x, y)) {
                continue;
            }
            AlphaSet(x, y, 0);
            const RgbQuad colour = GetPixelColor(x, y, false);
            oneColour = oneColour && (!anyMasked || colour == maskedColour);
            maskedColour = colour;
            anyMasked = true;
        }
    }
    if (!hadAlpha && !anyMasked) {
        AlphaDelete();
        return;
    }
    if (bitCount == 24 && anyMasked && oneColour) {
        SetTransColor(maskedColour);
        SetTransIndex(0);
        AlphaDelete();
        return;
    }
    if (bitCount > 8) {
        return;
    }
    const auto unused = std::find(used.begin(), used.begin() + GetNumColors(), false);
    if (unused == used.begin() + GetNumColors()) {
        return;
    }
    const BYTE free = static_cast<BYTE>(unused - used.begin());
    for (long y = 0; y < height; y++) {
        for (long x = 0; x < width; x++) {
            if (MaskBit(mask, maskStride, x, y)) {
                SetPixelIndex(x, y, free);
            }
        }
    }
    if (anyMasked) {
        SetTransIndex(free);
    }
    AlphaDelete();
}

bool IcoCodec::IsMasked(long x, long y) const {
    if (AlphaIsValid() && AlphaGet(x, y) == 0) {
        return true;
    }
    const RgbQuad colour = GetPixelColor(x, y, false);
    if (IsIndexed() && AlphaPaletteIsEnabled() && GetPaletteColor(GetPixelIndex(x, y)).alpha == 0) {
        return true;
    }
    if (!IsTransparent()) {
        return false;
    }
    const RgbQuad key = GetTransColor();
    return colour.blue == key.blue && colour.green == key.green && colour.red == key.red;
}

bool IcoCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    const DWORD width = GetWidth();
    const DWORD height = GetHeight();
    if (width > kMaxIconSide || height > kMaxIconSide) {
        SetLastError("Can't save this image as icon");
        return false;
    }
    const bool wide = GetBpp() == 24 && AlphaIsValid();
    const WORD bitCount = wide ? 32 : GetBpp();
    const std::size_t maskStride = MaskStride(width);
    const std::size_t maskBytes = maskStride * height;
    const DWORD colourBytes = wide ? width * height * 4 : m_header.biSizeImage;
    std::vector<BYTE> out;
    AppendLe16(out, 0);
    AppendLe16(out, 1);
    AppendLe16(out, 1);
    out.push_back(static_cast<BYTE>(width));
    out.push_back(static_cast<BYTE>(height));
    out.push_back(static_cast<BYTE>(GetNumColors() & 0xFF));
    out.push_back(0);
    AppendLe16(out, 1);
    AppendLe16(out, bitCount);
    AppendLe32(out, static_cast<DWORD>(colourBytes + GetPaletteSize() + maskBytes + sizeof(DibHeader)));
    AppendLe32(out, static_cast<DWORD>(kDirectoryHeaderBytes + kEntryBytes));
    const DWORD headerFields[] = {sizeof(DibHeader), width, height * 2};
    for (DWORD field : headerFields) {
        AppendLe32(out, field);
    }
    AppendLe16(out, 1);
    AppendLe16(out, bitCount);
    AppendLe32(out, 0);
    AppendLe32(out, colourBytes);
    for (int i = 0; i < 4; i++) {
        AppendLe32(out, 0);
    }
    const BYTE* palette = reinterpret_cast<const BYTE*>(GetPalette());
    if (palette != nullptr) {
        out.insert(out.end(), palette, palette + GetPaletteSize());
    }
    if (wide) {
        for (long y = 0; y < static_cast<long>(height); y++) {
            for (long x = 0; x < static_cast<long>(width); x++) {
                const RgbQuad c = GetPixelColor(x, y, true);
                out.insert(out.end(), {c.blue, c.green, c.red, c.alpha});
            }
        }
    } else {
        out.insert(out.end(), m_info.pixels, m_info.pixels + colourBytes);
    }
    std::vector<BYTE> mask(maskBytes, 0);
    for (long y = 0; y < static_cast<long>(height); y++) {
        for (long x = 0; x < static_cast<long>(width); x++) {
            if (IsMasked(x, y)) {
                mask[static_cast<std::size_t>(y) * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x & 7));
            }
        }
    }
    out.insert(out.end(), mask.begin(), mask.end());
    if (stream->Write(out.data(), 1, out.size()) != out.size()) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}
