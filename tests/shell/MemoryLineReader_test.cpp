// The MAP line reader: comments, keys without text, every line ending, the last line without
// one, blanks kept inside and after the text, and bytes of 0x80 and above.
#include "shell/MemoryLineReader.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries ReadAll(const std::string& bytes) {
    MemoryLineReader reader(bytes.data(), bytes.size());
    Entries entries;
    CString key;
    CString text;
    while (reader.ReadLine(key, text)) {
        entries.emplace_back(std::string(key.GetString(), static_cast<size_t>(key.GetLength())),
                             std::string(text.GetString(), static_cast<size_t>(text.GetLength())));
    }
    return entries;
}

}  // namespace

TEST(MemoryLineReader, ReadsTheExactKeyAndTextOfEveryLineShape) {
    struct Case {
        const char* name;
        std::string bytes;
        Entries expected;
    };

    const Case cases[] = {
        {"a commented-out entry is no entry",
         "//1C\tOBD standards this vehicle conforms to\r\n1D\tOxygen sensors present\r\n",
         {{"1D", "Oxygen sensors present"}}},
        {"a comment after leading blanks", "  \t// header\r\n01\tA\r\n", {{"01", "A"}}},
        {"a comment on the last line without line end", "01\tA\r\n// end", {{"01", "A"}}},
        {"a slash inside key and text is ordinary", "A/B x/y\r\n", {{"A/B", "x/y"}}},
        {"a key alone", "P0100\r\nP0101 Text\r\n", {{"P0100", ""}, {"P0101", "Text"}}},
        {"a key followed only by blanks", "P0100 \t \r\nP0101 Text", {{"P0100", ""}, {"P0101", "Text"}}},
        {"the last line without line end", "01\tA\r\n02\tB c", {{"01", "A"}, {"02", "B c"}}},
        {"a lone key at the end of the data", "01\tA\nAB", {{"01", "A"}, {"AB", ""}}},
        {"a key and blanks at the end of the data", "AB \t", {{"AB", ""}}},
        {"CR LF line ends", "01\tA\r\n02\tB\r\n", {{"01", "A"}, {"02", "B"}}},
        {"LF line ends", "01\tA\n02\tB\n", {{"01", "A"}, {"02", "B"}}},
        {"CR line ends", "01\tA\r02\tB\r", {{"01", "A"}, {"02", "B"}}},
        {"mixed ends and blank lines", "\r\n\n01\tA\r\r\n\n02\tB\n\r", {{"01", "A"}, {"02", "B"}}},
        {"trailing blanks stay in the text", "06\tEOBD  \t \r\n", {{"06", "EOBD  \t "}}},
        {"inner TABs stay in the text", "07\tA\tB  C\r\n", {{"07", "A\tB  C"}}},
        {"every blank separates key and text", "K \t\v\f T\r\n", {{"K", "T"}}},
        {"blanks before the key are skipped", " \v\f\t K T\r\n", {{"K", "T"}}},
        {"a single space separates",
         "P0100 Mass or Volume Air Flow Circuit Malfunction\r\n",
         {{"P0100", "Mass or Volume Air Flow Circuit Malfunction"}}},
        {"bytes of 0x80 and above",
         "\xC4\xD6\tGr\xFC\xDF\xA0x\r\n\x80 \xFF",
         {{"\xC4\xD6", "Gr\xFC\xDF\xA0x"}, {"\x80", "\xFF"}}},
        {"only blanks and comments", " \r\n\t\n// x\r\n/\r\n", {}},
        {"no bytes", "", {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, ReadAll(row.bytes));
    }
}

TEST(MemoryLineReader, ReadsOnlyTheGivenSize) {
    const std::string bytes = "01\tA\r\n02\tBC\r\n03\tD";
    MemoryLineReader reader(bytes.data(), 10);
    CString key;
    CString text;
    ASSERT_TRUE(reader.ReadLine(key, text));
    ASSERT_TRUE(reader.ReadLine(key, text));
    EXPECT_STREQ("02", key);
    EXPECT_STREQ("B", text);
    EXPECT_FALSE(reader.ReadLine(key, text));
}

TEST(MemoryLineReader, StaysAtTheEndAndRestartsOnInit) {
    const std::string bytes = "01\tA";
    MemoryLineReader reader;
    CString key = "old";
    CString text = "old";
    EXPECT_FALSE(reader.ReadLine(key, text));
    EXPECT_TRUE(key.IsEmpty());
    EXPECT_TRUE(text.IsEmpty());

    reader.Init(bytes.data(), bytes.size());
    EXPECT_TRUE(reader.ReadLine(key, text));
    EXPECT_FALSE(reader.ReadLine(key, text));
    EXPECT_FALSE(reader.ReadLine(key, text));

    reader.Init(bytes.data(), bytes.size());
    ASSERT_TRUE(reader.ReadLine(key, text));
    EXPECT_STREQ("01", key);
    EXPECT_STREQ("A", text);

    reader.Init(nullptr, 5);
    EXPECT_FALSE(reader.ReadLine(key, text));
}
