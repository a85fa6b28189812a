#include "forms/FormatScaleLabel.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kMaxDecimals = 15;

}  // namespace

std::string FormatScaleLabel(double value, int decimals, const std::string& unit) {
    char number[64] = {};
    std::snprintf(number, sizeof(number), "%.*f", std::clamp(decimals, 0, kMaxDecimals), value);
    return std::string(number) + " " + unit;
}
