// BMP decoding against an independent decoder's pixels, the run-length decoders on
// literal bytes, the failure texts, and encode/decode round trips.
#include "image/BmpCodec.h"

#include "image/ByteOrder.h"
#include "tests/image/CodecTestSupport.h"
#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A bare 40-byte-header DIB of width x height at the given depth and compression,
// with a 16-entry grey-ish palette, followed by data.
std::vector<BYTE> BareDib(long width,
                          long height,
                          WORD bits,
                          DWORD compression,
                          const std::vector<BYTE>& data) {
    std::vector<BYTE> out =
        BitmapInfoHeader(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), bits,
                         compression, static_cast<DWORD>(data.size()), bits <= 8 ? 16 : 0);
    if (bits <= 8) {
        for (int i = 0; i < 16; i++) {
            out.insert(out.end(), {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0});
        }
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<BYTE> Row(const CxImage& image, long y, std::size_t bytes) {
    const BYTE* row = image.RowPointer(y);
    return std::vector<BYTE>(row, row + bytes);
}

}  // namespace

TEST(BmpCodec, DecodesEveryVariantToTheReferencePixels) {
    // 16-bit channels are widened by a plain shift; the reference also repeats the top
    // bits into the low ones, so those files may differ by up to 7 per channel.
    const std::pair<const char*, int> files[] = {
        {"p8.bmp", 0},    {"mono.bmp", 0}, {"rgb24.bmp", 0}, {"p4.bmp", 0},     {"p8_topdown.bmp", 0},
        {"core8.bmp", 0}, {"rle8.bmp", 0}, {"rle4.bmp", 0},  {"rgb555.bmp", 7}, {"rgb565.bmp", 7},
    };
    for (const auto& [name, tolerance] : files) {
        SCOPED_TRACE(name);
        const CxImage image = DecodeCodecFixture(name, kImageFormatBmp);
        EXPECT_TRUE(MatchesReference(image, std::string(name) + ".rgba", tolerance));
    }
}

TEST(BmpCodec, ProbingFindsABmpFileAndABareDibFromWhereTheStreamStands) {
    const CxImage probed = DecodeCodecFixture("core8.bmp", kImageFormatNone);
    EXPECT_EQ(static_cast<DWORD>(kImageFormatBmp), probed.GetType());
    const std::vector<BYTE> dib = BareDib(3, 1, 8, 0, {1, 2, 3, 0});
    CxImage bare = DecodeBytes(dib, kImageFormatBmp);
    ASSERT_EQ(3u, bare.GetWidth());
    EXPECT_EQ(3, bare.GetPixelIndex(2, 0));
}

TEST(BmpCodec, DecodesRunLengthDataAsTheFormatDefinesIt) {
    struct Case {
        const char* name;
        WORD bits;
        std::vector<BYTE> data;
        std::vector<BYTE> row0;
        std::vector<BYTE> row1;
    };

    const Case cases[] = {
        {"runs and end of line",
         8,
         {3, 0x41, 0, 0, 2, 0x42, 0, 1},
         {0x41, 0x41, 0x41, 0},
         {0x42, 0x42, 0, 0}},
        {"odd absolute run has a pad byte", 8, {0, 3, 7, 8, 9, 0, 1, 5, 0, 1}, {7, 8, 9, 5}, {0, 0, 0, 0}},
        {"even absolute run has none", 8, {0, 4, 1, 2, 3, 4, 0, 0, 1, 6, 0, 1}, {1, 2, 3, 4}, {6, 0, 0, 0}},
        {"delta moves right and up", 8, {0, 2, 1, 1, 2, 9, 0, 1}, {0, 0, 0, 0}, {0, 9, 9, 0}},
        {"run past the row ends the decode", 8, {9, 5, 0, 0, 1, 6, 0, 1}, {5, 5, 5, 5}, {0, 0, 0, 0}},
        {"absolute run past the row is clipped",
         8,
         {0, 6, 1, 2, 3, 4, 5, 6, 0, 0, 1, 7, 0, 1},
         {1, 2, 3, 4},
         {7, 0, 0, 0}},
        {"rle4 alternates a run's nibbles",
         4,
         {5, 0x12, 0, 0, 2, 0x30, 0, 1},
         {0x12, 0x12, 0x10, 0},
         {0x30, 0, 0, 0}},
        {"rle4 odd absolute run",
         4,
         {0, 3, 0x45, 0x60, 0, 0, 1, 0x70, 0, 1},
         {0x45, 0x60, 0, 0},
         {0x70, 0, 0, 0}},
        {"truncated data keeps what came", 8, {4, 3, 0, 0, 2}, {3, 3, 3, 3}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const long width = c.bits == 8 ? 4 : 7;
        CxImage image = DecodeBytes(BareDib(width, 2, c.bits, c.bits == 8 ? 1 : 2, c.data), kImageFormatBmp);
        ASSERT_TRUE(image.IsValid());
        EXPECT_EQ(c.row0, Row(image, 0, 4));
        EXPECT_EQ(c.row1, Row(image, 1, 4));
    }
}

TEST(BmpCodec, ReportsTheReasonOfEachFailure) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        const char* error;
    };

    std::vector<BYTE> negativeWidth = BareDib(3, 1, 8, 0, {0, 0, 0, 0});
    negativeWidth[4] = 0xFD;
    negativeWidth[5] = negativeWidth[6] = negativeWidth[7] = 0xFF;
    // The most negative height has no positive counterpart.
    std::vector<BYTE> lowestHeight = BareDib(3, 1, 8, 0, {0, 0, 0, 0});
    lowestHeight[8] = lowestHeight[9] = lowestHeight[10] = 0;
    lowestHeight[11] = 0x80;
    const Case cases[] = {
        {"shorter than a file header", {'B', 'M', 0}, "Not a BMP"},
        {"header cut short", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0}, "Error reading BMP info"},
        {"negative width", negativeWidth, "Error reading BMP info"},
        {"height of -2^31", lowestHeight, "Error reading BMP info"},
        {"unknown palette compression", BareDib(2, 1, 8, 5, {0, 0, 0, 0}), "compression type not supported"},
        {"compressed 24 bits", BareDib(2, 1, 24, 1, {0, 0, 0, 0, 0, 0, 0, 0}), "unknown compression"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxImage image;
        EXPECT_FALSE(image.DecodeMemory(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), kImageFormatBmp));
        EXPECT_STREQ(c.error, image.GetLastError());
    }
}

TEST(BmpCodec, ReturnsOnlyTheDimensionsWhenEscapeIsMinusOne) {
    const std::vector<BYTE> bytes = ReadCodecFixture("p8.bmp");
    CxImage probe;
    probe.SetEscape(-1);
    EXPECT_TRUE(probe.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatBmp));
    EXPECT_EQ(11u, probe.GetWidth());
    EXPECT_EQ(6u, probe.GetHeight());
    EXPECT_STREQ("output dimensions returned", probe.GetLastError());
}

TEST(BmpCodec, AHugeColourCountOrImageSizeStaysInsideTheImage) {
    std::vector<BYTE> bytes = BareDib(2, 2, 8, 0, {1, 2, 0, 0, 3, 4, 0, 0});
    bytes[20] = bytes[21] = bytes[22] = 0xFF;  // image size field
    CxImage sized = DecodeBytes(bytes, kImageFormatBmp);
    EXPECT_EQ(2, sized.GetPixelIndex(1, 0));
    bytes[32] = 0xFF;  // colours used: the rest of the table is skipped
    bytes[33] = 0x01;
    CxImage image;
    image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatBmp);
    EXPECT_EQ(2u, image.GetWidth());
}

TEST(BmpCodec, EncodedFilesDecodeToTheSamePaletteAndRows) {
    for (const char* name : {"p8.bmp", "mono.bmp", "rgb24.bmp", "p4.bmp"}) {
        SCOPED_TRACE(name);
        CxImage original = DecodeCodecFixture(name, kImageFormatBmp);
        const std::vector<BYTE> bytes = EncodeToBytes(original, kImageFormatBmp);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ('B', bytes[0]);
        EXPECT_EQ(bytes.size(), ReadLe32(&bytes[2]));
        EXPECT_EQ(54u + original.GetPaletteSize(), ReadLe32(&bytes[10]));
        const CxImage decoded = DecodeBytes(bytes, kImageFormatBmp);
        EXPECT_TRUE(MatchesReference(decoded, std::string(name) + ".rgba"));
        if (original.IsIndexed()) {
            EXPECT_TRUE(decoded.SamePalette(original));
        }
    }
}
