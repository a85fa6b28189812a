// Exchange with Windows: global-memory DIB blocks, bitmaps and icons.
#include "image/CxImage.h"
#include "image/ImageHandleError.h"
#include "tests/image/DcCanvas.h"
#include "tests/image/ImageTestSupport.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace {

CxImage Gradient() {
    return MakeImage(
        3, 2, [](long x, long y) { return Quad(static_cast<BYTE>(40 * x), static_cast<BYTE>(90 * y), 17); });
}

void ExpectSamePixels(const CxImage& expected, const CxImage& actual) {
    ASSERT_EQ(expected.GetWidth(), actual.GetWidth());
    ASSERT_EQ(expected.GetHeight(), actual.GetHeight());
    for (long y = 0; y < static_cast<long>(expected.GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(expected.GetWidth()); x++) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            const RgbQuad a = expected.GetPixelColor(x, y, false);
            const RgbQuad b = actual.GetPixelColor(x, y, false);
            EXPECT_EQ(a.red, b.red);
            EXPECT_EQ(a.green, b.green);
            EXPECT_EQ(a.blue, b.blue);
        }
    }
}

// A global block holding the given bytes.
HGLOBAL BlockOf(const std::vector<BYTE>& bytes) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(handle), bytes.data(), bytes.size());
    GlobalUnlock(handle);
    return handle;
}

std::vector<BYTE> DibHeaderBytes(long width, long height, WORD bpp, DWORD compression, DWORD colors) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bpp;
    header.biCompression = compression;
    header.biClrUsed = colors;
    std::vector<BYTE> bytes(sizeof(header));
    std::memcpy(bytes.data(), &header, sizeof(header));
    return bytes;
}

}  // namespace

TEST(CxImageExchange, CopyToHandleRoundTripsThroughCreateFromHandle) {
    CxImage image = Gradient();
    image.SetXDPI(300);
    HGLOBAL handle = image.CopyToHandle();
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(image.DibSize(), GlobalSize(handle));
    CxImage back;
    ASSERT_TRUE(back.CreateFromHandle(handle));
    ExpectSamePixels(image, back);
    EXPECT_EQ(300, back.GetXDPI());
    EXPECT_EQ(kImageFormatNone, back.GetType());
    GlobalFree(handle);
    EXPECT_EQ(nullptr, CxImage().CopyToHandle());
}

TEST(CxImageExchange, CreateFromHandleReadsPalettesAndDefaultsTheResolution) {
    std::vector<BYTE> bytes = DibHeaderBytes(2, 1, 8, BI_RGB, 2);
    const BYTE tail[] = {1, 2, 3, 0, 4, 5, 6, 0, 1, 0, 0, 0};
    bytes.insert(bytes.end(), tail, tail + sizeof(tail));
    HGLOBAL handle = BlockOf(bytes);
    CxImage image;
    ASSERT_TRUE(image.CreateFromHandle(handle));
    GlobalFree(handle);
    EXPECT_EQ(8, image.GetBpp());
    EXPECT_EQ(1, image.GetPixelIndex(0, 0));
    EXPECT_EQ(6, image.GetPixelColor(0, 0).red);
    EXPECT_EQ(96, image.GetXDPI());
}

TEST(CxImageExchange, CreateFromHandleExpandsRunLengthBlocksWithinBounds) {
    std::vector<BYTE> bytes = DibHeaderBytes(4, 2, 8, BI_RLE8, 2);
    // Palette, then: a run of 4 of index 1, end of line, a run of 9 (passes the row), end.
    const BYTE tail[] = {0, 0, 0, 0, 255, 255, 255, 0, 4, 1, 0, 0, 9, 1, 0, 1};
    bytes.insert(bytes.end(), tail, tail + sizeof(tail));
    HGLOBAL handle = BlockOf(bytes);
    CxImage image;
    ASSERT_TRUE(image.CreateFromHandle(handle));
    GlobalFree(handle);
    for (long x = 0; x < 4; x++) {
        EXPECT_EQ(1, image.GetPixelIndex(x, 0));
    }
}

TEST(CxImageExchange, CreateFromHandleRaisesForCompressionsItCannotRead) {
    struct Case {
        WORD bpp;
        DWORD compression;
        const char* text;
    };

    const Case cases[] = {
        {32, BI_RLE8, "unknown compression"},
        {8, BI_JPEG, "compression type not supported"},
        {4, BI_RLE8, "compression type not supported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<BYTE> bytes = DibHeaderBytes(2, 2, c.bpp, c.compression, 0);
        bytes.resize(bytes.size() + 1100, 0);
        HGLOBAL handle = BlockOf(bytes);
        CxImage image;
        try {
            image.CreateFromHandle(handle);
            ADD_FAILURE() << "no error raised";
        } catch (const ImageHandleError& error) {
            EXPECT_STREQ(c.text, error.what());
        }
        GlobalFree(handle);
    }
}

TEST(CxImageExchange, CreateFromHandleReadsNoFurtherThanTheBlock) {
    // The header claims 64 x 64 pixels; the block ends right after it.
    std::vector<BYTE> bytes = DibHeaderBytes(64, 64, 24, BI_RGB, 0);
    HGLOBAL handle = BlockOf(bytes);
    CxImage image;
    image.CreateFromHandle(handle);
    GlobalFree(handle);
    if (image.IsValid()) {
        EXPECT_EQ(0, image.GetPixelColor(63, 63).red);
    }
}

TEST(CxImageExchange, BitmapsRoundTripWithAndWithoutADc) {
    CxImage image = Gradient();
    DcCanvas canvas(1, 1, Rgb{0, 0, 0});
    for (HDC dc : {static_cast<HDC>(nullptr), canvas.Dc()}) {
        SCOPED_TRACE(dc == nullptr ? "DIB section" : "device bitmap");
        HBITMAP bitmap = image.MakeBitmap(dc);
        ASSERT_NE(nullptr, bitmap);
        CxImage back;
        ASSERT_TRUE(back.CreateFromBitmap(bitmap));
        DeleteObject(bitmap);
        ExpectSamePixels(image, back);
    }
    EXPECT_EQ(nullptr, CxImage().MakeBitmap());
    EXPECT_FALSE(CxImage().CreateFromBitmap(nullptr));
}

TEST(CxImageExchange, PaletteBitmapsKeepTheirIndicesAndColours) {
    CxImage image(4, 1, 8);
    image.SetPaletteColor(3, 9, 8, 7);
    image.SetPixelIndex(2, 0, 3);
    HBITMAP bitmap = image.MakeBitmap();
    CxImage back;
    ASSERT_TRUE(back.CreateFromBitmap(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(8, back.GetBpp());
    EXPECT_EQ(9, back.GetPixelColor(2, 0).red);
    EXPECT_EQ(7, back.GetPixelColor(2, 0).blue);
}

TEST(CxImageExchange, IconMaskBecomesTheAlphaPlane) {
    CxImage colour = MakeImage(8, 8, [](long x, long) { return Quad(static_cast<BYTE>(x * 30), 50, 60); });
    HBITMAP colourBitmap = colour.MakeBitmap();
    // Mask rows are words; bit set = transparent. Top row (first in a top-down bitmap) transparent.
    WORD maskRows[8] = {0xFFFF, 0, 0, 0, 0, 0, 0, 0};
    HBITMAP maskBitmap = CreateBitmap(8, 8, 1, 1, maskRows);
    ICONINFO info = {TRUE, 0, 0, maskBitmap, colourBitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    ASSERT_NE(nullptr, icon);
    CxImage image;
    ASSERT_TRUE(image.CreateFromIcon(icon));
    DestroyIcon(icon);
    ASSERT_TRUE(image.AlphaIsValid());
    EXPECT_EQ(0, image.AlphaGet(3, 7));
    EXPECT_EQ(255, image.AlphaGet(3, 0));
    EXPECT_EQ(90, image.GetPixelColor(3, 0).red);
    EXPECT_FALSE(image.CreateFromIcon(nullptr));
}
