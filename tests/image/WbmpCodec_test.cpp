// WBMP decoding and encoding. Sizes are single bytes: standard readers agree only below
// 128, so wide.wbmp (200 pixels) follows this library's layout, not theirs.
#include "image/WbmpCodec.h"

#include "tests/image/CodecTestSupport.h"

#include <gtest/gtest.h>

TEST(WbmpCodec, DecodesOneByteSizesWithOneMeaningWhite) {
    for (const char* name : {"small.wbmp", "wide.wbmp"}) {
        SCOPED_TRACE(name);
        CxImage image = DecodeCodecFixture(name, kImageFormatWbmp);
        EXPECT_EQ(1, image.GetBpp());
        EXPECT_TRUE(MatchesReference(image, std::string(name) + ".rgba"));
        const std::vector<BYTE> bytes = EncodeToBytes(image, kImageFormatWbmp);
        EXPECT_EQ(ReadCodecFixture(name), bytes);
    }
}

TEST(WbmpCodec, ReportsTheReasonOfEachFailure) {
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        const char* error;
    };

    const Case cases[] = {
        {"three bytes", {0, 0, 1}, "Not a WBMP"},
        {"type 1", {1, 0, 1, 1, 0}, "Unsupported WBMP type"},
        {"width 0", {0, 0, 0, 1, 0}, "Corrupted WBMP"},
        {"rows missing", {0, 0, 9, 3, 0xFF, 0x80}, "Corrupted WBMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxImage image;
        EXPECT_FALSE(
            image.DecodeMemory(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), kImageFormatWbmp));
        EXPECT_STREQ(c.error, image.GetLastError());
    }
}

TEST(WbmpCodec, WritesOnlyOneBitImagesOfAtMost255Pixels) {
    CxImage wide(300, 10, 1);
    CxImage colour(4, 4, 24);
    for (CxImage* image : {&wide, &colour}) {
        BYTE* buffer = nullptr;
        long size = 0;
        EXPECT_FALSE(image->EncodeMemory(&buffer, &size, kImageFormatWbmp));
        EXPECT_STREQ("Can't save this image as WBMP", image->GetLastError());
    }
}
