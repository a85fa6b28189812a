// Numeric helpers of the calibration cores.
#pragma once

#include <vector>

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

// Truncates toward zero; values beyond the int range saturate, and NaN gives 0, so
// that odd parameters cannot turn a percent into an undefined conversion.
int TruncateToInt(double value);

// Least-squares slope of y over x: (mean(xy) - mean(x) mean(y)) / (mean(x^2) - mean(x)^2).
// 0 when the x values do not spread (fewer than two distinct values).
double LeastSquaresSlope(const std::vector<double>& x, const std::vector<double>& y);
