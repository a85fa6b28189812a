// Trouble codes and their texts, over every 16-bit code and the texts that must be refused.
#include "diag/DtcCode.h"

#include <gtest/gtest.h>

TEST(DtcCode, ConvertsEveryCodeWithDecimalDigitsBothWays) {
    int converted = 0;
    for (int code = 0; code < 0x10000; ++code) {
        const int first = code & 0xFF;
        const int second = code >> 8;
        const bool decimal = (first & 0x0F) <= 9 && (second >> 4) <= 9 && (second & 0x0F) <= 9;
        CString text = "unchanged";
        ASSERT_EQ(DtcCodeToText(static_cast<WORD>(code), text), decimal) << code;
        if (!decimal) {
            ASSERT_STREQ(text, "unchanged");
            continue;
        }
        ++converted;
        WORD back = 0;
        ASSERT_TRUE(DtcTextToCode(text, back)) << text.GetString();
        ASSERT_EQ(back, code) << text.GetString();
    }
    // Four letters, digits 0-3, then three decimal digits.
    EXPECT_EQ(converted, 4 * 4 * 10 * 10 * 10);
}

TEST(DtcCode, SpellsTheBytesAsTheyCome) {
    const struct {
        BYTE first;
        BYTE second;
        const char* text;
    } cases[] = {
        {0x01, 0x33, "P0133"}, {0xC1, 0x00, "U0100"}, {0x56, 0x34, "C1634"},
        {0x89, 0x00, "B0900"}, {0x34, 0x10, "P3410"}, {0x00, 0x00, "P0000"},
    };

    for (const auto& c : cases) {
        CString text;
        ASSERT_TRUE(DtcCodeToText(static_cast<WORD>(c.first | c.second << 8), text)) << c.text;
        EXPECT_STREQ(text, c.text);
    }
}

TEST(DtcCode, RefusesTextsThatAreNoTroubleCode) {
    const char* const texts[] = {
        "P4123", "p0133", "P013", "P01333", "", "X0133", "|0133", "P0A33", "P01 3", "P-133", " P013",
    };
    for (const char* text : texts) {
        WORD code = 0xBEEF;
        EXPECT_FALSE(DtcTextToCode(text, code)) << text;
        EXPECT_EQ(code, 0xBEEF) << text;
    }
    WORD code = 0xBEEF;
    EXPECT_FALSE(DtcTextToCode(nullptr, code));
}
