// The memory-backed image stream.
#include "image/MemoryImageStream.h"

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

TEST(MemoryImageStream, ReadsWholeItemsAndStopsAtTheEnd) {
    unsigned char bytes[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    MemoryImageStream stream(bytes, sizeof(bytes));
    unsigned char out[12] = {};
    EXPECT_EQ(2u, stream.Read(out, 4, 3));
    EXPECT_EQ(10, stream.Tell());
    EXPECT_EQ(10, out[9]);
    EXPECT_EQ(0u, stream.Read(out, 1, 1));
    EXPECT_TRUE(stream.Eof());
}

TEST(MemoryImageStream, SeeksClampAtZeroAndMayPassTheEnd) {
    unsigned char bytes[4] = {};
    MemoryImageStream stream(bytes, sizeof(bytes));
    EXPECT_TRUE(stream.Seek(-5, 0));
    EXPECT_EQ(0, stream.Tell());
    EXPECT_TRUE(stream.Seek(5, 2));
    EXPECT_EQ(9, stream.Tell());
    EXPECT_EQ(1, stream.Error());
    EXPECT_EQ(-1, stream.GetC());
    EXPECT_FALSE(stream.Seek(0, 3));
}

TEST(MemoryImageStream, GrowsInStepsOf4096AndZeroesGaps) {
    MemoryImageStream stream;
    ASSERT_TRUE(stream.Open());
    EXPECT_TRUE(stream.PutC(7));
    EXPECT_EQ(4096u, stream.Capacity());
    std::vector<unsigned char> block(4096, 1);
    ASSERT_TRUE(stream.Seek(0, 0));
    EXPECT_EQ(1u, stream.Write(block.data(), 4096, 1));
    EXPECT_EQ(8192u, stream.Capacity());
    ASSERT_TRUE(stream.Seek(10, 2));
    EXPECT_TRUE(stream.PutC(9));
    EXPECT_EQ(4107, stream.Size());
    EXPECT_EQ(0, stream.GetBuffer(false)[4100]);
}

TEST(MemoryImageStream, CopiesACallersBlockInsteadOfReallocatingIt) {
    unsigned char bytes[3] = {1, 2, 3};
    MemoryImageStream stream(bytes, sizeof(bytes));
    ASSERT_TRUE(stream.Seek(0, 2));
    EXPECT_TRUE(stream.PutC(4));
    unsigned char* grown = stream.GetBuffer(false);
    EXPECT_NE(bytes, grown);
    EXPECT_EQ(0, std::memcmp(grown, "\1\2\3\4", 4));
    EXPECT_EQ(3, bytes[2]);
}

TEST(MemoryImageStream, DetachedBlocksBelongToTheCaller) {
    unsigned char* block = nullptr;
    {
        MemoryImageStream stream;
        ASSERT_TRUE(stream.Open());
        stream.PutC(42);
        block = stream.GetBuffer(true);
    }
    EXPECT_EQ(42, block[0]);
    std::free(block);
}
