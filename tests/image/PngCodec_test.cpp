// PNG decoding against pixels from an independent decoder, encoding round trips,
// the caller's image left untouched by encoding, and the failure paths through
// libpng's error callback (the same path runs under Wine in the Windows build).
#include "image/PngCodec.h"

#include "image/MemoryImageStream.h"
#include "tests/image/ImageTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

struct FixtureCase {
    const char* name;
    WORD bpp;
    bool alphaPlane;
    int tolerance;  // composited fixtures may differ by rounding
};

const FixtureCase kFixtures[] = {
    {"grey1", 1, false, 0},          {"grey2", 4, false, 0},         {"grey4", 4, false, 0},
    {"grey8", 8, false, 0},          {"grey16", 8, false, 0},        {"greyalpha8", 8, false, 1},
    {"greyalpha16", 24, true, 0},    {"palette1", 1, false, 0},      {"palette2", 4, false, 0},
    {"palette4", 4, false, 0},       {"palette8alpha", 8, false, 0}, {"palette8key", 8, false, 0},
    {"rgb8", 24, false, 0},          {"rgb16", 24, false, 0},        {"rgba8", 24, true, 0},
    {"rgba16", 24, true, 1},         {"rgba8_adam7", 24, true, 0},   {"grey2_adam7", 4, false, 0},
    {"palette4_adam7", 4, false, 0},
};

int MaxDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
    int worst = a.size() == b.size() ? 0 : 256;
    for (std::size_t i = 0; i < a.size() && i < b.size(); i++) {
        worst = std::max(worst, std::abs(a[i] - b[i]));
    }
    return worst;
}

std::vector<BYTE> EncodeToMemory(CxImage& image) {
    BYTE* buffer = nullptr;
    long size = 0;
    EXPECT_TRUE(image.EncodeMemory(&buffer, &size, kImageFormatPng)) << image.GetLastError();
    std::vector<BYTE> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace

TEST(PngCodec, DecodesEveryColourTypeToTheReferencePixels) {
    for (const FixtureCase& row : kFixtures) {
        SCOPED_TRACE(row.name);
        const std::vector<BYTE> file = ReadFixture(std::string(row.name) + ".png");
        const std::vector<BYTE> expected = ReadFixture(std::string(row.name) + ".rgba");
        ASSERT_FALSE(file.empty());
        CxImage image;
        ASSERT_TRUE(image.DecodeMemory(file.data(), static_cast<DWORD>(file.size()), kImageFormatPng))
            << image.GetLastError();
        EXPECT_EQ(row.bpp, image.GetBpp());
        EXPECT_EQ(row.alphaPlane, image.AlphaIsValid());
        EXPECT_LE(MaxDifference(expected, EffectiveRgba(image)), row.tolerance);
    }
}

TEST(PngCodec, MapsTransparencyAndGreyLevelsAsTheFileDescribes) {
    CxImage keyed;
    const std::vector<BYTE> key = ReadFixture("palette8key.png");
    ASSERT_TRUE(keyed.DecodeMemory(key.data(), static_cast<DWORD>(key.size()), kImageFormatPng));
    EXPECT_EQ(0, keyed.GetTransIndex());
    EXPECT_FALSE(keyed.AlphaPaletteIsEnabled());

    CxImage alpha;
    const std::vector<BYTE> many = ReadFixture("palette8alpha.png");
    ASSERT_TRUE(alpha.DecodeMemory(many.data(), static_cast<DWORD>(many.size()), kImageFormatPng));
    EXPECT_TRUE(alpha.AlphaPaletteIsEnabled());
    EXPECT_EQ(-1, alpha.GetTransIndex());

    CxImage grey;
    const std::vector<BYTE> two = ReadFixture("grey2.png");
    ASSERT_TRUE(grey.DecodeMemory(two.data(), static_cast<DWORD>(two.size()), kImageFormatPng));
    const BYTE levels[4] = {0, 85, 170, 255};
    for (BYTE i = 0; i < 4; i++) {
        EXPECT_EQ(levels[i], grey.GetPaletteColor(i).red);
    }
}

TEST(PngCodec, RoundTripsEveryStoredDepth) {
    CxImage mono(9, 3, 1);
    mono.SetPaletteColor(0, 10, 20, 30);
    mono.SetPaletteColor(1, 200, 100, 50);
    CxImage sixteen(9, 3, 4);
    CxImage indexed(9, 3, 8);
    sixteen.SetStdPalette();
    indexed.SetStdPalette();
    for (long y = 0; y < 3; y++) {
        for (long x = 0; x < 9; x++) {
            mono.SetPixelIndex(x, y, static_cast<BYTE>((x + y) % 2));
            sixteen.SetPixelIndex(x, y, static_cast<BYTE>((x * 3 + y) % 16));
            indexed.SetPixelIndex(x, y, static_cast<BYTE>(x * 20 + y));
        }
    }
    CxImage rgb = MakeImage(9, 3, [](long x, long y) { return Quad(BYTE(x * 25), BYTE(y * 80), 7); });
    CxImage rgba = MakeImage(
        9, 3, [](long x, long y) { return Quad(BYTE(x), 9, BYTE(y), BYTE(x * 28)); }, true);
    CxImage interlaced = MakeImage(9, 9, [](long x, long y) { return Quad(BYTE(x * y), BYTE(x), BYTE(y)); });
    interlaced.SetCodecOption(1, kImageFormatPng);

    struct {
        const char* name;
        CxImage* image;
    } rows[] = {{"1 bit", &mono}, {"4 bit", &sixteen},          {"8 bit", &indexed},
                {"24 bit", &rgb}, {"24 bit with alpha", &rgba}, {"interlaced", &interlaced}};

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<BYTE> png = EncodeToMemory(*row.image);
        CxImage back;
        ASSERT_TRUE(back.DecodeMemory(png.data(), static_cast<DWORD>(png.size()), kImageFormatPng))
            << back.GetLastError();
        EXPECT_EQ(row.image->GetBpp(), back.GetBpp());
        EXPECT_EQ(EffectiveRgba(*row.image), EffectiveRgba(back));
    }
}

TEST(PngCodec, EncodingLeavesTheCallersImageUnchanged) {
    CxImage indexed(100, 100, 8);
    indexed.SetStdPalette();
    for (long y = 0; y < 100; y++) {
        for (long x = 0; x < 100; x++) {
            indexed.SetPixelIndex(x, y, static_cast<BYTE>((x + y) % 10));
        }
    }
    indexed.SetTransIndex(5);
    CxImage keyed = MakeImage(
        4, 4, [](long x, long y) { return Quad(BYTE(x * 60), BYTE(y * 60), 0); }, true);
    keyed.SetTransIndex(0);
    keyed.SetTransColor(Quad(60, 60, 0));
    for (CxImage* image : {&indexed, &keyed}) {
        const CxImage before(*image);
        const std::vector<BYTE> png = EncodeToMemory(*image);
        EXPECT_EQ(0, std::memcmp(before.GetDib(), image->GetDib(), before.DibSize()));
        EXPECT_EQ(EffectiveRgba(before), EffectiveRgba(*image));
        CxImage back;
        ASSERT_TRUE(back.DecodeMemory(png.data(), static_cast<DWORD>(png.size()), kImageFormatPng));
        EXPECT_EQ(EffectiveRgba(*image), EffectiveRgba(back));
    }
}

// A 24-bit picture with a transparent colour is written with that colour see-through,
// whether or not it also has an alpha plane; the other pixels keep their alpha.
TEST(PngCodec, KeysTheTransparentColourOfATrueColourPicture) {
    for (bool withAlpha : {false, true}) {
        SCOPED_TRACE(withAlpha ? "with alpha plane" : "without alpha plane");
        CxImage keyed = MakeImage(
            4, 4, [](long x, long y) { return Quad(BYTE(x * 60), BYTE(y * 60), 0, 200); }, withAlpha);
        keyed.SetTransIndex(0);
        keyed.SetTransColor(Quad(60, 60, 0));
        const std::vector<BYTE> png = EncodeToMemory(keyed);
        CxImage back;
        ASSERT_TRUE(back.DecodeMemory(png.data(), static_cast<DWORD>(png.size()), kImageFormatPng));
        ASSERT_TRUE(back.AlphaIsValid());
        for (long y = 0; y < 4; y++) {
            for (long x = 0; x < 4; x++) {
                const BYTE expected = x == 1 && y == 1 ? 0 : withAlpha ? 200 : 255;
                EXPECT_EQ(expected, back.AlphaGet(x, y)) << x << "," << y;
            }
        }
        EXPECT_EQ(withAlpha, keyed.AlphaIsValid());
    }
}

TEST(PngCodec, WritesATrimmedPaletteWithTheTransparentEntryFirst) {
    CxImage indexed(100, 100, 8);
    indexed.SetStdPalette();
    for (long y = 0; y < 100; y++) {
        for (long x = 0; x < 100; x++) {
            indexed.SetPixelIndex(x, y, static_cast<BYTE>((x * 7 + y) % 10));
        }
    }
    indexed.SetTransIndex(5);
    const std::vector<BYTE> png = EncodeToMemory(indexed);
    const std::string bytes(png.begin(), png.end());
    const std::size_t plte = bytes.find("PLTE");
    const std::size_t trns = bytes.find("tRNS");
    ASSERT_NE(std::string::npos, plte);
    ASSERT_NE(std::string::npos, trns);
    EXPECT_EQ(30u, static_cast<BYTE>(bytes[plte - 1]));  // 10 entries of 3 bytes
    EXPECT_EQ(1u, static_cast<BYTE>(bytes[trns - 1]));
    EXPECT_EQ(0u, static_cast<BYTE>(bytes[trns + 4]));
    const RgbQuad five = indexed.GetPaletteColor(5);
    EXPECT_EQ(five.red, static_cast<BYTE>(bytes[plte + 4]));
    EXPECT_EQ(five.green, static_cast<BYTE>(bytes[plte + 5]));
    EXPECT_EQ(five.blue, static_cast<BYTE>(bytes[plte + 6]));
}

TEST(PngCodec, FailsWithLibpngsTextOnDamagedFilesAndKeepsThePreviousPicture) {
    const std::vector<BYTE> good = ReadFixture("rgba8.png");
    ASSERT_GT(good.size(), 60u);
    std::vector<BYTE> badCrc = good;
    badCrc[29] ^= 0xFF;  // last byte of the IHDR CRC
    std::vector<BYTE> badSignature = good;
    badSignature[1] = 'X';
    std::vector<BYTE> badData = good;
    badData[good.size() - 20] ^= 0x55;  // inside the compressed data

    struct {
        const char* name;
        std::vector<BYTE> bytes;
        const char* error;
    } rows[] = {
        {"truncated in the header", std::vector<BYTE>(good.begin(), good.begin() + 20), "Read Error"},
        {"truncated in the data", std::vector<BYTE>(good.begin(), good.end() - 30), "Read Error"},
        {"bad CRC", badCrc, "IHDR: CRC error"},
        {"bad signature", badSignature, "Not a PNG file"},
        {"damaged data", badData, nullptr},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CxImage image(3, 2, 24);
        image.SetPixelColor(1, 1, Quad(1, 2, 3));
        EXPECT_FALSE(
            image.DecodeMemory(row.bytes.data(), static_cast<DWORD>(row.bytes.size()), kImageFormatPng));
        if (row.error != nullptr) {
            EXPECT_STREQ(row.error, image.GetLastError());
        } else {
            EXPECT_STRNE("", image.GetLastError());
        }
        EXPECT_EQ(3u, image.GetWidth());
        EXPECT_EQ(3, image.GetPixelColor(1, 1).blue);
    }
}

TEST(PngCodec, RefusesSizesBeyondTheMemoryLimitBeforeAllocating) {
    std::vector<BYTE> png = ReadFixture("rgb8.png");
    ASSERT_GT(png.size(), 33u);
    // IHDR width and height become 60000 x 60000 (24 bits: beyond the limit); the
    // CRC is recomputed so that libpng accepts the header.
    const BYTE side[4] = {0x00, 0x00, 0xEA, 0x60};
    std::memcpy(&png[16], side, 4);
    std::memcpy(&png[20], side, 4);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < 29; i++) {
        crc ^= png[i];
        for (int k = 0; k < 8; k++) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    crc ^= 0xFFFFFFFFu;
    for (int k = 0; k < 4; k++) {
        png[29 + k] = static_cast<BYTE>(crc >> (24 - 8 * k));
    }
    CxImage image;
    EXPECT_FALSE(image.DecodeMemory(png.data(), static_cast<DWORD>(png.size()), kImageFormatPng));
    EXPECT_STREQ("CXIMAGE_MAX_MEMORY exceeded", image.GetLastError());
}

TEST(PngCodec, ReportsAFailingStreamAsAWriteError) {
    class FullStream : public MemoryImageStream {
    public:
        std::size_t Write(const void*, std::size_t, std::size_t) override { return 0; }
    };

    CxImage image(2, 2, 24);
    FullStream stream;
    stream.Open();
    EXPECT_FALSE(image.EncodeImage(&stream, kImageFormatPng));
    EXPECT_STREQ("Error saving PNG file", image.GetLastError());
}

TEST(PngCodec, ProbingFindsAPngAfterTheOtherCodecsRefuseIt) {
    const std::vector<BYTE> file = ReadFixture("rgba8.png");
    CxImage image;
    ASSERT_TRUE(image.DecodeMemory(file.data(), static_cast<DWORD>(file.size()), kImageFormatNone));
    EXPECT_EQ(static_cast<DWORD>(kImageFormatPng), image.GetType());
    EXPECT_EQ(EffectiveRgba(image), ReadFixture("rgba8.rgba"));
}
