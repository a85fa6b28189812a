#include "classlib/core/CFloatFormatter.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

TEST(CFloatFormatter, ExpandsDoublesExactly) {
    const struct {
        const char* name;
        double value;
        const char* digits;
        int pointPos;
    } rows[] = {
        {"one", 1.0, "1", 1},
        {"one eighth", 0.125, "125", 0},
        {"2.675 as stored", 2.675, "267499999999999982236431605997495353221893310546875", 1},
        {"a power of two", 1024.0, "1024", 4},
        {"2^64", 18446744073709551616.0, "18446744073709551616", 20},
        {"a small value", 0.001, "1000000000000000020816681711721685132943093776702880859375", -2},
        {"zero", 0.0, "", 0},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CFloatFormatter::Digits number = CFloatFormatter::ExactDigits(row.value);
        EXPECT_EQ(row.digits, number.digits);
        EXPECT_EQ(row.pointPos, number.pointPos);
    }
}

TEST(CFloatFormatter, ExpandsTheSmallestAndLargestDoubles) {
    const CFloatFormatter::Digits tiny = CFloatFormatter::ExactDigits(std::ldexp(1.0, -1074));
    EXPECT_EQ(751u, tiny.digits.size());
    EXPECT_EQ("494065645841246544", tiny.digits.substr(0, 18));
    EXPECT_EQ(-323, tiny.pointPos);
    const CFloatFormatter::Digits huge = CFloatFormatter::ExactDigits(1.7976931348623157e308);
    EXPECT_EQ(309, huge.pointPos);
    EXPECT_EQ("17976931348623157", huge.digits.substr(0, 17));
}

TEST(CFloatFormatter, RoundsDigitStringsHalfUp) {
    const struct {
        const char* name;
        const char* digits;
        int pointPos;
        int count;
        const char* expectedDigits;
        int expectedPointPos;
    } rows[] = {
        {"tie rounds up", "125", 0, 2, "13", 0},
        {"below a tie", "1249", 0, 2, "12", 0},
        {"carry through nines", "9995", 1, 3, "1", 2},
        {"round to nothing from a five", "5", 0, 0, "1", 1},
        {"round to nothing from a four", "4", 0, 0, "", 0},
        {"negative count", "9", -1, -1, "", 0},
        {"trailing zeros go", "1204", 1, 3, "12", 1},
        {"count beyond the digits", "12", 1, 5, "12", 1},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CFloatFormatter::Digits number{row.digits, row.pointPos};
        CFloatFormatter::RoundDigits(number, row.count);
        EXPECT_EQ(row.expectedDigits, number.digits);
        EXPECT_EQ(row.expectedPointPos, number.pointPos);
    }
}

TEST(CFloatFormatter, WritesSubnormalAndHugeValuesInFixedForm) {
    CFloatFormatter::Style style;
    style.precision = 3;
    EXPECT_EQ("0.000", CFloatFormatter::Fixed(std::ldexp(1.0, -1074), style));
    style.precision = 0;
    const std::string huge = CFloatFormatter::Fixed(1.7976931348623157e308, style);
    EXPECT_EQ(309u, huge.size());
    EXPECT_EQ("17976931348623157000", huge.substr(0, 20));
    style.precision = 2;
    EXPECT_EQ("4.94e-324", CFloatFormatter::Exponent(std::ldexp(1.0, -1074), style));
}
