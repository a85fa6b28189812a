// PCX decoding against an independent decoder, the run writer's bytes, the failure
// texts, and encode/decode round trips.
#include "image/PcxCodec.h"

#include "tests/image/CodecTestSupport.h"
#include "tests/image/ImageTestSupport.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Header(BYTE bits, BYTE planes, WORD width, WORD height, WORD bytesPerLine) {
    std::vector<BYTE> h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = bits;
    h[8] = static_cast<BYTE>(width - 1);
    h[10] = static_cast<BYTE>(height - 1);
    h[65] = planes;
    h[66] = static_cast<BYTE>(bytesPerLine);
    return h;
}

}  // namespace

TEST(PcxCodec, DecodesEveryVariantToTheReferencePixels) {
    for (const char* name : {"p8.pcx", "rgb24.pcx", "mono.pcx", "planar4.pcx"}) {
        SCOPED_TRACE(name);
        const CxImage image = DecodeCodecFixture(name, kImageFormatPcx);
        EXPECT_TRUE(MatchesReference(image, std::string(name) + ".rgba"));
    }
}

TEST(PcxCodec, UnpacksRunBytes) {
    std::vector<BYTE> bytes = Header(8, 1, 4, 1, 4);
    bytes.insert(bytes.end(), {0xC3, 0x55, 0xC0, 0x77, 0x12, 12});
    bytes.resize(bytes.size() + 768, 0);
    const CxImage image = DecodeBytes(bytes, kImageFormatPcx);
    ASSERT_TRUE(image.IsValid());
    const BYTE* row = image.RowPointer(0);
    EXPECT_EQ((std::vector<BYTE>{0x55, 0x55, 0x55, 0x12}), std::vector<BYTE>(row, row + 4));
}

TEST(PcxCodec, WritesRunsOfAtMost63AndPadsOddLines) {
    CxImage image(100, 1, 8);
    image.FillBytes(7);
    const std::vector<BYTE> bytes = EncodeToBytes(image, kImageFormatPcx);
    ASSERT_EQ(128u + 4 + 769, bytes.size());
    EXPECT_EQ((std::vector<BYTE>{0xFF, 7, 0xE5, 7}),
              std::vector<BYTE>(bytes.begin() + 128, bytes.begin() + 132));

    CxImage odd = MakeImage(3, 1, [](long x, long) { return Quad(static_cast<BYTE>(x), 9, 200); });
    const std::vector<BYTE> planes = EncodeToBytes(odd, kImageFormatPcx);
    EXPECT_EQ(4, planes[66]);
    const std::vector<BYTE> expected = {0, 1, 2, 0, 0xC3, 9, 0, 0xC3, 200, 0};
    EXPECT_EQ(expected, std::vector<BYTE>(planes.begin() + 128, planes.end()));
}

TEST(PcxCodec, WritesOneBitImagesDarkerColourFirst) {
    CxImage image(8, 1, 1);
    image.SetPaletteColor(0, 255, 255, 255);
    image.SetPaletteColor(1, 0, 0, 0);
    image.SetPixelIndex(0, 0, 1);
    const std::vector<BYTE> bytes = EncodeToBytes(image, kImageFormatPcx);
    EXPECT_EQ(0, bytes[16]);
    EXPECT_EQ(255, bytes[19]);
    EXPECT_EQ(0x7F, bytes[128]);  // pixel 0 was black: written as 0
    const CxImage back = DecodeBytes(bytes, kImageFormatPcx);
    EXPECT_EQ(Quad(0, 0, 0), back.GetPixelColor(0, 0, false));
    EXPECT_EQ(Quad(255, 255, 255), back.GetPixelColor(1, 0, false));
}

TEST(PcxCodec, ReportsTheReasonOfEachFailure) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        const char* error;
    };

    std::vector<BYTE> notPcx = Header(8, 1, 2, 1, 2);
    notPcx[0] = 9;
    std::vector<BYTE> badTrailer = Header(8, 1, 2, 1, 2);
    badTrailer.insert(badTrailer.end(), {1, 2, 11});
    badTrailer.resize(badTrailer.size() + 768, 0);
    std::vector<BYTE> spans = Header(8, 3, 2, 1, 2);
    spans.insert(spans.end(), {0xC9, 1});
    spans.resize(spans.size() + 800, 0);
    std::vector<BYTE> narrow = Header(8, 1, 8, 1, 2);
    narrow.resize(narrow.size() + 900, 0);
    std::vector<BYTE> tooMany = Header(1, 5, 8, 1, 2);
    // 65536 x 65536 pixels of no bits: nothing to read, and no picture to allocate.
    std::vector<BYTE> noBits = Header(0, 4, 1, 1, 0);
    std::fill(noBits.begin() + 8, noBits.begin() + 12, BYTE{0xFF});
    std::vector<BYTE> cut = Header(8, 3, 4, 4, 4);
    cut.insert(cut.end(), {1, 2, 3});
    const Case cases[] = {
        {"short header", {10, 5, 1}, "Can't read PCX image"},
        {"wrong manufacturer", notPcx, "Error: Not a PCX file"},
        {"more than 4 planes", tooMany, "Can't handle image with more than 4 planes"},
        {"bad palette signature", badTrailer, "bad color map signature"},
        {"repeat count past the end", spans, "repeat count spans end of image"},
        {"line shorter than the width", narrow, "corrupted PCX"},
        {"data ends early", cut, "corrupted PCX"},
        {"no bits per pixel", noBits, "corrupted PCX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxImage image;
        EXPECT_FALSE(image.DecodeMemory(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), kImageFormatPcx));
        EXPECT_STREQ(c.error, image.GetLastError());
    }
}

TEST(PcxCodec, EncodedFilesDecodeToTheSamePixels) {
    for (const char* name : {"p8.pcx", "rgb24.pcx", "mono.pcx", "planar4.pcx"}) {
        SCOPED_TRACE(name);
        CxImage original = DecodeCodecFixture(name, kImageFormatPcx);
        EXPECT_TRUE(MatchesReference(DecodeBytes(EncodeToBytes(original, kImageFormatPcx), kImageFormatPcx),
                                     std::string(name) + ".rgba"));
    }
}
