// Number checks against injected number formats, and the hexadecimal dump.
#include "link/NumberChecks.h"

#include <string>

#include <gtest/gtest.h>

namespace {

CLocaleNumberFormat Format(const char* sign,
                           int mode,
                           const char* separator,
                           const char* digits = "0123456789") {
    CLocaleNumberFormat format;
    format.m_negativeSign = sign;
    format.m_negativeMode = mode;
    format.m_decimalSeparator = separator;
    format.m_digits = digits;
    return format;
}

const CLocaleNumberFormat kEnglish = Format("-", 1, ".");
const CLocaleNumberFormat kGerman = Format("-", 1, ",");

struct Case {
    const char* name;
    CLocaleNumberFormat format;
    bool decimal;
    const char* text;
    bool valid;
};

}  // namespace

TEST(NumberChecks, AcceptAndRefuseTextsByTheLocaleFormat) {
    const Case cases[] = {
        {"integer", kEnglish, false, "12", true},
        {"negative integer", kEnglish, false, "-12", true},
        {"blanks around", kGerman, false, " 12\t", true},
        {"plus sign", kEnglish, false, "+12", false},
        {"blank inside", kEnglish, false, "1 2", false},
        {"trailing sign", kEnglish, false, "12-", false},
        {"empty", kEnglish, false, "", false},
        {"only blanks", kEnglish, false, "   ", false},
        {"decimal in German", kGerman, true, "3,5", true},
        {"separator without fraction", kGerman, true, "3,", true},
        {"negative fraction", kGerman, true, "-0,25", true},
        {"dot in German", kGerman, true, "3.5", false},
        {"no digit before separator", kGerman, true, ",5", false},
        {"decimal in English", kEnglish, true, "3.5", true},
        {"dot is not any character", kEnglish, true, "3x5", false},
        {"integer check refuses a fraction", kGerman, false, "3,5", false},
        {"mode 3 trailing sign", Format("-", 3, "."), false, "12-", true},
        {"mode 3 leading sign", Format("-", 3, "."), false, "-12", false},
        {"mode 2 sign and blank", Format("-", 2, "."), false, "- 12", true},
        {"mode 2 positive", Format("-", 2, "."), true, "12.5", true},
        {"mode 2 sign without blank", Format("-", 2, "."), false, "-12", false},
        {"mode 4 blank and sign", Format("-", 4, ","), true, "1,5 -", true},
        {"mode 4 positive", Format("-", 4, ","), false, "12", true},
        {"mode 0 parentheses", Format("-", 0, ","), true, "(3,5)", true},
        {"mode 0 positive with the locale's separator", Format("-", 0, ","), true, "3,5", true},
        {"mode 0 minus", Format("-", 0, ","), false, "-3", false},
        {"unknown mode as mode 1", Format("-", 9, "."), false, "-7", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": \"" + c.text + "\"");
        const bool valid =
            c.decimal ? IsValidDecimalText(c.format, c.text) : IsValidNumberText(c.format, c.text);
        EXPECT_EQ(valid, c.valid);
    }
}

TEST(NumberChecks, TakeRegularExpressionCharactersInTheLocaleLiterally) {
    const Case cases[] = {
        {"sign star", Format("*", 1, "."), false, "*12", true},
        {"sign star twice", Format("*", 1, "."), false, "**12", false},
        {"sign bracket", Format("[", 1, "."), false, "[12", true},
        {"sign parenthesis", Format("(", 3, "."), false, "12(", true},
        {"separator plus", Format("-", 1, "+"), true, "3+5", true},
        {"separator plus is not a repeat", Format("-", 1, "+"), true, "33", true},
        {"separator backslash", Format("-", 1, "\\"), true, "3\\5", true},
        {"separator caret", Format("-", 1, "^"), true, "3^5", true},
        {"digits with a bracket and dash", Format("-", 1, ".", "0123456]-9"), false, "]-", true},
        {"empty sign", Format("", 1, "."), false, "12", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool valid = false;
        EXPECT_NO_THROW(valid = c.decimal ? IsValidDecimalText(c.format, c.text)
                                          : IsValidNumberText(c.format, c.text));
        EXPECT_EQ(valid, c.valid);
    }
}

TEST(NumberChecks, FormatBytesAsSpacedHex) {
    const BYTE bytes[] = {0x01, 0xAB, 0x00, 0xF0};
    CString text = "old";
    FormatHexBytes(2, bytes, text);
    EXPECT_STREQ(text, "01 AB");
    FormatHexBytes(4, bytes, text);
    EXPECT_STREQ(text, "01 AB 00 F0");
    FormatHexBytes(0, bytes, text);
    EXPECT_STREQ(text, "");
}
