// The trace list and "interrupted.log": stamping, the 100-line limit, blocks and trimming.
#include "link/CCommTrace.h"

#include "link/CInterruptedLog.h"
#include "tests/link/CFakeClock.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string TempPath(const char* name) {
    return (::testing::TempDir() + name);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(CCommTrace, StampsLinesAndKeepsTheLastHundred) {
    CFakeClock clock;
    CCommTrace trace(clock);
    for (int i = 0; i <= 100; ++i) {
        trace.Add("line " + std::to_string(i));
    }
    ASSERT_EQ(100u, trace.Lines().size());
    EXPECT_EQ("[2024-05-06 07:08:09.010] line 1\n", trace.Lines().front());
    EXPECT_EQ("[2024-05-06 07:08:09.010] line 100\n", trace.Lines().back());
}

TEST(CCommTrace, FormatsBytesAsUpperCaseHexSeparatedByBlanks) {
    const BYTE bytes[] = {0xAA, 0x01, 0x0f};
    EXPECT_EQ("AA 01 0F", CCommTrace::FormatBytes(bytes, 3));
    EXPECT_EQ("", CCommTrace::FormatBytes(bytes, 0));
}

TEST(CInterruptedLog, AppendsOneBlockAndEmptiesTheLines) {
    const std::string path = TempPath("interrupted_append.log");
    std::remove(path.c_str());
    CInterruptedLog log(path);
    std::deque<std::string> lines = {"a\n", "b\n"};
    ASSERT_TRUE(log.AppendBlock(lines));
    EXPECT_TRUE(lines.empty());
    lines = {"c\n"};
    ASSERT_TRUE(log.AppendBlock(lines));
    EXPECT_EQ("----====****====----\n\na\nb\n\n\n----====****====----\n\nc\n\n\n", ReadAll(path));
    std::remove(path.c_str());
}

TEST(CInterruptedLog, KeepsTheLinesWhenTheFileCannotBeOpened) {
    CInterruptedLog log(TempPath("no-such-folder/interrupted.log"));
    std::deque<std::string> lines = {"a\n"};
    EXPECT_FALSE(log.AppendBlock(lines));
    EXPECT_EQ(1u, lines.size());
}

TEST(CInterruptedLog, CutsAnOversizeLogToItsNewestBlocks) {
    const std::string path = TempPath("interrupted_trim.log");
    std::remove(path.c_str());
    const std::string separator = CInterruptedLog::kSeparator;
    const std::string block = separator + std::string(100 * 1024 - separator.size(), 'x');
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 15; ++i) {
            out << block;
        }
    }
    CInterruptedLog log(path);
    std::deque<std::string> lines = {"last\n"};
    ASSERT_TRUE(log.AppendBlock(lines));
    const std::string contents = ReadAll(path);
    EXPECT_LT(contents.size(), CInterruptedLog::kMaxFileBytes);
    EXPECT_EQ(0u, contents.find(separator));
    EXPECT_EQ(10u * block.size() + separator.size() + 9u, contents.size());
    std::remove(path.c_str());
}

TEST(CInterruptedLog, KeepsTheNewestBytesOfALogWithoutSeparators) {
    const std::string contents(CInterruptedLog::kMaxFileBytes + 10, 'y');
    EXPECT_EQ(CInterruptedLog::kMaxFileBytes, CInterruptedLog::TrimmedContents(contents).size());
}

TEST(CInterruptedLog, TakesTheLastSeparatorWhenNoneLeavesLessThanTheLimit) {
    const std::string separator = CInterruptedLog::kSeparator;
    const std::string contents =
        separator + "a" + separator + std::string(CInterruptedLog::kMaxFileBytes, 'z');
    EXPECT_EQ(separator + std::string(CInterruptedLog::kMaxFileBytes, 'z'),
              CInterruptedLog::TrimmedContents(contents));
}
