// Truncation and the least-squares slope of the calibration cores.
#include "calib/CalibrationMath.h"

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

TEST(CalibrationMath, TruncatesTowardZeroAndSaturates) {
    struct Row {
        double value;
        int expected;
    };

    const Row rows[] = {
        {14.99, 14},
        {-14.99, -14},
        {1e12, INT_MAX},
        {-1e12, INT_MIN},
        {std::numeric_limits<double>::infinity(), INT_MAX},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(row.expected, TruncateToInt(row.value));
    }
}

TEST(CalibrationMath, SlopeOfALineAndOfDegenerateInput) {
    EXPECT_NEAR(2.5, LeastSquaresSlope({0.0, 1.0, 2.0, 3.0}, {1.0, 3.5, 6.0, 8.5}), 1e-12);
    EXPECT_NEAR(-0.5, LeastSquaresSlope({1.0, 2.0, 3.0}, {3.0, 2.0, 2.0}), 1e-12);
    // Stamps without spread have no slope.
    EXPECT_EQ(0.0, LeastSquaresSlope({0.3, 0.3, 0.3}, {1.0, 2.0, 3.0}));
    EXPECT_EQ(0.0, LeastSquaresSlope({0.0}, {1.0}));
    EXPECT_EQ(0.0, LeastSquaresSlope({}, {}));
}
