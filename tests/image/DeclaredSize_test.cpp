// Small files whose headers declare huge pictures: each decoder refuses them, or
// decodes them, within a bounded amount of memory and without an exception; files
// whose data really fills a large picture still decode.
#include "image/ByteOrder.h"
#include "image/CxImage.h"
#include "tests/image/CodecTestSupport.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#endif

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// The process's peak resident size in bytes. Under Wine the system's own count is read,
// which Wine takes from the same place as the native branch does.
std::uint64_t PeakResidentBytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        return 0;
    }
    return counters.PeakWorkingSetSize;
#else
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmHWM:") {
            std::uint64_t kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
#endif
}

std::vector<BYTE> Gif(WORD screenWidth,
                      WORD screenHeight,
                      WORD frameLeft,
                      WORD frameWidth,
                      WORD frameHeight) {
    std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
    AppendLe16(out, screenWidth);
    AppendLe16(out, screenHeight);
    out.insert(out.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255, 0x2C});
    AppendLe16(out, frameLeft);
    AppendLe16(out, 0);
    AppendLe16(out, frameWidth);
    AppendLe16(out, frameHeight);
    // Clear, then the same pixel over and over, then the end code.
    out.insert(out.end(), {0, 2, 5, 0x8C, 0x2D, 0x99, 0x30, 0x01, 0, 0x3B});
    return out;
}

std::vector<BYTE> Bmp(std::int32_t width,
                      std::int32_t height,
                      WORD bits,
                      DWORD compression,
                      std::size_t dataBytes) {
    std::vector<BYTE> out = {'B', 'M'};
    AppendLe32(out, static_cast<DWORD>(54 + dataBytes));
    AppendLe32(out, 0);
    AppendLe32(out, 54);
    const std::vector<BYTE> info = BitmapInfoHeader(width, height, bits, compression, 0, 0);
    out.insert(out.end(), info.begin(), info.end());
    out.resize(out.size() + dataBytes, 0x11);
    return out;
}

std::vector<BYTE> Tga(BYTE type, WORD width, WORD height, BYTE depth, std::size_t dataBytes) {
    std::vector<BYTE> out = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AppendLe16(out, width);
    AppendLe16(out, height);
    out.insert(out.end(), {depth, 0});
    out.resize(out.size() + dataBytes, 0xFF);
    return out;
}

// Four 1-bit planes of 65535 x 65535 pixels, then a few runs.
std::vector<BYTE> Pcx() {
    std::vector<BYTE> out(128, 0);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = 1;
    out[8] = out[9] = out[10] = out[11] = 0xFF;
    out[65] = 4;
    out[66] = 0x00;
    out[67] = 0x20;
    out.resize(out.size() + 54, 0xC1);
    return out;
}

void AppendBe32(std::vector<BYTE>& out, DWORD value) {
    out.insert(out.end(), {static_cast<BYTE>(value >> 24), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 8), static_cast<BYTE>(value)});
}

void AppendPngChunk(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& data) {
    std::vector<BYTE> chunk(type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    AppendBe32(out, static_cast<DWORD>(data.size()));
    out.insert(out.end(), chunk.begin(), chunk.end());
    AppendBe32(out, static_cast<DWORD>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size()))));
}

// A header with a valid CRC, then a kilobyte of deflated zeros and no end.
std::vector<BYTE> Png(DWORD width, DWORD height, BYTE bitDepth, BYTE colourType) {
    std::vector<BYTE> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<BYTE> header;
    AppendBe32(header, width);
    AppendBe32(header, height);
    header.insert(header.end(), {bitDepth, colourType, 0, 0, 0});
    AppendPngChunk(out, "IHDR", header);
    const std::vector<BYTE> zeros(1024, 0);
    std::vector<BYTE> data(compressBound(static_cast<uLong>(zeros.size())));
    uLongf dataBytes = static_cast<uLongf>(data.size());
    compress(data.data(), &dataBytes, zeros.data(), static_cast<uLong>(zeros.size()));
    data.resize(dataBytes);
    AppendPngChunk(out, "IDAT", data);
    return out;
}

}  // namespace

TEST(DeclaredSize, SmallFilesClaimingHugePicturesAreRefusedWithinBoundedMemory) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        DWORD format;
    };

    const Case cases[] = {
        {"gif frame of 65535 x 65535 on a 1 x 1 screen", Gif(1, 1, 0, 65535, 65535), kImageFormatGif},
        {"gif screen and frame of 50000 x 50000", Gif(50000, 50000, 0, 50000, 50000), kImageFormatGif},
        {"32-bit bmp of 37000 x 37000", Bmp(37000, 37000, 32, 0, 16), kImageFormatBmp},
        {"top-down 24-bit bmp of 30000 x 30000", Bmp(30000, -30000, 24, 0, 16), kImageFormatBmp},
        {"run-length bmp of 60000 x 60000", Bmp(60000, 60000, 8, 1, 16), kImageFormatBmp},
        {"bmp of an unread bit count", Bmp(1 << 30, 1 << 20, 2, 0, 16), kImageFormatBmp},
        {"32-bit tga of 44000 x 44000", Tga(2, 44000, 44000, 32, 16), kImageFormatTga},
        {"run-length tga of 40000 x 40000", Tga(10, 40000, 40000, 24, 16), kImageFormatTga},
        {"four-plane pcx of 65535 x 65535", Pcx(), kImageFormatPcx},
        {"rgba png of 36000 x 36000", Png(36000, 36000, 8, 6), kImageFormatPng},
    };
    // A peak that reads as 0 would let every bound below pass without measuring anything.
    ASSERT_GT(PeakResidentBytes(), 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint64_t peakBefore = PeakResidentBytes();
        CxImage image;
        bool decoded = true;
        EXPECT_NO_THROW(decoded =
                            image.DecodeMemory(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), c.format));
        EXPECT_FALSE(decoded);
        EXPECT_LT(PeakResidentBytes() - peakBefore, std::uint64_t{64} << 20);
    }
}

TEST(DeclaredSize, DataThatFillsALargePictureOrAShortSmallFileStillDecodes) {
    // 6000 x 3000 at 8 bits is above what any file may claim; runs of 250 pixels fill it.
    std::vector<BYTE> runs;
    for (int row = 0; row < 3000; row++) {
        for (int run = 0; run < 24; run++) {
            runs.insert(runs.end(), {250, static_cast<BYTE>(row)});
        }
        runs.insert(runs.end(), {0, 0});
    }
    std::vector<BYTE> large = Bmp(6000, 3000, 8, 1, 1024);  // the palette, then the runs
    large[10] = static_cast<BYTE>((54 + 1024) & 0xFF);
    large[11] = static_cast<BYTE>((54 + 1024) >> 8);
    large.insert(large.end(), runs.begin(), runs.end());
    const CxImage image = DecodeBytes(large, kImageFormatBmp);
    ASSERT_EQ(6000u, image.GetWidth());
    EXPECT_EQ(static_cast<BYTE>(2999), image.GetPixelIndex(5999, 2999));

    // A deflated picture over that size, nearly all one colour, is far beyond a thousandfold.
    CxImage uniform(6000, 3000, 8);
    uniform.SetGrayPalette();
    uniform.SetPixelIndex(5999, 2999, 7);
    const CxImage inflated = DecodeBytes(EncodeToBytes(uniform, kImageFormatPng), kImageFormatPng);
    ASSERT_EQ(3000u, inflated.GetHeight());
    EXPECT_EQ(static_cast<BYTE>(7), inflated.GetPixelIndex(5999, 2999));

    // A small picture cut short keeps the rows that came and zero in the rest.
    const CxImage cut = DecodeBytes(Bmp(100, 100, 24, 0, 300 * 10), kImageFormatBmp);
    ASSERT_EQ(100u, cut.GetHeight());
    EXPECT_EQ(0x11, cut.GetPixelColor(5, 5).blue);
    EXPECT_EQ(0, cut.GetPixelColor(5, 50).blue);
}
