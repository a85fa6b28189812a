// PCX decoding and encoding. The whole run-length stream is unpacked into one buffer
// first; each plane line must fit the bytes per line the header declares, and the
// header's sizes are checked against what the rest of the file can fill before anything
// is allocated.
#include "image/PcxCodec.h"

#include "image/ByteOrder.h"
#include "image/CodecError.h"
#include "image/DecodeBudget.h"
#include "image/MemoryImageStream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr BYTE kManufacturer = 10;
constexpr BYTE kVersion = 5;
constexpr BYTE kRunLength = 1;
constexpr BYTE kPaletteSignature = 12;
constexpr BYTE kRunFlag = 0xC0;
constexpr int kMaxRun = 63;
constexpr std::size_t kHeaderPaletteOffset = 16;

// Writes runs of one byte at a time into a memory stream; a line ends with flush.
class RunWriter {
public:
    explicit RunWriter(MemoryImageStream& out) : m_out(out) {}

    void Put(BYTE value) {
        if (m_count > 0 && (value != m_last || m_count == kMaxRun)) {
            WriteRun();
        }
        m_last = value;
        m_count++;
    }

    void EndLine(bool pad) {
        if (m_count > 0) {
            WriteRun();
        }
        if (pad) {
            m_out.PutC(0);
        }
    }

private:
    void WriteRun() {
        if (m_count == 1 && m_last < kRunFlag) {
            m_out.PutC(m_last);
        } else {
            m_out.PutC(static_cast<BYTE>(kRunFlag + m_count));
            m_out.PutC(m_last);
        }
        m_count = 0;
    }

    MemoryImageStream& m_out;
    BYTE m_last = 0;
    int m_count = 0;
};

void EncodeBlock(MemoryImageStream& out, const BYTE* bytes, long length) {
    long i = 0;
    while (i < length) {
        long run = 1;
        while (i + run < length && run < kMaxRun && bytes[i + run] == bytes[i]) {
            run++;
        }
        if (run > 1 || bytes[i] >= kRunFlag) {
            out.PutC(static_cast<BYTE>(kRunFlag + run));
        }
        out.PutC(bytes[i]);
        i += run;
    }
}

}  // namespace

struct PcxCodec::Layout {
    int bitsPerPixel;
    int planes;
    long bytesPerLine;
    long width;
};

bool PcxCodec::Decode(ImageStream* stream) {
    try {
        BYTE header[kHeaderBytes];
        if (stream == nullptr || stream->Read(header, 1, kHeaderBytes) != kHeaderBytes) {
            throw CodecError{"Can't read PCX image"};
        }
        if (header[0] != kManufacturer) {
            throw CodecError{"Error: Not a PCX file"};
        }
        if (header[2] != kRunLength) {
            throw CodecError{"PCX file has unknown encoding scheme"};
        }
        SetXDPI(ReadLe16(header + 12));
        SetYDPI(ReadLe16(header + 14));
        const Layout layout = {header[3], header[65], ReadLe16(header + 66),
                               static_cast<long>(ReadLe16(header + 8)) - ReadLe16(header + 4) + 1};
        const long height = static_cast<long>(ReadLe16(header + 10)) - ReadLe16(header + 6) + 1;
        if (layout.planes > 4) {
            throw CodecError{"Can't handle image with more than 4 planes"};
        }
        // Without bits per pixel a line holds nothing, however large the header says the
        // picture is.
        if (layout.width <= 0 || height <= 0 || layout.planes == 0 || layout.bitsPerPixel == 0 ||
            layout.bytesPerLine * 8 < static_cast<long>(layout.width) * layout.bitsPerPixel) {
            throw CodecError{"corrupted PCX"};
        }
        const std::size_t lineBytes = static_cast<std::size_t>(layout.planes) * layout.bytesPerLine;
        // Two stored bytes unpack to at most 63, so a header promising more than the rest
        // of the stream can hold is refused before the picture or the buffer is allocated.
        if (!StreamCanFill(stream, std::uint64_t{2} * lineBytes * static_cast<std::uint64_t>(height), kMaxRun)) {
            throw CodecError{"corrupted PCX"};
        }
        const bool colourPlanes = layout.planes > 2 && layout.bitsPerPixel == 8;
        // Two or three 1-bit planes index up to 8 colours: they need a 4-bit image.
        const int depth = colourPlanes ? 24 : (layout.planes > 1 ? 4 : layout.bitsPerPixel);
        if (Create(layout.width, height, depth, kImageFormatPcx) == nullptr ||
            (colourPlanes && layout.planes == 4 && !AlphaCreate())) {
            throw CodecError{"corrupted PCX"};
        }
        if (GetEscape() != 0) {
            throw CodecError{"Cancelled"};
        }
        std::vector<BYTE> data;
        try {
            data.resize(lineBytes * height);
        } catch (const std::bad_alloc&) {
            throw CodecError{"Can't allocate memory"};
        }
        std::size_t filled = 0;
        while (filled < data.size()) {
            const long byte = stream->GetC();
            if (byte < 0) {
                throw CodecError{"corrupted PCX"};
            }
            if (byte < kRunFlag) {
                data[filled++] = static_cast<BYTE>(byte);
                continue;
            }
            const std::size_t count = static_cast<std::size_t>(byte & kMaxRun);
            const long value = stream->GetC();
            if (value < 0) {
                throw CodecError{"corrupted PCX"};
            }
            if (count > data.size() - filled) {
                throw CodecError{"repeat count spans end of image"};
            }
            std::fill_n(data.begin() + static_cast<std::ptrdiff_t>(filled), count, static_cast<BYTE>(value));
            filled += count;
        }
        ReadPalette(stream, header, layout);
        for (long y = 0; y < height; y++) {
            if (GetEscape() != 0) {
                throw CodecError{"Cancelled"};
            }
            StoreLine(data.data() + static_cast<std::size_t>(y) * lineBytes, height - 1 - y, layout);
        }
        return true;
    } catch (const CodecError& error) {
        SetLastError(error.text);
        return false;
    }
}

void PcxCodec::ReadPalette(ImageStream* stream, const BYTE* header, const Layout& layout) {
    if (!IsIndexed()) {
        return;
    }
    SetPaletteFromTriples(header + kHeaderPaletteOffset, 16);
    if (layout.bitsPerPixel == 8 && layout.planes == 1) {
        BYTE trailer[1 + 768];
        if (stream->Read(trailer, 1, sizeof(trailer)) != sizeof(trailer) || trailer[0] != kPaletteSignature) {
            throw CodecError{"bad color map signature"};
        }
        SetPaletteFromTriples(trailer + 1, 256);
    } else if (layout.bitsPerPixel == 1 && layout.planes == 1) {
        SetPaletteColor(0, 0, 0, 0);
        SetPaletteColor(1, 255, 255, 255);
    }
}

void PcxCodec::StoreLine(const BYTE* line, long imageRow, const Layout& layout) {
    const long bpl = layout.bytesPerLine;
    if (layout.planes > 2 && layout.bitsPerPixel == 8) {
        for (long x = 0; x < layout.width; x++) {
            SetPixelColor(x, imageRow, RgbQuad{line[2 * bpl + x], line[bpl + x], line[x], 0});
            if (layout.planes == 4) {
                AlphaSet(x, imageRow, line[3 * bpl + x]);
            }
        }
        return;
    }
    if (layout.planes == 1) {
        const int bits = layout.bitsPerPixel;
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8) {
            throw CodecError{"Can't handle more than 1 bit per pixel"};
        }
        for (long x = 0; x < layout.width; x++) {
            const long bit = x * bits;
            const int shift = 8 - bits - static_cast<int>(bit & 7);
            SetPixelIndex(x, imageRow, static_cast<BYTE>((line[bit / 8] >> shift) & ((1 << bits) - 1)));
        }
        return;
    }
    if (layout.bitsPerPixel != 1) {
        throw CodecError{"Can't handle more than 1 bit per pixel"};
    }
    for (long x = 0; x < layout.width; x++) {
        BYTE index = 0;
        for (int plane = 0; plane < layout.planes; plane++) {
            if ((line[plane * bpl + x / 8] & (0x80 >> (x & 7))) != 0) {
                index |= static_cast<BYTE>(1 << plane);
            }
        }
        SetPixelIndex(x, imageRow, index);
    }
}

bool PcxCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    const bool planar = GetBpp() < 8;
    const int planes = planar ? (GetNumColors() == 16 ? 4 : 1) : (IsIndexed() ? 1 : (AlphaIsValid() ? 4 : 3));
    long bytesPerLine = planar ? static_cast<long>((GetWidth() + 7) / 8) : static_cast<long>(GetWidth());
    bytesPerLine += bytesPerLine & 1;
    BYTE header[kHeaderBytes] = {kManufacturer, kVersion, kRunLength, static_cast<BYTE>(planar ? 1 : 8)};
    header[8] = static_cast<BYTE>((GetWidth() - 1) & 0xFF);
    header[9] = static_cast<BYTE>((GetWidth() - 1) >> 8);
    header[10] = static_cast<BYTE>((GetHeight() - 1) & 0xFF);
    header[11] = static_cast<BYTE>((GetHeight() - 1) >> 8);
    header[12] = static_cast<BYTE>(GetXDPI() & 0xFF);
    header[13] = static_cast<BYTE>((GetXDPI() >> 8) & 0xFF);
    header[14] = static_cast<BYTE>(GetYDPI() & 0xFF);
    header[15] = static_cast<BYTE>((GetYDPI() >> 8) & 0xFF);
    header[65] = static_cast<BYTE>(planes);
    header[66] = static_cast<BYTE>(bytesPerLine & 0xFF);
    header[67] = static_cast<BYTE>(bytesPerLine >> 8);
    header[68] = IsIndexed() ? 0 : 1;
    if (planar) {
        for (int i = 0; i < (planes == 4 ? 16 : 2); i++) {
            // One plane is always written darker colour first, as black and white.
            const BYTE level = static_cast<BYTE>(i == 0 ? 0 : 255);
            const RgbQuad c =
                planes == 4 ? GetPaletteColor(static_cast<BYTE>(i)) : RgbQuad{level, level, level, 0};
            BYTE* entry = header + kHeaderPaletteOffset + 3 * i;
            entry[0] = c.red;
            entry[1] = c.green;
            entry[2] = c.blue;
        }
    }
    if (stream->Write(header, 1, kHeaderBytes) != kHeaderBytes) {
        SetLastError("cannot write PCX header");
        return false;
    }
    MemoryImageStream data;
    data.Open();
    const bool padded = (GetWidth() & 1) != 0;
    if (planar) {
        EncodePlanar(data, bytesPerLine);
    } else {
        RunWriter writer(data);
        for (long y = static_cast<long>(GetHeight()) - 1; y >= 0; y--) {
            for (int plane = 0; plane < planes; plane++) {
                for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
                    if (planes == 1) {
                        writer.Put(GetPixelIndex(x, y));
                        continue;
                    }
                    const RgbQuad c = GetPixelColor(x, y, false);
                    const BYTE channel[] = {c.red, c.green, c.blue, AlphaGet(x, y)};
                    writer.Put(channel[plane]);
                }
                writer.EndLine(padded);
            }
        }
    }
    if (planes == 1 && GetBpp() == 8) {
        data.PutC(kPaletteSignature);
        for (DWORD i = 0; i < 256; i++) {
            const RgbQuad c = GetPaletteColor(static_cast<BYTE>(i));
            data.PutC(c.red);
            data.PutC(c.green);
            data.PutC(c.blue);
        }
    }
    const std::size_t size = static_cast<std::size_t>(data.Size());
    if (stream->Write(data.GetBuffer(false), 1, size) != size) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}

void PcxCodec::EncodePlanar(MemoryImageStream& data, long bytesPerLine) {
    const int planes = GetNumColors() == 16 ? 4 : 1;
    const bool invert = GetBpp() == 1 && Luminance(GetPaletteColor(0)) > Luminance(GetPaletteColor(1));
    std::vector<BYTE> line(static_cast<std::size_t>(bytesPerLine));
    for (long y = static_cast<long>(GetHeight()) - 1; y >= 0; y--) {
        for (int plane = 0; plane < planes; plane++) {
            std::fill(line.begin(), line.end(), 0);
            for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
                BYTE index = GetPixelIndex(x, y);
                if (invert) {
                    index = static_cast<BYTE>(1 - index);
                }
                if ((index >> plane) & 1) {
                    line[x / 8] |= static_cast<BYTE>(0x80 >> (x & 7));
                }
            }
            EncodeBlock(data, line.data(), bytesPerLine);
        }
    }
}
