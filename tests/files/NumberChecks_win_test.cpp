// Number checks with the locale settings that Windows gives for English and German.
#include "link/NumberChecks.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kEnglish = 1033;
constexpr DWORD kGerman = 1031;

}  // namespace

TEST(NumberChecksWindows, FollowTheEnglishAndGermanLocales) {
    struct Case {
        DWORD locale;
        bool decimal;
        const char* text;
        bool valid;
    };

    const Case cases[] = {
        {kEnglish, false, "12", true},   {kEnglish, false, "-12", true},  {kEnglish, false, "+12", false},
        {kEnglish, false, "12-", false}, {kEnglish, true, "3.5", true},   {kEnglish, true, "3,5", false},
        {kEnglish, true, "3x5", false},  {kGerman, false, " -12 ", true}, {kGerman, false, "1 2", false},
        {kGerman, true, "3,5", true},    {kGerman, true, "3,", true},     {kGerman, true, "-0,25", true},
        {kGerman, true, "3.5", false},   {kGerman, true, ",5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.locale) + ": \"" + c.text + "\"");
        const bool valid =
            c.decimal ? IsValidDecimalText(c.locale, c.text) : IsValidNumberText(c.locale, c.text);
        EXPECT_EQ(valid, c.valid);
    }
}

TEST(NumberChecksWindows, ReadTheLocaleFormat) {
    const CLocaleNumberFormat german = CLocaleNumberFormat::FromLocale(kGerman);
    EXPECT_EQ(german.m_decimalSeparator, ",");
    EXPECT_EQ(german.m_negativeSign, "-");
    EXPECT_EQ(german.m_digits, "0123456789");
    EXPECT_EQ(CLocaleNumberFormat::FromLocale(kEnglish).m_decimalSeparator, ".");
}
