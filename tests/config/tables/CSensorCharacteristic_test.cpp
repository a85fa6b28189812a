// The sensor characteristic: conversion through the points, edit bounds in both directions,
// truncation to the row's decimals and the texts the dialog shows.
#include "config/CSensorCharacteristic.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using Row = CSensorCharacteristic::Row;

// The gas level sensor as the settings page sets it up.
CSensorCharacteristic GasLevel() {
    const double measured[] = {0.5, 1.0, 2.0, 3.0, 4.0, 4.5};
    const double calculated[] = {0, 5, 25, 50, 75, 100};
    CSensorCharacteristic curve;
    curve.SetPointCount(6);
    curve.SetMeasuredRange(0.0, 5.0);
    curve.SetCalculatedRange(-1.0, 101.0);
    curve.SetMeasuredPoints(measured);
    curve.SetCalculatedPoints(calculated);
    curve.SetDecimals(CSensorCharacteristic::kMeasured, -2);
    curve.SetDecimals(CSensorCharacteristic::kCalculated, 0);
    return curve;
}

struct ConvertCase {
    double measured;
    bool reversed;
    double expected;
};

TEST(SensorCharacteristicTest, ConvertsThroughThePointsAndClampsOutside) {
    const ConvertCase cases[] = {
        {2.5, false, 37.5}, {0.3, false, -1},   {4.8, false, 101}, {0.5, false, 0}, {4.5, false, 100},
        {1.0, false, 5},    {0.75, false, 2.5}, {0.3, true, 101},  {4.8, true, -1},
    };
    for (const ConvertCase& c : cases) {
        CSensorCharacteristic curve = GasLevel();
        curve.SetReverse(c.reversed);
        EXPECT_DOUBLE_EQ(c.expected, curve.Convert(c.measured))
            << c.measured << (c.reversed ? " reversed" : "");
    }
}

TEST(SensorCharacteristicTest, DegenerateCharacteristicsGiveFiniteValues) {
    CSensorCharacteristic curve;
    curve.SetCalculatedRange(-1, 101);
    EXPECT_DOUBLE_EQ(-1, curve.Convert(2.0)) << "no points";

    const double measured[] = {1.0, 1.0, 2.0};
    const double calculated[] = {10, 20, 30};
    curve.SetPointCount(3);
    curve.SetMeasuredPoints(measured);
    curve.SetCalculatedPoints(calculated);
    EXPECT_DOUBLE_EQ(10, curve.Convert(1.0));
    EXPECT_DOUBLE_EQ(25, curve.Convert(1.5));

    curve.SetPointCount(40);
    EXPECT_EQ(CSensorCharacteristic::kMaxPoints, curve.GetPointCount());
}

struct BoundsCase {
    Row row;
    int index;
    bool reversed;
    double lower;
    double upper;
};

TEST(SensorCharacteristicTest, EditBoundsAreTheNeighboursOrTheRangeEnds) {
    const BoundsCase cases[] = {
        {CSensorCharacteristic::kMeasured, 0, false, 0.0, 1.0},
        {CSensorCharacteristic::kMeasured, 1, false, 0.5, 2.0},
        {CSensorCharacteristic::kMeasured, 5, false, 4.0, 5.0},
        {CSensorCharacteristic::kCalculated, 0, false, -1, 5},
        {CSensorCharacteristic::kCalculated, 2, false, 5, 50},
        {CSensorCharacteristic::kCalculated, 5, false, 75, 101},
        // Reversed the calculated points fall from left to right.
        {CSensorCharacteristic::kCalculated, 0, true, 5, 101},
        {CSensorCharacteristic::kCalculated, 2, true, 50, 5},
        {CSensorCharacteristic::kCalculated, 5, true, -1, 75},
    };
    for (const BoundsCase& c : cases) {
        CSensorCharacteristic curve = GasLevel();
        curve.SetReverse(c.reversed);
        const CSensorCharacteristic::Bounds bounds = curve.EditBounds(c.row, c.index);
        EXPECT_DOUBLE_EQ(c.lower, bounds.lower) << c.row << "/" << c.index;
        EXPECT_DOUBLE_EQ(c.upper, bounds.upper) << c.row << "/" << c.index;
    }
}

TEST(SensorCharacteristicTest, ReverseTogglesAndTurnsTheCalculatedPoints) {
    CSensorCharacteristic curve = GasLevel();
    curve.Reverse();
    EXPECT_TRUE(curve.IsReverse());
    EXPECT_DOUBLE_EQ(100, curve.GetPoint(CSensorCharacteristic::kCalculated, 0));
    EXPECT_DOUBLE_EQ(0, curve.GetPoint(CSensorCharacteristic::kCalculated, 5));
    EXPECT_DOUBLE_EQ(0.5, curve.GetPoint(CSensorCharacteristic::kMeasured, 0));
    EXPECT_DOUBLE_EQ(37.5, curve.Convert(2.5));
    EXPECT_DOUBLE_EQ(62.5, curve.Convert(1.5));
    curve.Reverse();
    EXPECT_FALSE(curve.IsReverse());
    EXPECT_DOUBLE_EQ(0, curve.GetPoint(CSensorCharacteristic::kCalculated, 0));
}

struct TruncateCase {
    double value;
    int code;
    double expected;
};

TEST(SensorCharacteristicTest, TruncatesTowardZeroAtTheCodesPrecision) {
    const TruncateCase cases[] = {
        {1.999, -2, 1.99}, {0.29, -2, 0.29}, {-1.999, -2, -1.99}, {37.9, 0, 37},
        {-0.5, 0, 0},      {126.0, 0, 126},  {155, 1, 150},       {4.56, -1, 4.5},
    };
    for (const TruncateCase& c : cases) {
        EXPECT_NEAR(c.expected, CSensorCharacteristic::TruncateToDecimals(c.value, c.code), 1e-12)
            << c.value << " code " << c.code;
    }
    // Exact, so that a value typed as a bound is not let through by a rounding excess.
    EXPECT_EQ(0.5, CSensorCharacteristic::TruncateToDecimals(0.5, -2));
    EXPECT_EQ(2.0, CSensorCharacteristic::TruncateToDecimals(2.0, -2));
}

TEST(SensorCharacteristicTest, FormatsAndRangeMessages) {
    EXPECT_EQ(std::string("%.2f"), std::string(CSensorCharacteristic::FormatOfCode(-2)));
    EXPECT_EQ(std::string("%.0f"), std::string(CSensorCharacteristic::FormatOfCode(0)));
    EXPECT_EQ(std::string("%.0f"), std::string(CSensorCharacteristic::FormatOfCode(3)));

    const CSensorCharacteristic curve = GasLevel();
    EXPECT_EQ(std::string("1.99"), std::string(curve.FormatValue(CSensorCharacteristic::kMeasured, 1.99)));
    const CString message =
        curve.RangeMessage(CSensorCharacteristic::kMeasured, "Element out of range: %s <- %c%s; %s%c.", 0.5,
                           curve.EditBounds(CSensorCharacteristic::kMeasured, 1));
    EXPECT_EQ(std::string("Element out of range: 0.50 <- (0.50; 2.00)."), std::string(message));
}

TEST(SensorCharacteristicTest, ParsesDecimalsWithTheLocalesSeparator) {
    double value = 0;
    EXPECT_TRUE(CSensorCharacteristic::ParseDecimal("1,25", ",", value));
    EXPECT_DOUBLE_EQ(1.25, value);
    EXPECT_TRUE(CSensorCharacteristic::ParseDecimal("-3.5", ".", value));
    EXPECT_DOUBLE_EQ(-3.5, value);
    EXPECT_FALSE(CSensorCharacteristic::ParseDecimal("x", ".", value));
    EXPECT_FALSE(CSensorCharacteristic::ParseDecimal(nullptr, ".", value));
}

TEST(SensorCharacteristicTest, FixedMaskMarksPoints) {
    CSensorCharacteristic curve = GasLevel();
    curve.SetFixedMask(CSensorCharacteristic::kCalculated, 0x3F);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(curve.IsFixed(CSensorCharacteristic::kCalculated, i));
        EXPECT_FALSE(curve.IsFixed(CSensorCharacteristic::kMeasured, i));
    }
    EXPECT_FALSE(curve.IsFixed(CSensorCharacteristic::kCalculated, 6));
}

}  // namespace
