// Decode and encode dispatch and their wrappers.
#include "image/CxImage.h"
#include "image/MemoryImageStream.h"
#include "tests/image/ImageTestSupport.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

TEST(CxImageIo, UnknownFormatsAndEmptyInputsGiveTheirTexts) {
    CxImage image(2, 2, 24);
    MemoryImageStream stream;
    stream.Open();
    EXPECT_FALSE(image.EncodeImage(&stream, 42));
    EXPECT_STREQ("Encode: Unknown format", image.GetLastError());
    EXPECT_FALSE(image.EncodeFrames(&stream, nullptr, 0, kImageFormatPng));
    EXPECT_STREQ("Multipage Encode, Unsupported operation for this format", image.GetLastError());
    EXPECT_FALSE(image.EncodeImage(nullptr, kImageFormatPng));
    EXPECT_STREQ("null file handler", image.GetLastError());
    CxImage empty;
    EXPECT_FALSE(empty.EncodeImage(&stream, kImageFormatPng));
    EXPECT_STREQ("null image!!!", empty.GetLastError());
    const BYTE text[] = "not an image at all";
    EXPECT_FALSE(image.DecodeMemory(text, sizeof(text), kImageFormatNone));
    EXPECT_STREQ("Decode: Unknown or wrong format", image.GetLastError());
    EXPECT_TRUE(image.IsValid());
}

TEST(CxImageIo, EncodeMemoryWantsAnEmptyBuffer) {
    CxImage image(2, 2, 24);
    BYTE marker = 0;
    BYTE* buffer = &marker;
    long size = 0;
    EXPECT_FALSE(image.EncodeMemory(&buffer, &size, kImageFormatPng));
    EXPECT_STREQ("the buffer must be empty", image.GetLastError());
    EXPECT_EQ(&marker, buffer);
}

TEST(CxImageIo, LoadFileKeepsTheAskedFormatsErrorAndProbesOtherwise) {
    const std::string text = FixturePath("not-an-image.txt");
    const std::string png = FixturePath("rgba8.png");
    CxImage image;
    EXPECT_FALSE(image.LoadFile(text.c_str(), kImageFormatPng));
    EXPECT_STREQ("Not a PNG file", image.GetLastError());
    EXPECT_TRUE(image.LoadFile(png.c_str(), kImageFormatBmp));
    EXPECT_EQ(7u, image.GetWidth());
}

TEST(CxImageIo, EncodeRgbaWritesBottomRowFirst) {
    CxImage image(2, 2, 24);
    image.AlphaCreate();
    image.SetPixelColor(0, 0, Quad(1, 2, 3, 4), true);
    image.SetPixelColor(1, 1, Quad(5, 6, 7, 8), true);
    BYTE* buffer = nullptr;
    long size = 0;
    ASSERT_TRUE(image.EncodeRgbaMemory(&buffer, &size));
    ASSERT_EQ(16, size);
    const std::vector<BYTE> bytes(buffer, buffer + size);
    std::free(buffer);
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4, 0, 0, 0, 255, 0, 0, 0, 255, 5, 6, 7, 8}), bytes);
}
