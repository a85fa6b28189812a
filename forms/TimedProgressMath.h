// The arithmetic of the gliding progress bar: where a logical position lies on the bar's
// fixed 0..10000 scale, and how far the shown bar moves on each tick toward its target.
#pragma once

#include <cstdint>

namespace TimedProgressMath {

constexpr std::int32_t kBarUnits = 10000;

// (position - lower) * 10000 / (upper - lower), truncated, not clamped. An empty range
// (upper equal to lower) maps everything to 0 rather than dividing by zero.
std::int32_t ToBarUnits(std::int32_t position, std::int32_t lower, std::int32_t upper);

// value limited to 0..10000.
std::int32_t ClampToBar(std::int32_t value);

// The move of one tick: a sixth of the remaining distance, at least one unit toward the
// target. Only meaningful while shown differs from target.
std::int32_t GlideDelta(std::int32_t shown, std::int32_t target);

}  // namespace TimedProgressMath
