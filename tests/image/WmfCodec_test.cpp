// The portable half of the metafile codec: the placeable header checks and size limits.
#include "image/WmfCodec.h"

#include "image/MemoryImageStream.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

void PutLe16(std::vector<BYTE>& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<BYTE>(value);
    bytes[at + 1] = static_cast<BYTE>(value >> 8);
}

// A placeable header of 100 x 50 units at 1000 units per inch, then a 16-bit metafile
// header of words words (the end record included).
std::vector<BYTE> Placeable(unsigned words) {
    std::vector<BYTE> bytes(22 + 2 * words, 0);
    PutLe16(bytes, 0, 0xCDD7);
    PutLe16(bytes, 2, 0x9AC6);
    PutLe16(bytes, 10, 100);
    PutLe16(bytes, 12, 50);
    PutLe16(bytes, 14, 1000);
    unsigned checksum = 0;
    for (std::size_t i = 0; i < 10; i++) {
        checksum ^= bytes[2 * i] | (bytes[2 * i + 1] << 8);
    }
    PutLe16(bytes, 20, checksum);
    PutLe16(bytes, 22, 1);
    PutLe16(bytes, 24, 9);
    PutLe16(bytes, 26, 0x300);
    PutLe16(bytes, 28, words);
    return bytes;
}

}  // namespace

TEST(WmfCodec, ReadPlaceableChecksKeyChecksumUnitsTypeAndLength) {
    struct Case {
        const char* name;
        std::size_t at;  // byte to change, or 0 for none
        BYTE value;
        std::size_t cut;  // bytes dropped from the end
        bool ok;
    };

    const Case cases[] = {
        {"well formed", 0, 0, 0, true},
        {"wrong key", 1, 0, 0, false},
        {"bad checksum", 20, 0x55, 0, false},
        {"metafile type 3", 22, 3, 0, false},
        {"stream shorter than the metafile", 0, 0, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> bytes = Placeable(12);
        if (c.at != 0) {
            bytes[c.at] = c.value;
        }
        bytes.resize(bytes.size() - c.cut);
        MemoryImageStream stream(bytes.data(), static_cast<DWORD>(bytes.size()));
        PlaceableMetafileHeader header = {};
        std::vector<BYTE> metafile;
        EXPECT_EQ(c.ok, WmfCodec::ReadPlaceable(&stream, header, metafile));
        if (c.ok) {
            EXPECT_EQ(100, header.right);
            EXPECT_EQ(1000, header.unitsPerInch);
            EXPECT_EQ(24u, metafile.size());
        }
    }
}

TEST(WmfCodec, UnitsPerInchOutsideOneTo2540AreRefused) {
    for (unsigned units : {0u, 2541u}) {
        SCOPED_TRACE(units);
        std::vector<BYTE> bytes = Placeable(12);
        PutLe16(bytes, 14, units);
        unsigned checksum = 0;
        for (std::size_t i = 0; i < 10; i++) {
            checksum ^= bytes[2 * i] | (bytes[2 * i + 1] << 8);
        }
        PutLe16(bytes, 20, checksum);
        MemoryImageStream stream(bytes.data(), static_cast<DWORD>(bytes.size()));
        PlaceableMetafileHeader header = {};
        std::vector<BYTE> metafile;
        EXPECT_FALSE(WmfCodec::ReadPlaceable(&stream, header, metafile));
    }
}

TEST(WmfCodec, LimitSizeKeepsTheAspectWithin4000) {
    struct Case {
        long width, height, expectedWidth, expectedHeight;
    };

    const Case cases[] = {
        {8000, 2000, 4000, 1000},
        {2000, 8000, 1000, 4000},
        {10000, 9000, 4000, 3600},
        {300, 200, 300, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        long width = c.width;
        long height = c.height;
        WmfCodec::LimitSize(width, height);
        EXPECT_EQ(c.expectedWidth, width);
        EXPECT_EQ(c.expectedHeight, height);
    }
}

TEST(WmfCodec, EncodingIsNotSupported) {
    CxImage image(2, 2, 24);
    BYTE* buffer = nullptr;
    long size = 0;
    EXPECT_FALSE(image.EncodeMemory(&buffer, &size, kImageFormatWmf));
    EXPECT_STREQ("Save WMF not supported", image.GetLastError());
}
