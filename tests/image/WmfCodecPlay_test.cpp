// Playing metafiles through GDI: enhanced and placeable files made with GDI itself.
#include "image/CxImage.h"

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

namespace {

// An enhanced metafile whose frame is width x height pixels: a red left half.
std::vector<BYTE> RedHalfMetafile(long width, long height) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT half = {0, 0, width / 2, height};
    FillRect(dc, &half, red);
    DeleteObject(red);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<BYTE> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(metafile);
    return bytes;
}

void PutLe16(std::vector<BYTE>& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<BYTE>(value);
    bytes[at + 1] = static_cast<BYTE>(value >> 8);
}

// The same picture as a placeable 16-bit metafile of width x height units at 96 per inch.
std::vector<BYTE> Placeable(const std::vector<BYTE>& enhanced, long width, long height) {
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(enhanced.size()), enhanced.data());
    HDC screen = GetDC(nullptr);
    const UINT size = GetWinMetaFileBits(metafile, 0, nullptr, MM_ANISOTROPIC, screen);
    std::vector<BYTE> bytes(22 + size, 0);
    GetWinMetaFileBits(metafile, size, bytes.data() + 22, MM_ANISOTROPIC, screen);
    ReleaseDC(nullptr, screen);
    DeleteEnhMetaFile(metafile);
    PutLe16(bytes, 0, 0xCDD7);
    PutLe16(bytes, 2, 0x9AC6);
    PutLe16(bytes, 10, static_cast<unsigned>(width));
    PutLe16(bytes, 12, static_cast<unsigned>(height));
    PutLe16(bytes, 14, 96);
    unsigned checksum = 0;
    for (std::size_t i = 0; i < 10; i++) {
        checksum ^= bytes[2 * i] | (bytes[2 * i + 1] << 8);
    }
    PutLe16(bytes, 20, checksum);
    return bytes;
}

}  // namespace

TEST(WmfCodecPlay, EnhancedMetafilesRenderAtTheirBounds) {
    const std::vector<BYTE> bytes = RedHalfMetafile(40, 20);
    CxImage image;
    ASSERT_TRUE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatWmf))
        << image.GetLastError();
    EXPECT_EQ(kImageFormatWmf, image.GetType());
    EXPECT_NEAR(40, static_cast<long>(image.GetWidth()), 1);
    EXPECT_NEAR(20, static_cast<long>(image.GetHeight()), 1);
    EXPECT_EQ(255, image.GetPixelColor(2, 10).red);
    EXPECT_EQ(0, image.GetPixelColor(2, 10).green);
    EXPECT_EQ(255, image.GetPixelColor(static_cast<long>(image.GetWidth()) - 3, 10).green);
}

TEST(WmfCodecPlay, PlaceableMetafilesRenderAtTheirBoxInScreenPixels) {
    const std::vector<BYTE> bytes = Placeable(RedHalfMetafile(40, 20), 96, 48);
    CxImage image;
    ASSERT_TRUE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatWmf))
        << image.GetLastError();
    HDC screen = GetDC(nullptr);
    const long dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(96 * dpi / 96, static_cast<long>(image.GetWidth()));
    EXPECT_EQ(48 * dpi / 96, static_cast<long>(image.GetHeight()));
    EXPECT_EQ(255, image.GetPixelColor(3, static_cast<long>(image.GetHeight()) / 2).red);
    EXPECT_EQ(0, image.GetPixelColor(3, static_cast<long>(image.GetHeight()) / 2).green);
}

TEST(WmfCodecPlay, ABadChecksumFallsBackToEnhancedAndThenFails) {
    std::vector<BYTE> bytes = Placeable(RedHalfMetafile(40, 20), 96, 48);
    bytes[20] ^= 1;
    CxImage image;
    EXPECT_FALSE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatWmf));
    EXPECT_STREQ("corrupted WMF", image.GetLastError());
}

TEST(WmfCodecPlay, LargeMetafilesAreLimitedTo4000) {
    const std::vector<BYTE> bytes = RedHalfMetafile(8000, 2000);
    CxImage image;
    ASSERT_TRUE(image.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), kImageFormatWmf))
        << image.GetLastError();
    EXPECT_EQ(4000u, image.GetWidth());
    EXPECT_NEAR(1000, static_cast<long>(image.GetHeight()), 1);
}
