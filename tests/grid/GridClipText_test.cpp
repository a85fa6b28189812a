// Splitting pasted text into lines and fields, and joining cells for the clipboard.
#include "grid/GridClipText.h"

#include "classlib/core/CNumberLocale.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

typedef std::vector<std::vector<std::string>> Lines;

Lines Split(const char* text) {
    Lines lines;
    for (const GridClipLine& line : SplitGridClipText(text)) {
        std::vector<std::string> fields;
        for (const CString& field : line) {
            fields.emplace_back(field.GetString());
        }
        lines.push_back(fields);
    }
    return lines;
}

}  // namespace

TEST(GridClipText, SplitsAtLineFeedsAndTheFirstTabOrCommaAndTrims) {
    struct Case {
        const char* name;
        const char* text;
        Lines expected;
    };

    const Case cases[] = {
        {"commas with blanks", "1, 2\n3,4", {{"1", "2"}, {"3", "4"}}},
        {"CR LF lines and tabs", "a\tb\r\nc\td", {{"a", "b"}, {"c", "d"}}},
        {"mixed separators", "a,b\tc", {{"a", "b", "c"}}},
        {"empty field between separators", "a,,b", {{"a", "", "b"}}},
        {"leading separator keeps the column", "\tb", {{"", "b"}}},
        {"separator at the line end starts no field", "1,2,\r\n3", {{"1", "2"}, {"3"}}},
        {"blank line has no fields but counts", "1\n \n2", {{"1"}, {}, {"2"}}},
        {"text after the last line feed", "1\n", {{"1"}, {}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, Split(c.text)) << c.name;
    }
}

// Under a language with a decimal comma a pasted "1,5" stays one number; Tabs still divide.
TEST(GridClipText, ADecimalCommaStaysInItsField) {
    CNumberLocale::SetDecimalSeparator(',');
    const Lines comma = Split("1,5\t-2,25\r\n3\t4,0");
    CNumberLocale::SetDecimalSeparator('.');
    EXPECT_EQ(comma, (Lines{{"1,5", "-2,25"}, {"3", "4,0"}}));
    EXPECT_EQ(Split("1,5\t2"), (Lines{{"1", "5", "2"}}));
}

TEST(GridClipText, JoinsWithTabsAndCrLfAndNothingAfterTheEnd) {
    const std::vector<GridClipLine> lines = {{"A", "", "C"}, {"D", "E", "F"}};
    EXPECT_STREQ("A\t\tC\r\nD\tE\tF", JoinGridClipText(lines).GetString());
    EXPECT_STREQ("", JoinGridClipText({}).GetString());
}

TEST(GridClipText, CopiedTextSplitsBackIntoTheSameFields) {
    const std::vector<GridClipLine> lines = {{"x", "y"}, {"", "z"}};
    const std::vector<GridClipLine> back = SplitGridClipText(JoinGridClipText(lines));
    ASSERT_EQ(2u, back.size());
    EXPECT_STREQ("x", back[0][0].GetString());
    EXPECT_STREQ("y", back[0][1].GetString());
    EXPECT_STREQ("", back[1][0].GetString());
    EXPECT_STREQ("z", back[1][1].GetString());
}
