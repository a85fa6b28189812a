// The checks of typed whole numbers: the locale's format, the range with both bounds, the
// accepted lambda 99, and the messages that name the text or the range.
#include "diag/CNumberInput.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const CLocaleNumberFormat kEnglish;
const CString kInvalid = "Attempt to write an invalid element: %s.";
const CString kRange = "Element out of range: %s <- %c%s; %s%c.";

TEST(NumberInput, ChecksLambdaAndTime) {
    struct Case {
        bool lambda;
        const char* text;
        bool accepted;
        int value;
        const char* message;
    };

    const Case cases[] = {
        {true, "99", true, 99, ""},
        {true, "-50", true, -50, ""},
        {true, "50", true, 50, ""},
        {true, "51", false, 0, "Element out of range: 51 <- (-50; 50)."},
        {true, "-51", false, 0, "Element out of range: -51 <- (-50; 50)."},
        {true, "98", false, 0, "Element out of range: 98 <- (-50; 50)."},
        {true, "1.5", false, 0, "Attempt to write an invalid element: 1.5."},
        {true, "", false, 0, "Attempt to write an invalid element: ."},
        {false, "0", true, 0, ""},
        {false, "65535", true, 65535, ""},
        {false, "65536", false, 0, "Element out of range: 65536 <- (0; 65535)."},
        {false, "-1", false, 0, "Element out of range: -1 <- (0; 65535)."},
        {false, "99999999999", false, 0, "Element out of range: 99999999999 <- (0; 65535)."},
        {false, "99999999999999999999999", false, 0,
         "Attempt to write an invalid element: 99999999999999999999999."},
        {false, "12a", false, 0, "Attempt to write an invalid element: 12a."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int value = -7;
        CString message;
        const bool accepted =
            c.lambda ? CNumberInput::CheckLambda(kEnglish, c.text, kInvalid, kRange, value, message)
                     : CNumberInput::CheckNumber(kEnglish, c.text, CNumberInput::kTimeLow,
                                                 CNumberInput::kTimeHigh, kInvalid, kRange, value, message);
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_STREQ(message, c.message);
        if (c.accepted) {
            EXPECT_EQ(value, c.value);
        }
    }
}

CLocaleNumberFormat SignMode(int mode) {
    CLocaleNumberFormat format;
    format.m_negativeMode = mode;
    return format;
}

// The sign forms that the locale's check lets through are read with the sign they show:
// "(5)" and "5-" are minus five, not 0 or plus five.
TEST(NumberInput, ReadsTheLocaleSignFormsWithTheirSign) {
    struct Case {
        int mode;
        const char* text;
        bool accepted;
        int value;
        const char* message;
    };

    const Case cases[] = {
        {0, "(5)", true, -5, ""},
        {0, " (50) ", true, -50, ""},
        {0, "(51)", false, 0, "Element out of range: -51 <- (-50; 50)."},
        {0, "12", true, 12, ""},
        {0, "-5", false, 0, "Attempt to write an invalid element: -5."},
        {2, "- 7", true, -7, ""},
        {3, "5-", true, -5, ""},
        {3, "60-", false, 0, "Element out of range: -60 <- (-50; 50)."},
        {4, "8 -", true, -8, ""},
        {1, "-0", true, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in mode " + std::to_string(c.mode));
        int value = -7;
        CString message;
        EXPECT_EQ(CNumberInput::CheckLambda(SignMode(c.mode), c.text, kInvalid, kRange, value, message),
                  c.accepted);
        EXPECT_STREQ(message, c.message);
        if (c.accepted) {
            EXPECT_EQ(value, c.value);
        }
    }
}

// Digits of another script count by their place in the locale's digit list.
TEST(NumberInput, ReadsTheLocaleDigits) {
    CLocaleNumberFormat format;
    format.m_digits = "abcdefghij";
    int value = 0;
    CString message;
    EXPECT_TRUE(CNumberInput::CheckNumber(format, "cb", 0, 65535, kInvalid, kRange, value, message));
    EXPECT_EQ(value, 21);
}

}  // namespace
