// Calibration number helpers: their edge tables.
#include "link/CalibrationHelpers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

TEST(CalibrationHelpers, SpreadValuesEvenlyBetweenFirstAndLast) {
    struct Case {
        int first;
        int last;
        std::vector<int> expected;
    };

    const Case cases[] = {
        {0, 10, {0, 2, 5, 7, 10}},
        {0, 2, {0, 0, 1, 1, 2}},
        {10, 0, {10, 8, 5, 3, 0}},
        {2, 0, {2, 2, 1, 1, 0}},
        {5, 6, {5}},
        {-3, 4, {0}},
        {7, 9, {7, 9}},
        {4, 4, {4, 4, 4}},
        {-10, 10, {-10, -5, 0, 5, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        std::vector<int> values(c.expected.size(), -99);
        SpreadValues(c.first, c.last, static_cast<int>(values.size()), values.data());
        EXPECT_EQ(values, c.expected);
    }
    int untouched = -99;
    SpreadValues(0, 10, 0, &untouched);
    EXPECT_EQ(untouched, -99);
}

TEST(CalibrationHelpers, ClassifyInjectionAgainstTheEngineCycle) {
    struct Case {
        const char* name;
        int rpm;
        int injectionUs;
        int percent;
        int angle;
        int minimumUs;
        int expected;
    };

    // At 6000 rpm two revolutions take 20000 µs.
    const Case cases[] = {
        {"standstill", 0, 50000, 0, 720, 0, 0},
        {"negative rpm", -100, 50000, 0, 720, 0, 0},
        {"scaled time beyond the cycle", 6000, 19000, 10, 720, 0, 1},
        {"within 5 percent of the cycle", 6000, 19500, 0, 720, 0, 2},
        {"comfortably inside", 6000, 5000, 0, 720, 1000, 0},
        {"scaled below the minimum", 6000, 2000, -50, 720, 1500, -1},
        {"lower band below the minimum", 6000, 2000, 0, 720, 1950, -2},
        {"reduction wider than the window", 6000, 10000, -60, 180, 0, -1},
        {"lower band wider than the window", 6000, 10000, -50, 180, 0, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClassifyRevInjection(c.rpm, c.injectionUs, c.percent, c.angle, c.minimumUs), c.expected);
    }
}

TEST(CalibrationHelpers, LocateAPointBetweenCellCentres) {
    const int axis[] = {1000, 2000, 4000, 8000};

    struct Case {
        const char* name;
        int point;
        int index;
        double fraction;
    };

    const Case cases[] = {
        {"first value", 1000, 0, 0.5},     {"below the first centre", 200, 0, 0.0},
        {"beyond the last", 9000, 3, 0.5}, {"last value", 8000, 3, 0.5},
        {"on a centre", 3000, 2, 0.0},     {"quarter past a centre", 2500, 1, 0.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int index1 = -1;
        int index2 = -1;
        double fraction1 = -1;
        double fraction2 = -1;
        LocateAxisCell(c.point, c.point, 4, 4, axis, axis, &index1, &fraction1, &index2, &fraction2);
        EXPECT_EQ(index1, c.index);
        EXPECT_DOUBLE_EQ(fraction1, c.fraction);
        EXPECT_EQ(index2, c.index);
        EXPECT_DOUBLE_EQ(fraction2, c.fraction);
    }
    const int flat[] = {0, 100, 100};
    int index = -1;
    double fraction = -1;
    LocateAxisCell(100, 0, 3, 3, flat, flat, &index, &fraction, &index, &fraction);
    EXPECT_EQ(index, 0);
    EXPECT_DOUBLE_EQ(fraction, 0.0);
}

TEST(CalibrationHelpers, BlendColoursByWeight) {
    EXPECT_EQ(BlendColors(0x0000FF, 0xFF0000, 1.0, 1.0), 0x7F007Fu);
    EXPECT_EQ(BlendColors(0x102030, 0x908070, 3.0, 1.0), 0x303840u);
    EXPECT_EQ(BlendColors(0x102030, 0x908070, -1.0, 1.0), 0u);
    EXPECT_EQ(BlendColors(0x102030, 0x908070, 0.0, 0.0), 0u);
}

TEST(CalibrationHelpers, AverageCountAndFilterSamples) {
    const int samples[] = {0, 4, 0, 8};
    EXPECT_EQ(AverageNonZero(samples, 4), 6);
    EXPECT_EQ(AverageNonZero(samples, 0), 0);
    const int zeros[] = {0, 0};
    EXPECT_EQ(AverageNonZero(zeros, 2), 0);
    const int mixed[] = {-3, 3, 4};
    EXPECT_EQ(AverageNonZero(mixed, 3), 1);

    const int source[] = {0, 999, 1000, 5, 2500};
    int destination[] = {7, 7, 7, 7, 7};
    CopyZeroOrLargeValues(source, destination, 5);
    const std::vector<int> expected = {0, 7, 1000, 7, 2500};
    EXPECT_EQ(std::vector<int>(destination, destination + 5), expected);

    EXPECT_EQ(CountBits(0xFFFFFFFFu), 32);
    EXPECT_EQ(CountBits(0), 0);
    EXPECT_EQ(CountBits(0x80000001u), 2);
}

TEST(CalibrationHelpers, NumberGeneratedControlsUpward) {
    const int first = NextUniqueId();
    EXPECT_GE(first, 1323);
    EXPECT_EQ(NextUniqueId(), first + 1);
}

TEST(CalibrationHelpers, FormatDoublesWithTheGivenDecimals) {
    EXPECT_STREQ(FormatDouble(3.14159, 2), "3.14");
    EXPECT_STREQ(FormatDouble(3.14159, 0), "3");
    EXPECT_STREQ(FormatDouble(2.5, -1), "3");
    EXPECT_STREQ(FormatDouble(-0.125, 2), "-0.13");
}
