#include "classlib/core/CStdioFile.h"

#include "TempFolder.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string RawBytes(const std::string& path) {
    CFile file(path.c_str(), CFile::modeRead);
    std::string bytes(file.GetLength(), '\0');
    bytes.resize(file.Read(&bytes[0], static_cast<UINT>(bytes.size())));
    return bytes;
}

void WriteRaw(const std::string& path, const std::string& bytes) {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

}  // namespace

TEST(CStdioFile, WritesLinesEndedByCarriageReturnAndLineFeed) {
    TempFolder folder;
    const std::string path = folder.File("grid.txt");
    {
        CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.WriteString("a\tb\n");
        file.WriteString("c\n");
    }
    EXPECT_EQ("a\tb\r\nc\r\n", RawBytes(path));
    {
        CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString("a\n");
    }
    EXPECT_EQ("a\n", RawBytes(path));
}

TEST(CStdioFile, ReadsLinesWithoutTheirEnds) {
    TempFolder folder;
    const std::string path = folder.File("freeze.log");
    WriteRaw(path, "first\r\nsecond\nlone\rcr\r\n\r\nlast");
    CStdioFile file(path.c_str(), CFile::modeRead);
    const char* expected[] = {"first", "second", "lone\rcr", "", "last"};
    CString line;
    for (const char* text : expected) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_STREQ(text, line);
    }
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_STREQ("", line);
}

TEST(CStdioFile, ReadsIntoABufferUpToItsSize) {
    TempFolder folder;
    const std::string path = folder.File("lines.txt");
    WriteRaw(path, "abcdef\r\ngh");
    CStdioFile file(path.c_str(), CFile::modeRead);
    char buffer[5];
    ASSERT_NE(nullptr, file.ReadString(buffer, sizeof buffer));
    EXPECT_STREQ("abcd", buffer);
    ASSERT_NE(nullptr, file.ReadString(buffer, sizeof buffer));
    EXPECT_STREQ("ef\n", buffer);
    ASSERT_NE(nullptr, file.ReadString(buffer, sizeof buffer));
    EXPECT_STREQ("gh", buffer);
    EXPECT_EQ(nullptr, file.ReadString(buffer, sizeof buffer));
}

TEST(CStdioFile, KnowsItsPositionBehindTheReadAhead) {
    TempFolder folder;
    const std::string path = folder.File("long.txt");
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    WriteRaw(path, text);
    CStdioFile file(path.c_str(), CFile::modeReadWrite);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(16u, file.GetPosition());
    // Writing goes where reading stopped, not after the bytes read ahead.
    file.WriteString("LINE 2\n");
    file.SeekToBegin();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(file.ReadString(line));
    }
    EXPECT_STREQ("LINE 2", line);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_STREQ("line 3", line);
}
