#include "classlib/core/CNumberLocale.h"

#include "SeparatorScope.h"

#include <cmath>

#include <gtest/gtest.h>

TEST(CNumberLocale, ParsesNumbersWithTheSeparatorOfTheLocale) {
    const struct {
        const char* name;
        char separator;
        const char* text;
        int used;
        double value;
    } rows[] = {
        {"comma", ',', "3,5", 3, 3.5},
        {"point under a comma locale stops the number", ',', "1.5", 1, 1.0},
        {"point", '.', "3.5", 3, 3.5},
        {"blanks, sign, exponent and a tail", '.', "  -2.25e2x", 9, -225.0},
        {"plus sign and no integer part", '.', "+.5", 3, 0.5},
        {"exponent without digits is left out", '.', "1e", 1, 1.0},
        {"trailing separator", ',', "7,", 2, 7.0},
        {"no number", '.', "abc", 0, 0.0},
        {"a lone separator", '.', ".", 0, 0.0},
        {"empty", '.', "", 0, 0.0},
        {"too small for a double", '.', "1e-999", 6, 0.0},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const SeparatorScope scope(row.separator);
        double value = -1.0;
        EXPECT_EQ(row.used, CNumberLocale::ParseDouble(row.text, &value));
        EXPECT_EQ(row.value, value);
    }
}

TEST(CNumberLocale, ParsesOverflowAsInfinity) {
    double value = 0.0;
    EXPECT_EQ(5, CNumberLocale::ParseDouble("1e999", &value));
    EXPECT_TRUE(std::isinf(value));
    EXPECT_GT(value, 0.0);
    EXPECT_EQ(8, CNumberLocale::ParseDouble("-99e9999", &value));
    EXPECT_TRUE(std::isinf(value));
    EXPECT_LT(value, 0.0);
    EXPECT_EQ(0, CNumberLocale::ParseDouble(nullptr, &value));
}
