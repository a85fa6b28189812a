// Case folding of XML names: only ASCII letters fold.

#include "forms/XmlAsciiCase.h"

#include <gtest/gtest.h>

TEST(XmlAsciiCase, FoldsOnlyAsciiLetters) {
    struct Case {
        char c;
        char lower;
    };

    const Case cases[] = {
        {'A', 'a'},
        {'Z', 'z'},
        {'a', 'a'},
        {'m', 'm'},
        {'@', '@'},
        {'[', '['},
        {'0', '0'},
        {static_cast<char>(0xC4), static_cast<char>(0xC4)},  // a Latin-1 capital stays
        {static_cast<char>(0xDE), static_cast<char>(0xDE)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(row.c)));
        EXPECT_EQ(row.lower, LowerAscii(row.c));
    }
}

TEST(XmlAsciiCase, ComparesWholeTextsWithoutCase) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };

    const Case cases[] = {
        {"FORM", "form", true},   {"Element", "eLEMENT", true}, {"", "", true},
        {"form", "forms", false}, {"forms", "form", false},     {"form", "", false},
        {"@", "`", false},  // one bit apart, but not letters
        {"[", "{", false},        {"\xC4", "\xE4", false},      {"\xC4", "\xC4", true},
        {nullptr, "form", false}, {"form", nullptr, false},     {nullptr, nullptr, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (row.a ? row.a : "(null)") << " / " << (row.b ? row.b : "(null)"));
        EXPECT_EQ(row.equal, EqualsIgnoringAsciiCase(row.a, row.b));
    }
}
