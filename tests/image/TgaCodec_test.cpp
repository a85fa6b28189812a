// TGA decoding against an independent decoder, run-length packets across rows, the
// failure texts, and encoding.
#include "image/TgaCodec.h"

#include "tests/image/CodecTestSupport.h"
#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Header(BYTE type,
                         WORD width,
                         WORD height,
                         BYTE depth,
                         BYTE descriptor,
                         WORD mapLength = 0) {
    return {0,
            static_cast<BYTE>(mapLength != 0 ? 1 : 0),
            type,
            0,
            0,
            static_cast<BYTE>(mapLength & 0xFF),
            static_cast<BYTE>(mapLength >> 8),
            24,
            0,
            0,
            0,
            0,
            static_cast<BYTE>(width),
            0,
            static_cast<BYTE>(height),
            0,
            depth,
            descriptor};
}

}  // namespace

TEST(TgaCodec, DecodesEveryVariantToTheReferencePixels) {
    // 16-bit channels are widened by a plain shift; the reference also fills the low bits.
    const std::pair<const char*, int> files[] = {{"rgb24_rle.tga", 0}, {"rgb24.tga", 0},
                                                 {"p8.tga", 0},        {"grey_rle.tga", 0},
                                                 {"rgba32.tga", 0},    {"rgb16_mirrored.tga", 7}};
    for (const auto& [name, tolerance] : files) {
        SCOPED_TRACE(name);
        const CxImage image = DecodeCodecFixture(name, kImageFormatTga);
        EXPECT_TRUE(MatchesReference(image, std::string(name) + ".rgba", tolerance));
    }
}

// Packets may cross the end of a row: the rest continues on the next row.
TEST(TgaCodec, ContinuesRunAndRawPacketsOnTheNextRow) {
    std::vector<BYTE> bytes = Header(10, 5, 3, 24, 0x20);
    const BYTE body[] = {0x86, 10, 20, 30, 0x04, 1,  2,  3,  4,    5,   6,   7,
                         8,    9,  10, 11, 12,   13, 14, 15, 0x82, 200, 100, 50};
    bytes.insert(bytes.end(), body, body + sizeof(body));
    const CxImage image = DecodeBytes(bytes, kImageFormatTga);
    ASSERT_TRUE(image.IsValid());
    // Top row first in the file: image row 2 is the file's first row.
    EXPECT_EQ(RgbQuad({10, 20, 30, 0}), image.GetPixelColor(4, 2, false));
    EXPECT_EQ(RgbQuad({10, 20, 30, 0}), image.GetPixelColor(1, 1, false));
    EXPECT_EQ(RgbQuad({1, 2, 3, 0}), image.GetPixelColor(2, 1, false));
    EXPECT_EQ(RgbQuad({7, 8, 9, 0}), image.GetPixelColor(4, 1, false));
    EXPECT_EQ(RgbQuad({10, 11, 12, 0}), image.GetPixelColor(0, 0, false));
    EXPECT_EQ(RgbQuad({200, 100, 50, 0}), image.GetPixelColor(4, 0, false));
}

TEST(TgaCodec, ExpandsSixteenBitPixels) {
    std::vector<BYTE> bytes = Header(2, 1, 1, 16, 0);
    bytes.insert(bytes.end(), {0xFF, 0x7F});
    EXPECT_EQ(RgbQuad({0xF8, 0xF8, 0xF8, 0}), DecodeBytes(bytes, kImageFormatTga).GetPixelColor(0, 0, false));
}

TEST(TgaCodec, ReportsTheReasonOfEachFailure) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        const char* error;
    };

    std::vector<BYTE> truncated = Header(2, 2, 2, 24, 0);
    truncated.insert(truncated.end(), {1, 2, 3, 4, 5, 6});
    std::vector<BYTE> endsInPacket = Header(10, 4, 2, 8, 0);
    endsInPacket.insert(endsInPacket.end(), {0x83, 7});
    const Case cases[] = {
        {"short header", {0, 0, 2}, "Not a TGA"},
        {"type 4", Header(4, 1, 1, 24, 0), "Unknown TGA image type"},
        {"zero width", Header(2, 0, 1, 24, 0), "bad TGA header"},
        {"map of 257 entries", Header(1, 1, 1, 8, 0, 257), "bad TGA header"},
        {"depth 12", Header(2, 1, 1, 12, 0), "bad TGA header"},
        {"rows missing", truncated, "corrupted TGA"},
        {"run-length data ends early", endsInPacket, "corrupted TGA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxImage image;
        EXPECT_FALSE(image.DecodeMemory(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), kImageFormatTga));
        EXPECT_STREQ(c.error, image.GetLastError());
    }
}

TEST(TgaCodec, EncodedFilesDecodeToTheSamePixels) {
    for (const char* name : {"rgb24.tga", "p8.tga", "rgba32.tga"}) {
        SCOPED_TRACE(name);
        CxImage original = DecodeCodecFixture(name, kImageFormatTga);
        const std::vector<BYTE> bytes = EncodeToBytes(original, kImageFormatTga);
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_EQ(original.AlphaIsValid() ? 32 : original.GetBpp(), bytes[16]);
        EXPECT_TRUE(MatchesReference(DecodeBytes(bytes, kImageFormatTga), std::string(name) + ".rgba"));
    }
    CxImage four(2, 2, 4);
    BYTE* buffer = nullptr;
    long size = 0;
    EXPECT_FALSE(four.EncodeMemory(&buffer, &size, kImageFormatTga));
    EXPECT_STREQ("Bit depth must be 8 or 24", four.GetLastError());
}
