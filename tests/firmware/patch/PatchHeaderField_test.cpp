// The patch editor's header checks: the ranges of the seven edits, the month's length on
// saving, the locale's number rule, the messages, and the words the patch stores.
#include "firmware/PatchHeaderField.h"

#include "link/CLocaleNumberFormat.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr char kInvalid[] = "Invalid version element: %s.";
constexpr char kRange[] = "Element out of range: %s <- %c%s; %s%c.";

TEST(PatchHeaderFieldTest, ChecksEachEditAgainstItsRange) {
    struct Case {
        const char* name;
        PatchHeaderField field;
        const char* text;
        PatchHeaderField::Outcome outcome;
        int value;
    };

    const Case cases[] = {
        {"major low", PatchHeaderField::Major(), "1", PatchHeaderField::kValid, 1},
        {"major zero", PatchHeaderField::Major(), "0", PatchHeaderField::kOutOfRange, 0},
        {"major high", PatchHeaderField::Major(), "300", PatchHeaderField::kOutOfRange, 0},
        {"minor", PatchHeaderField::Minor(), " 99 ", PatchHeaderField::kValid, 99},
        {"minor high", PatchHeaderField::Minor(), "100", PatchHeaderField::kOutOfRange, 0},
        {"build", PatchHeaderField::Build(), "1023", PatchHeaderField::kValid, 1023},
        {"branch", PatchHeaderField::Branch(), "64", PatchHeaderField::kOutOfRange, 0},
        {"year", PatchHeaderField::Year(), "1999", PatchHeaderField::kOutOfRange, 0},
        {"month", PatchHeaderField::Month(), "12", PatchHeaderField::kValid, 12},
        {"day", PatchHeaderField::Day(), "31", PatchHeaderField::kValid, 31},
        {"negative", PatchHeaderField::Minor(), "-1", PatchHeaderField::kOutOfRange, 0},
        {"huge", PatchHeaderField::Year(), "99999999999999999999999", PatchHeaderField::kOutOfRange, 0},
        {"decimal", PatchHeaderField::Major(), "1.5", PatchHeaderField::kNotANumber, 0},
        {"letters", PatchHeaderField::Major(), "1a", PatchHeaderField::kNotANumber, 0},
        {"empty", PatchHeaderField::Major(), "", PatchHeaderField::kNotANumber, 0},
    };
    const CLocaleNumberFormat format;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int value = -7;
        EXPECT_EQ(c.field.Check(format, c.text, value), c.outcome);
        EXPECT_EQ(value, c.outcome == PatchHeaderField::kValid ? c.value : -7);
    }
}

TEST(PatchHeaderFieldTest, TheDayOnSavingIsBoundByTheMonthsLength) {
    struct Case {
        int year;
        int month;
        int days;
    };

    const Case cases[] = {{2100, 2, 28}, {2000, 2, 29}, {2024, 2, 29}, {2023, 2, 28}, {2009, 4, 30},
                          {2009, 6, 30}, {2009, 9, 30}, {2009, 11, 30}, {2009, 1, 31}, {2009, 12, 31}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
        EXPECT_EQ(PatchHeaderField::DaysInMonth(c.year, c.month), c.days);
    }
    const CLocaleNumberFormat format;
    int day = 0;
    const PatchHeaderField february2100 = PatchHeaderField::DayOfMonth(2100, 2);
    EXPECT_EQ(february2100.Check(format, "29", day), PatchHeaderField::kOutOfRange);
    EXPECT_EQ(std::string(february2100.Message(PatchHeaderField::kOutOfRange, "29", kInvalid, kRange)),
              "Element out of range: 29 <- (1; 28).");
    EXPECT_EQ(PatchHeaderField::DayOfMonth(2000, 2).Check(format, "29", day), PatchHeaderField::kValid);
}

TEST(PatchHeaderFieldTest, MessagesNameTheTextAndTheRange) {
    const PatchHeaderField major = PatchHeaderField::Major();
    EXPECT_EQ(std::string(major.Message(PatchHeaderField::kOutOfRange, "300", kInvalid, kRange)),
              "Element out of range: 300 <- (1; 255).");
    EXPECT_EQ(std::string(major.Message(PatchHeaderField::kNotANumber, "x1", kInvalid, kRange)),
              "Invalid version element: x1.");
    EXPECT_TRUE(major.Message(PatchHeaderField::kValid, "1", kInvalid, kRange).IsEmpty());
}

TEST(PatchHeaderFieldTest, ALocaleWithItsOwnSignIsReadByItsRule) {
    CLocaleNumberFormat trailing;
    trailing.m_negativeMode = 3;  // "5-"
    int value = 0;
    EXPECT_EQ(PatchHeaderField::Minor().Check(trailing, "5-", value), PatchHeaderField::kOutOfRange);
    EXPECT_EQ(PatchHeaderField::Minor().Check(trailing, "5", value), PatchHeaderField::kValid);
    EXPECT_EQ(value, 5);
}

TEST(PatchHeaderFieldTest, ComposesTheVersionAndBuildWords) {
    EXPECT_EQ(PatchHeaderField::VersionWord(1, 30), 0x011E);
    EXPECT_EQ(PatchHeaderField::BuildWord(5, 1), 0x0405);
    EXPECT_EQ(PatchHeaderField::BuildWord(1023, 63), 0xFFFF);
}

}  // namespace
