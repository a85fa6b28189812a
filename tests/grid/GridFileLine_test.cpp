// Splitting a line of a grid text file into its fields.
#include "grid/GridFileLine.h"

#include <vector>

#include <gtest/gtest.h>

TEST(GridFileLine, SplitsAtTheSeparatorAndDropsOnlyAnEmptyLastField) {
    struct Case {
        const char* name;
        const char* line;
        std::vector<const char*> fields;
    };

    const Case cases[] = {
        {"three fields", "a,b,c", {"a", "b", "c"}},
        {"empty field inside", "a,,c", {"a", "", "c"}},
        {"separator at the end", "a,b,", {"a", "b"}},
        {"empty line", "", {}},
        {"line feed ends the field", "a,b\n", {"a", "b"}},
        {"other separators are text", "a;b,c", {"a;b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CString> fields = SplitGridFileLine(c.line, ',');
        ASSERT_EQ(c.fields.size(), fields.size());
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_STREQ(c.fields[i], fields[i]);
        }
    }
}

TEST(GridFileLine, KeepsALongLineInOnePiece) {
    CString line(std::string(3000, 'x').c_str());
    line += ",y";
    const std::vector<CString> fields = SplitGridFileLine(line, ',');
    ASSERT_EQ(2u, fields.size());
    EXPECT_EQ(3000, fields[0].GetLength());
}
