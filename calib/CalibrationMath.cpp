// Truncation and slope helpers of the calibration cores.
#include "calib/CalibrationMath.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

int TruncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

double LeastSquaresSlope(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = x.size();
    if (n < 2 || y.size() != n) {
        return 0.0;
    }
    const auto range = std::minmax_element(x.begin(), x.end());
    if (*range.first == *range.second) {
        return 0.0;
    }
    double sumX = 0.0;
    double sumY = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sumX += x[i];
        sumY += y[i];
    }
    const double meanX = sumX / n;
    const double meanY = sumY / n;
    // Centred sums: the same quotient as the means of products, without their cancellation.
    double covariance = 0.0;
    double spread = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        covariance += (x[i] - meanX) * (y[i] - meanY);
        spread += (x[i] - meanX) * (x[i] - meanX);
    }
    return covariance / spread;
}
