// The portable half of the scaled font height: the search over whole-pixel heights.
#include "forms/fonts/GetScaledFontHeight.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Pages are laid out for 96 pixels per inch whatever the screen says.
constexpr std::int32_t kDesignPixelsPerInch = 96;
constexpr std::int32_t kTenthsPointPerInch = 720;
// Far more steps than any real face needs; a substituted face may stop growing or
// shrinking, and the search must end all the same.
constexpr int kMaxSearchSteps = 1000;
// The smallest character height a search may give (lfHeight -1).
constexpr std::int32_t kSmallestHeight = -1;

std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double low = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    const double high = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), low, high));
}

std::int32_t DesignPixels(std::int32_t tenthsPoint) {
    return MulDivRounded(tenthsPoint, kDesignPixelsPerInch, kTenthsPointPerInch);
}

// The font is too small: go to larger heights while they still fit the goal.
std::int32_t SearchLarger(std::int32_t candidate, std::int32_t goal, const FontHeightMeasure& measure) {
    for (int step = 0; step < kMaxSearchSteps && candidate > std::numeric_limits<std::int32_t>::min();
         ++step) {
        if (measure(candidate - 1) > goal) {
            break;
        }
        --candidate;
    }
    return candidate;
}

// The font is too large: go to smaller heights until one fits, but never past the
// smallest height; a face that measures above the goal even there gets that height.
std::int32_t SearchSmaller(std::int32_t candidate, std::int32_t goal, const FontHeightMeasure& measure) {
    for (int step = 0; step < kMaxSearchSteps && candidate < kSmallestHeight; ++step) {
        ++candidate;
        if (measure(candidate) <= goal) {
            return candidate;
        }
    }
    return std::min(candidate, kSmallestHeight);
}

}  // namespace

std::int32_t MulDivRounded(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(denominator));
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    return static_cast<std::int32_t>(negative ? -rounded : rounded);
}

std::int32_t FindScaledFontHeight(std::int32_t sizeTenthsPoint,
                                  double scaleX,
                                  double scaleY,
                                  const FontHeightMeasure& measure) {
    const double scale = scaleX < scaleY ? scaleX : scaleY;
    // Also catches a NaN and a negative factor, which would otherwise search without end.
    if (!(scale > 0.0)) {
        return 0;
    }
    const std::int32_t baseHeight = DesignPixels(sizeTenthsPoint);
    const std::int32_t candidate = -DesignPixels(TruncateToInt32(sizeTenthsPoint * scale));
    const std::int32_t goal = TruncateToInt32(measure(-baseHeight) * scale);
    const std::int32_t measured = measure(candidate);
    if (measured == goal) {
        return candidate;
    }
    if (measured < goal) {
        return SearchLarger(candidate, goal, measure);
    }
    return SearchSmaller(candidate, goal, measure);
}
