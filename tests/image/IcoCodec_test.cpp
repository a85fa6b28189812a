// Icon decoding against an independent decoder, the mask rules, frames, and encoding.
#include "image/IcoCodec.h"

#include "image/ByteOrder.h"
#include "tests/image/CodecTestSupport.h"
#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>

TEST(IcoCodec, DecodesMaskedIconsToTheReferencePixels) {
    struct Case {
        const char* file;
        long frame;
        const char* reference;
    };

    const Case cases[] = {
        {"three.ico", 0, "three.ico.rgba"},   {"icon24.ico", 0, "icon24.ico.rgba"},
        {"icon32.ico", 0, "icon32.ico.rgba"}, {"three.ico", 1, "icon24.ico.rgba"},
        {"three.ico", 2, "icon32.ico.rgba"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " frame " + std::to_string(c.frame));
        const CxImage image = DecodeCodecFixture(c.file, kImageFormatIco, c.frame);
        EXPECT_EQ(3 - 2 * (std::string(c.file) != "three.ico"), image.GetNumFrames());
        EXPECT_TRUE(MatchesReference(image, c.reference));
    }
}

TEST(IcoCodec, TurnsTheMaskIntoTheTransparencyThatFitsTheDepth) {
    const CxImage four = DecodeCodecFixture("three.ico", kImageFormatIco, 0);
    EXPECT_EQ(4, four.GetBpp());
    EXPECT_EQ(13, four.GetTransIndex());  // the lowest index no pixel uses
    EXPECT_FALSE(four.AlphaIsValid());
    EXPECT_EQ(13, four.GetPixelIndex(0, 5));

    const CxImage magenta = DecodeCodecFixture("icon24.ico", kImageFormatIco);
    EXPECT_EQ(0, magenta.GetTransIndex());
    EXPECT_EQ(Quad(255, 0, 255), magenta.GetTransColor());
    EXPECT_FALSE(magenta.AlphaIsValid());

    const CxImage wide = DecodeCodecFixture("icon32.ico", kImageFormatIco);
    ASSERT_TRUE(wide.AlphaIsValid());
    EXPECT_EQ(0, wide.AlphaGet(0, 0));
    EXPECT_EQ(50, wide.AlphaGet(2, 0));
}

TEST(IcoCodec, RefusesAFrameBeyondTheCountButStillReportsTheCount) {
    const std::vector<BYTE> bytes = ReadCodecFixture("three.ico");
    CxImage image;
    image.SetFrame(3);
    EXPECT_FALSE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatIco));
    EXPECT_EQ(3, image.GetNumFrames());
}

TEST(IcoCodec, RefusesBadHeadersTruncatedDirectoriesAndPngEntries) {
    std::vector<BYTE> png = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 8, 0, 0, 0, 22, 0, 0, 0};
    const BYTE signature[] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    png.insert(png.end(), signature, signature + 8);
    png.resize(png.size() + 40, 0);
    const std::vector<BYTE> cases[] = {
        {0, 0, 3, 0, 1, 0},
        {1, 0, 1, 0, 1, 0},
        {0, 0, 1, 0, 2, 0, 16, 16},
        png,
    };
    for (const std::vector<BYTE>& bytes : cases) {
        CxImage image;
        EXPECT_FALSE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatIco));
    }
}

TEST(IcoCodec, WritesAlphaImagesAs32BitIconsWithTheMaskFromAlphaZero) {
    CxImage image = MakeImage(
        5, 3,
        [](long x, long y) {
            return Quad(static_cast<BYTE>(x * 50), 10, static_cast<BYTE>(y * 90),
                        static_cast<BYTE>(x == 1 ? 0 : 200));
        },
        true);
    const std::vector<BYTE> bytes = EncodeToBytes(image, kImageFormatIco);
    ASSERT_GT(bytes.size(), 62u);
    EXPECT_EQ(32, ReadLe16(&bytes[12]));
    EXPECT_EQ(22u, ReadLe32(&bytes[18]));
    EXPECT_EQ(6u, ReadLe32(&bytes[22 + 8]));  // the header's height counts colour rows and mask
    const CxImage decoded = DecodeBytes(bytes, kImageFormatIco);
    ASSERT_TRUE(decoded.AlphaIsValid());
    EXPECT_EQ(0, decoded.AlphaGet(1, 2));
    EXPECT_EQ(200, decoded.AlphaGet(3, 2));
    EXPECT_EQ(Quad(150, 10, 180), decoded.GetPixelColor(3, 2, false));
}

TEST(IcoCodec, RoundTripsPaletteIconsAndRefusesLargeImages) {
    CxImage four = DecodeCodecFixture("three.ico", kImageFormatIco, 0);
    const CxImage back = DecodeBytes(EncodeToBytes(four, kImageFormatIco), kImageFormatIco);
    EXPECT_TRUE(MatchesReference(back, "three.ico.rgba"));

    CxImage large(256, 1, 8);
    BYTE* buffer = nullptr;
    long size = 0;
    EXPECT_FALSE(large.EncodeMemory(&buffer, &size, kImageFormatIco));
    EXPECT_STREQ("Can't save this image as icon", large.GetLastError());
}
