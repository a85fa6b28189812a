// The settings fields' check and store, without windows: the language's number format, the
// inclusive range, and the parameter left alone on refusal.
#include "calib/CalibSettingsField.h"

#include "link/CLocaleNumberFormat.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(CalibSettingsField, StoresOnlyNumbersOfItsKindWithinItsRange) {
    struct Row {
        const char* text;
        bool decimal;
        bool ranged;
        bool stored;
        double value;  // the parameter afterwards
    };

    const Row rows[] = {
        {"1000", false, true, true, 1000},
        {"20000", false, true, true, 20000},
        {"999", false, true, false, 4000},
        {"20001", false, true, false, 4000},
        {" 1500 ", false, true, true, 1500},
        {"-5", false, false, true, -5},
        {"1.5", false, false, false, 4000},
        {"12a", false, false, false, 4000},
        {"", false, false, false, 4000},
        {"99999999999", false, false, true, 2147483647.0},
        {"-99999999999", false, false, true, -2147483648.0},
        {"45", true, true, true, 45.0},
        {"45.5", true, true, false, 2.0},
        {"0.000001", true, false, true, 0.000001},
        {"-2.25", true, false, true, -2.25},
        {"2,5", true, false, false, 2.0},
        {"x", true, false, false, 2.0},
    };
    const CLocaleNumberFormat format;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        int whole = 4000;
        double decimal = 2.0;
        CalibSettingsField field{1, 1, nullptr, nullptr, row.ranged, 0.0, 0.0};
        if (row.decimal) {
            field.decimal = &decimal;
            field.maximum = 45.0;
        } else {
            field.whole = &whole;
            field.minimum = 1000;
            field.maximum = 20000;
        }
        EXPECT_EQ(field.Store(format, row.text), row.stored);
        EXPECT_DOUBLE_EQ(row.decimal ? decimal : static_cast<double>(whole), row.value);
    }
}

// A decimal is read with the language's separator, whatever the C runtime's locale says.
TEST(CalibSettingsField, ReadsADecimalWithTheLanguagesSeparator) {
    struct Row {
        const char* separator;
        const char* text;
        bool stored;
        double value;
    };

    const Row rows[] = {
        {",", "1,5", true, 1.5}, {",", "-0,25", true, -0.25}, {",", "1.5", false, 2.0},
        {".", "1.5", true, 1.5}, {".", "1,5", false, 2.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\" with \"" + row.separator + "\"");
        CLocaleNumberFormat format;
        format.m_decimalSeparator = row.separator;
        double decimal = 2.0;
        const CalibSettingsField field{1, 1, nullptr, &decimal, false, 0.0, 0.0};
        EXPECT_EQ(field.Store(format, row.text), row.stored);
        EXPECT_DOUBLE_EQ(decimal, row.value);
    }
}

TEST(CalibSettingsField, ShowsWholeNumbersPlainAndDecimalsWithSixPlaces) {
    int whole = -40;
    double decimal = 0.0125;
    EXPECT_EQ(std::string(CalibSettingsField{1, 1, &whole, nullptr, false, 0, 0}.Format()), "-40");
    EXPECT_EQ(std::string(CalibSettingsField{1, 1, nullptr, &decimal, false, 0, 0}.Format()), "0.012500");
}

}  // namespace
