// Storage, pixel access and palette of the image class.
#include "image/CxImage.h"

#include "tests/image/ImageTestSupport.h"

#include <map>

#include <gtest/gtest.h>

TEST(CxImage, CreateRoundsDepthAndChecksSizes) {
    struct {
        const char* name;
        DWORD width, height, bpp;
        bool created;
        WORD bppAfter;
        DWORD stride, colors;
        const char* error;
    } rows[] = {
        {"32 bits become 24", 1, 1, 32, true, 24, 4, 0, ""},
        {"1 bit", 3, 2, 1, true, 1, 4, 2, ""},
        {"4 bits from 3", 9, 1, 3, true, 4, 8, 16, ""},
        {"zero width", 0, 5, 8, false, 0, 0, 0,
         "CxImage::Create : width and height must be greater than zero"},
        {"beyond the limit", 53000, 53000, 24, false, 0, 0, 0, "CXIMAGE_MAX_MEMORY exceeded"},
        {"block larger than its size field", 52000, 52000, 24, false, 0, 0, 0,
         "CxImage::Create can't allocate memory"},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CxImage image;
        EXPECT_EQ(row.created, image.Create(row.width, row.height, row.bpp) != nullptr);
        EXPECT_EQ(row.created, image.IsValid());
        EXPECT_STREQ(row.error, image.GetLastError());
        if (row.created) {
            EXPECT_EQ(row.bppAfter, image.GetBpp());
            EXPECT_EQ(row.stride, image.GetEffWidth());
            EXPECT_EQ(row.colors, image.GetNumColors());
            EXPECT_EQ(0, image.RowPointer(0)[0]);
        }
    }
}

TEST(CxImage, PackedIndicesKeepTheirNeighbours) {
    for (DWORD bpp : {1u, 4u, 8u}) {
        SCOPED_TRACE(bpp);
        CxImage image(11, 2, bpp);
        const BYTE top = static_cast<BYTE>(image.GetNumColors() - 1);
        for (long x = 0; x < 11; x++) {
            image.SetPixelIndex(x, 1, static_cast<BYTE>(x % (top + 1)));
        }
        image.SetPixelIndex(4, 1, top);
        for (long x = 0; x < 11; x++) {
            EXPECT_EQ(x == 4 ? top : x % (top + 1), image.GetPixelIndex(x, 1));
            EXPECT_EQ(0, image.GetPixelIndex(x, 0));
        }
    }
}

TEST(CxImage, OutsideReadsGiveTheDocumentedFallbacks) {
    CxImage image(2, 2, 8);
    image.SetGrayPalette();
    image.SetPixelIndex(0, 0, 7);
    EXPECT_EQ(7, image.GetPixelIndex(-1, 0));
    EXPECT_EQ(7, image.GetPixelColor(5, 5).red);
    image.SetTransIndex(3);
    EXPECT_EQ(3, image.GetPixelIndex(2, 0));
    EXPECT_EQ(3, image.GetPixelColor(-1, -1).green);
    image.SetPixelIndex(9, 9, 1);  // ignored
}

TEST(CxImage, NearestIndexPrefersTheLowerEntryAndCachesUntilThePaletteChanges) {
    CxImage image(1, 1, 4);
    image.SetPaletteColor(2, 10, 10, 10);
    image.SetPaletteColor(3, 30, 30, 30);
    for (BYTE i = 4; i < 16; i++) {
        image.SetPaletteColor(i, 255, 0, 255);
    }
    image.SetPaletteColor(0, 255, 0, 255);
    image.SetPaletteColor(1, 255, 0, 255);
    EXPECT_EQ(2, image.GetNearestIndex(Quad(20, 20, 20)));
    EXPECT_EQ(2, image.GetNearestIndex(Quad(20, 20, 20)));
    image.SetPaletteColor(3, 20, 20, 20);
    EXPECT_EQ(3, image.GetNearestIndex(Quad(20, 20, 20)));
}

TEST(CxImage, PalettesHaveTheirFixedEntries) {
    CxImage grey(1, 1, 4);
    grey.SetGrayPalette();
    for (BYTE i = 0; i < 16; i++) {
        EXPECT_EQ(i * 17, grey.GetPaletteColor(i).blue);
    }
    // The sixteen colours of the 4-bit palette, as 0xRRGGBB; the 8-bit palette begins with
    // the first eight and ends with the last seven.
    const DWORD sixteen[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    const auto rgb = [](DWORD value) { return Quad(BYTE(value >> 16), BYTE(value >> 8), BYTE(value)); };
    CxImage windows(1, 1, 4);
    windows.SetStdPalette();
    for (BYTE i = 0; i < 16; i++) {
        EXPECT_EQ(rgb(sixteen[i]), windows.GetPaletteColor(i)) << int(i);
    }
    std::map<int, DWORD> fixed = {{8, 0xC0DCC0},   {9, 0xA6CAF0},   {10, 0xFFF0D4}, {11, 0xFFE2B1},
                                  {12, 0xFFD48E},  {13, 0xFFC66B},  {14, 0xFFB848}, {15, 0xFFAA25},
                                  {16, 0xFFAA00},  {17, 0xDC9200},  {18, 0xB97A00}, {19, 0x966200},
                                  {20, 0x734A00},  {21, 0x503200},  {22, 0xFFE3D4}, {225, 0x505000},
                                  {246, 0xFFFBF0}, {247, 0xA0A0A4}, {248, 0x808080}};
    for (int i = 0; i < 8; i++) {
        fixed[i] = sixteen[i];
    }
    for (int i = 0; i < 20; i++) {
        fixed[226 + i] = 0xF2F2F2 - 0x0C0C0C * static_cast<DWORD>(i);
    }
    for (int i = 0; i < 7; i++) {
        fixed[249 + i] = sixteen[9 + i];
    }
    CxImage standard(1, 1, 8);
    standard.SetStdPalette();
    for (const auto& [index, value] : fixed) {
        EXPECT_EQ(rgb(value), standard.GetPaletteColor(static_cast<BYTE>(index))) << index;
    }
}

TEST(CxImage, SettingsCopiesNeverMakeABrokenView) {
    CxImage owner(4, 4, 24);
    CxImage view;
    view.AttachView(&owner);
    EXPECT_FALSE(view.Destroy());
    CxImage copy;
    copy.CopySettings(view);
    EXPECT_TRUE(copy.Create(2, 2, 8) != nullptr);
    EXPECT_TRUE(copy.Destroy());
    CxImage deep(view);
    EXPECT_TRUE(deep.IsValid());
    EXPECT_TRUE(deep.Destroy());
}

TEST(CxImage, DpiSettersWriteThePelsPerMetre) {
    CxImage image(1, 1, 24);
    image.SetXDPI(0);
    image.SetYDPI(300);
    EXPECT_EQ(96, image.GetXDPI());
    const DibHeader* header = static_cast<const DibHeader*>(image.GetDib());
    EXPECT_EQ(3780, header->biXPelsPerMeter);
    EXPECT_EQ(11811, header->biYPelsPerMeter);
}

TEST(CxImage, UnpacksSixteenBitFieldsOfAnyWidth) {
    CxImage image(2, 1, 24);
    const BYTE pixels[4] = {0xFF, 0x7F, 0xE0, 0x03};  // 5-5-5: white, then pure green
    image.UnpackBitfields(pixels, 0x7C00, 0x03E0, 0x001F, 16);
    EXPECT_EQ(Quad(0xF8, 0xF8, 0xF8), image.GetPixelColor(0, 0, false));
    EXPECT_EQ(Quad(0, 0xF8, 0), image.GetPixelColor(1, 0, false));
    const BYTE narrow[4] = {0x07, 0x00, 0x00, 0x00};
    image.UnpackBitfields(narrow, 0x0004, 0x0002, 0x0001, 16);  // one bit per channel
    EXPECT_EQ(Quad(0x80, 0x80, 0x80), image.GetPixelColor(0, 0, false));
}
