// GIF decoding against an independent decoder (frames, interlacing, transparency),
// truncated files, the bytes the encoder writes, and round trips for every coder.
#include "image/GifCodec.h"

#include "image/MemoryImageStream.h"
#include "tests/image/CodecTestSupport.h"
#include "tests/image/ImageTestSupport.h"

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

namespace {

CxImage PaletteImage(DWORD width, DWORD height, int bpp, BYTE (*index)(long x, long y)) {
    CxImage image(width, height, static_cast<DWORD>(bpp));
    for (DWORD i = 0; i < image.GetNumColors(); i++) {
        image.SetPaletteColor(static_cast<BYTE>(i), static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i),
                              static_cast<BYTE>(i * 3));
    }
    for (long y = 0; y < static_cast<long>(height); y++) {
        for (long x = 0; x < static_cast<long>(width); x++) {
            image.SetPixelIndex(x, y, index(x, y));
        }
    }
    return image;
}

void ExpectSamePixels(const CxImage& expected, const CxImage& actual) {
    ASSERT_EQ(expected.GetWidth(), actual.GetWidth());
    ASSERT_EQ(expected.GetHeight(), actual.GetHeight());
    for (long y = 0; y < static_cast<long>(expected.GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(expected.GetWidth()); x++) {
            ASSERT_EQ(expected.GetPixelColor(x, y, false), actual.GetPixelColor(x, y, false))
                << "at " << x << ", " << y;
        }
    }
}

}  // namespace

TEST(GifCodec, DecodesToTheReferencePixels) {
    for (const char* name : {"p16.gif", "p256_interlaced.gif", "keyed.gif"}) {
        SCOPED_TRACE(name);
        const CxImage image = DecodeCodecFixture(name, kImageFormatGif);
        EXPECT_TRUE(MatchesReference(image, std::string(name) + ".rgba"));
    }
    const CxImage keyed = DecodeCodecFixture("keyed.gif", kImageFormatGif);
    EXPECT_EQ(2, keyed.GetTransIndex());
}

TEST(GifCodec, DecodesTheWantedFrameAndCountsThemAll) {
    const CxImage second = DecodeCodecFixture("three.gif", kImageFormatGif, 1);
    EXPECT_EQ(3, second.GetNumFrames());
    EXPECT_EQ(7, second.GetFrameDelay());
    EXPECT_TRUE(MatchesReference(second, "three.gif.frame1.rgba"));

    const std::vector<BYTE> bytes = ReadCodecFixture("three.gif");
    CxImage beyond;
    beyond.SetFrame(3);
    EXPECT_FALSE(beyond.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatGif));
    EXPECT_EQ(3, beyond.GetNumFrames());
}

// Every prefix of a file must end the decode, whatever it returns.
TEST(GifCodec, EndsOnEveryTruncationOfAFile) {
    const std::vector<BYTE> bytes = ReadCodecFixture("three.gif");
    for (std::size_t length = 0; length < bytes.size(); length++) {
        CxImage image;
        image.SetFrame(2);
        image.DecodeMemory(bytes.data(), static_cast<DWORD>(length), kImageFormatGif);
    }
    const std::vector<BYTE> junk = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0, 0x99, 0x21, 0xF9, 200};
    CxImage image;
    EXPECT_FALSE(image.DecodeMemory(junk.data(), static_cast<DWORD>(junk.size()), kImageFormatGif));
}

TEST(GifCodec, RefusesAMinimumCodeSizeAboveNine) {
    std::vector<BYTE> bytes = ReadCodecFixture("p16.gif");
    const auto separator = std::find(bytes.begin() + 13 + 48, bytes.end(), 0x2C);
    ASSERT_NE(bytes.end(), separator);
    *(separator + 10) = 10;
    CxImage image;
    EXPECT_FALSE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatGif));
}

TEST(GifCodec, WritesTheHeaderControlBlockAndTrailer) {
    CxImage image = PaletteImage(5, 3, 4, [](long x, long y) { return static_cast<BYTE>((x + y) % 16); });
    image.SetTransIndex(3);
    const std::vector<BYTE> bytes = EncodeToBytes(image, kImageFormatGif);
    ASSERT_GT(bytes.size(), 13u + 48 + 8);
    EXPECT_EQ(0, std::memcmp(bytes.data(), "GIF89a", 6));
    EXPECT_EQ(0x80 | 0x60 | 3, bytes[10]);
    const std::vector<BYTE> control = {0x21, 0xF9, 4, 1, 0, 0, 3, 0};
    EXPECT_EQ(control, std::vector<BYTE>(bytes.begin() + 13 + 48, bytes.begin() + 13 + 48 + 8));
    EXPECT_EQ(0x3B, bytes.back());
    EXPECT_EQ(3, DecodeBytes(bytes, kImageFormatGif).GetTransIndex());
}

TEST(GifCodec, EveryCoderRoundTripsLargeAndSmallImages) {
    struct Case {
        const char* name;
        DWORD width;
        DWORD height;
        int bpp;
        BYTE (*index)(long x, long y);
    };

    const Case cases[] = {
        {"1-bit checks", 9, 4, 1, [](long x, long y) { return static_cast<BYTE>((x + y) & 1); }},
        {"4-bit ramp", 33, 17, 4, [](long x, long y) { return static_cast<BYTE>((x * 3 + y) % 16); }},
        {"8-bit noise past 4096 codes", 300, 200, 8,
         [](long x, long y) { return static_cast<BYTE>((x * 131 + y * 71 + x * y) % 251); }},
        {"8-bit long runs", 257, 40, 8, [](long x, long y) { return static_cast<BYTE>(x / 50 + y / 7); }},
    };
    for (DWORD option : {0u, 1u, 2u}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " option " + std::to_string(option));
            CxImage image = PaletteImage(c.width, c.height, c.bpp, c.index);
            image.SetCodecOption(option, kImageFormatGif);
            ExpectSamePixels(image, DecodeBytes(EncodeToBytes(image, kImageFormatGif), kImageFormatGif));
        }
    }
}

TEST(GifCodec, RunLengthCoderCodesLongRunsInFewerBytesThanPlainCodes) {
    CxImage image =
        PaletteImage(400, 100, 8, [](long x, long y) { return static_cast<BYTE>(x / 100 + (y / 25) * 4); });
    image.SetCodecOption(1, kImageFormatGif);
    const std::size_t plain = EncodeToBytes(image, kImageFormatGif).size();
    image.SetCodecOption(2, kImageFormatGif);
    const std::vector<BYTE> runs = EncodeToBytes(image, kImageFormatGif);
    EXPECT_LT(runs.size() * 5, plain);
    ExpectSamePixels(image, DecodeBytes(runs, kImageFormatGif));
}

TEST(GifCodec, WritesTrueColourImagesAsTilesThatComposeToThePicture) {
    CxImage image = MakeImage(40, 20, [](long x, long y) {
        return Quad(static_cast<BYTE>(x * 6), static_cast<BYTE>(y * 12), static_cast<BYTE>(x * y));
    });
    const CxImage decoded = DecodeBytes(EncodeToBytes(image, kImageFormatGif), kImageFormatGif);
    EXPECT_EQ(24, decoded.GetBpp());
    EXPECT_EQ(6, decoded.GetNumFrames());  // 3 x 2 tiles of 17 x 15
    ExpectSamePixels(image, decoded);
}

TEST(GifCodec, WritesSeveralImagesWithALoopCount) {
    CxImage first = PaletteImage(6, 4, 4, [](long x, long) { return static_cast<BYTE>(x); });
    CxImage second = PaletteImage(6, 4, 8, [](long x, long y) { return static_cast<BYTE>(x * y + 40); });
    CxImage* images[] = {&first, &second};
    MemoryImageStream stream;
    ASSERT_TRUE(stream.Open());
    CxImage writer;
    ASSERT_TRUE(writer.EncodeFrames(&stream, images, 2, kImageFormatGif)) << writer.GetLastError();
    const std::int64_t size = stream.Size();
    const BYTE* bytes = stream.GetBuffer(false);
    EXPECT_EQ(0, std::memcmp(bytes + 13 + 48 + 3, "NETSCAPE2.0", 11));
    CxImage decoded;
    decoded.SetFrame(1);
    ASSERT_TRUE(decoded.DecodeMemory(bytes, static_cast<DWORD>(size), kImageFormatGif));
    EXPECT_EQ(2, decoded.GetNumFrames());
    ExpectSamePixels(second, decoded);

    CxImage* missing[] = {&first, nullptr};
    EXPECT_FALSE(writer.EncodeFrames(&stream, missing, 2, kImageFormatGif));
    EXPECT_STREQ("Bad image pointer", writer.GetLastError());
    EXPECT_FALSE(writer.EncodeFrames(&stream, images, 0, kImageFormatGif));
    EXPECT_STREQ("multipage GIF, no images!", writer.GetLastError());
}

namespace {

// Bytes of several 3 x 3 frames written by the multi-image encoder.
std::vector<BYTE> ThreeFrames(CxImage& writer, CxImage* frames[3]) {
    MemoryImageStream stream;
    EXPECT_TRUE(stream.Open());
    EXPECT_TRUE(writer.EncodeFrames(&stream, frames, 3, kImageFormatGif)) << writer.GetLastError();
    const BYTE* bytes = stream.GetBuffer(false);
    return std::vector<BYTE>(bytes, bytes + stream.Size());
}

// Offset of the image descriptor that follows the n-th graphic control block.
std::size_t DescriptorAt(const std::vector<BYTE>& bytes, int n) {
    const BYTE control[] = {0x21, 0xF9, 4};
    auto at = bytes.begin();
    for (int i = 0; i <= n; i++) {
        at = std::search(i == 0 ? at : at + 1, bytes.end(), std::begin(control), std::end(control));
    }
    return static_cast<std::size_t>(at - bytes.begin()) + 8;
}

}  // namespace

TEST(GifCodec, CountsAndDecodesOnlyTheFramesInsideTheScreen) {
    CxImage first = PaletteImage(3, 3, 4, [](long, long) { return BYTE{1}; });
    CxImage second = PaletteImage(3, 3, 4, [](long, long) { return BYTE{2}; });
    CxImage third = PaletteImage(3, 3, 4, [](long x, long) { return static_cast<BYTE>(3 + x); });
    CxImage* frames[] = {&first, &second, &third};
    CxImage writer;
    std::vector<BYTE> bytes = ThreeFrames(writer, frames);
    const std::size_t descriptor = DescriptorAt(bytes, 1);
    ASSERT_EQ(0x2C, bytes[descriptor]);
    bytes[descriptor + 1] = 1;  // the second frame now reaches past the screen's right edge

    CxImage decoded;
    decoded.SetFrame(1);
    ASSERT_TRUE(decoded.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatGif));
    EXPECT_EQ(2, decoded.GetNumFrames());
    ExpectSamePixels(third, decoded);
}

TEST(GifCodec, KeepsTheCommentLoopCountAndDisposalInTheImage) {
    CxImage single = PaletteImage(4, 2, 4, [](long x, long) { return static_cast<BYTE>(x); });
    single.SetComment("made by the workshop");
    single.SetDisposal(2);
    CxImage decoded = DecodeBytes(EncodeToBytes(single, kImageFormatGif), kImageFormatGif);
    EXPECT_EQ("made by the workshop", decoded.GetComment());
    EXPECT_EQ(2, decoded.GetDisposal());

    CxImage first = PaletteImage(3, 3, 4, [](long, long) { return BYTE{1}; });
    CxImage second = PaletteImage(3, 3, 4, [](long, long) { return BYTE{2}; });
    CxImage third = PaletteImage(3, 3, 4, [](long, long) { return BYTE{3}; });
    first.SetDisposal(1);
    second.SetDisposal(3);
    third.SetDisposal(2);
    CxImage* frames[] = {&first, &second, &third};
    CxImage writer;
    writer.SetLoops(5);
    writer.SetComment("three");
    const std::vector<BYTE> bytes = ThreeFrames(writer, frames);
    // The file holds the repeats after the first showing: one less than the loops asked for.
    for (long frame = 0; frame < 3; frame++) {
        SCOPED_TRACE(frame);
        decoded.SetFrame(frame);
        ASSERT_TRUE(decoded.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatGif));
        EXPECT_EQ(4, decoded.GetLoops());
        EXPECT_EQ("three", decoded.GetComment());
        EXPECT_EQ(frames[frame]->GetDisposal(), decoded.GetDisposal());
    }

    // A file without them leaves none of the previous file's behind.
    const std::vector<BYTE> plain = EncodeToBytes(first, kImageFormatGif);
    decoded.SetFrame(0);
    ASSERT_TRUE(decoded.DecodeMemory(plain.data(), static_cast<DWORD>(plain.size()), kImageFormatGif));
    EXPECT_EQ("", decoded.GetComment());
    EXPECT_EQ(0, decoded.GetLoops());
}

// The first frame's data starts with an undefined code and its sub-block claims 64
// bytes where 2 follow, so its stated length would jump over the second frame; the
// decode must find that frame at the separator that follows the data's 0 byte.
TEST(GifCodec, ResumesAtTheNextImageAfterBadCodes) {
    std::vector<BYTE> bytes = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0, 0, 0};
    const std::vector<BYTE> firstFrame = {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x80, 0, 0, 0, 255, 0, 0, 2, 64};
    bytes.insert(bytes.end(), firstFrame.begin(), firstFrame.end());
    const std::size_t claimedEnd = bytes.size() + 64;
    // Codes of 3 bits: clear, 7 (not yet defined), 1, 1, end.
    bytes.insert(bytes.end(), {0x7C, 0x52, 0});
    // One green pixel at x = 1: clear, 1, end.
    const std::vector<BYTE> secondFrame = {0x2C, 1, 0, 0,   0, 1, 0, 1,    0,    0x80, 0,
                                           0,    0, 0, 255, 0, 2, 2, 0x4C, 0x01, 0,    0x3B};
    bytes.insert(bytes.end(), secondFrame.begin(), secondFrame.end());
    bytes.resize(claimedEnd, 0);
    bytes.insert(bytes.end(), {0, 0x3B});

    const CxImage decoded = DecodeBytes(bytes, kImageFormatGif);
    ASSERT_EQ(2u, decoded.GetWidth());
    EXPECT_EQ((RgbQuad{0, 0, 255, 0}), decoded.GetPixelColor(0, 0, false));
    EXPECT_EQ((RgbQuad{0, 255, 0, 0}), decoded.GetPixelColor(1, 0, false));
}

// Bytes between blocks that start none are skipped up to and including the next 0 byte,
// so block-start values among them are not read as blocks; a lone 0 goes alone.
TEST(GifCodec, SkipsStrayBytesBetweenBlocksUpToTheNextZero) {
    struct Case {
        const char* name;
        std::vector<BYTE> stray;
    };

    const Case cases[] = {
        {"a lone 0", {0}},
        {"data holding an image separator, a trailer and an extension", {7, 0x2C, 0x3B, 0x21, 0xF9, 0}},
        {"two runs of data", {1, 2, 0, 5, 0x2C, 0}},
    };
    CxImage first = PaletteImage(3, 3, 4, [](long, long) { return BYTE{1}; });
    CxImage second = PaletteImage(3, 3, 4, [](long, long) { return BYTE{2}; });
    CxImage third = PaletteImage(3, 3, 4, [](long x, long) { return static_cast<BYTE>(3 + x); });
    CxImage* frames[] = {&first, &second, &third};
    CxImage writer;
    const std::vector<BYTE> clean = ThreeFrames(writer, frames);
    // Before the second frame's graphic control block.
    const std::size_t at = DescriptorAt(clean, 1) - 8;
    ASSERT_EQ(0x21, clean[at]);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> bytes = clean;
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), c.stray.begin(), c.stray.end());
        CxImage decoded;
        decoded.SetFrame(2);
        ASSERT_TRUE(decoded.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatGif));
        EXPECT_EQ(3, decoded.GetNumFrames());
        ExpectSamePixels(third, decoded);
    }
}
