// Memory that runs out inside a codec: decoding, encoding and writing several frames
// fail with the library's text instead of letting std::bad_alloc out. This program
// replaces the global operator new so that a test can make every allocation fail for a
// while; it runs natively only, apart from the other image tests.
#include "image/CxImage.h"
#include "image/MemoryImageStream.h"
#include "tests/image/CodecTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::atomic<bool> g_refusing{false};
std::atomic<int> g_refused{0};

// While it lives, every operator new of this process throws std::bad_alloc.
class CRefusedAllocations {
public:
    CRefusedAllocations() {
        g_refused = 0;
        g_refusing = true;
    }

    ~CRefusedAllocations() { g_refusing = false; }

    CRefusedAllocations(const CRefusedAllocations&) = delete;
    CRefusedAllocations& operator=(const CRefusedAllocations&) = delete;
};

}  // namespace

void* operator new(std::size_t size) {
    if (g_refusing) {
        ++g_refused;
        throw std::bad_alloc();
    }
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

constexpr char kOutOfMemory[] = "Can't allocate memory";

CxImage Picture() {
    CxImage image(40, 30, 8);
    image.SetGrayPalette();
    for (long y = 0; y < 30; y++) {
        for (long x = 0; x < 40; x++) {
            image.SetPixelIndex(x, y, static_cast<BYTE>(x * 5 + y));
        }
    }
    return image;
}

}  // namespace

// The codecs whose working buffers come from operator new, in both directions; the PNG
// codec reports its own texts for the same failure.
TEST(AllocationFailure, DecodingAndEncodingFailWithTheLibrarysText) {
    for (const DWORD format : {kImageFormatGif, kImageFormatBmp, kImageFormatIco, kImageFormatTga}) {
        SCOPED_TRACE(format);
        CxImage source = Picture();
        const std::vector<BYTE> bytes = EncodeToBytes(source, format);
        ASSERT_FALSE(bytes.empty());

        CxImage decoded;
        bool done = true;
        {
            CRefusedAllocations refused;
            EXPECT_NO_THROW(done = decoded.DecodeMemory(bytes.data(), static_cast<DWORD>(bytes.size()), format));
        }
        EXPECT_GT(g_refused, 0) << "the decode allocated nothing through operator new";
        EXPECT_FALSE(done);
        EXPECT_FALSE(decoded.IsValid());
        EXPECT_EQ(std::string(kOutOfMemory), decoded.GetLastError());

        MemoryImageStream stream;
        ASSERT_TRUE(stream.Open());
        done = true;
        {
            CRefusedAllocations refused;
            EXPECT_NO_THROW(done = source.EncodeImage(&stream, format));
        }
        EXPECT_GT(g_refused, 0) << "the encode allocated nothing through operator new";
        EXPECT_FALSE(done);
        EXPECT_EQ(std::string(kOutOfMemory), source.GetLastError());
    }
}

TEST(AllocationFailure, WritingSeveralFramesFailsWithTheLibrarysText) {
    CxImage first = Picture();
    CxImage second = Picture();
    second.Negative();
    CxImage* frames[] = {&first, &second};
    CxImage writer;
    MemoryImageStream stream;
    ASSERT_TRUE(stream.Open());
    bool done = true;
    {
        CRefusedAllocations refused;
        EXPECT_NO_THROW(done = writer.EncodeFrames(&stream, frames, 2, kImageFormatGif));
    }
    EXPECT_GT(g_refused, 0);
    EXPECT_FALSE(done);
    EXPECT_EQ(std::string(kOutOfMemory), writer.GetLastError());

    // Once memory is there again the same call succeeds: nothing was left half-done.
    MemoryImageStream again;
    ASSERT_TRUE(again.Open());
    EXPECT_TRUE(writer.EncodeFrames(&again, frames, 2, kImageFormatGif)) << writer.GetLastError();
}
