#include "classlib/core/CMemFile.h"

#include "classlib/core/CExceptionGuard.h"
#include "classlib/core/CMemoryException.h"
#include "classlib/core/CNotSupportedException.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(CMemFile, GrowsAsItIsWritten) {
    CMemFile file(4);
    file.Write("header", 6);
    file.Seek(10, CFile::begin);
    file.Write("!", 1);
    EXPECT_EQ(11u, file.GetLength());
    file.SeekToBegin();
    char buffer[16] = {};
    EXPECT_EQ(11u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, std::memcmp(buffer, "header\0\0\0\0!", 11));
    file.SetLength(3);
    EXPECT_EQ(3u, file.GetPosition());
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
}

TEST(CMemFile, WritesIntoAnAttachedBufferButNeverPastIt) {
    BYTE storage[4] = {1, 2, 3, 4};
    CMemFile file(storage, sizeof storage);
    EXPECT_EQ(4u, file.GetLength());
    file.Seek(1, CFile::begin);
    file.Write("\x09", 1);
    EXPECT_EQ(9, storage[1]);
    bool threw = false;
    try {
        file.Write("abcd", 4);
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        threw = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
    }
    EXPECT_TRUE(threw);
    EXPECT_EQ(3, storage[2]);
}

TEST(CMemFile, CannotBeOpenedByName) {
    CMemFile file;
    bool threw = false;
    try {
        file.Open("x", CFile::modeRead);
    } catch (CException* caught) {
        CExceptionGuard e(caught);
        threw = e->IsKindOf(RUNTIME_CLASS(CNotSupportedException));
    }
    EXPECT_TRUE(threw);
}
