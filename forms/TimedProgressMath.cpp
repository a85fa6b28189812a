#include "forms/TimedProgressMath.h"

#include <algorithm>

namespace TimedProgressMath {

std::int32_t ToBarUnits(std::int32_t position, std::int32_t lower, std::int32_t upper) {
    if (upper == lower) {
        return 0;
    }
    // 64 bits: a wide range would overflow the product, and the caller clamps the result.
    const std::int64_t scaled =
        (static_cast<std::int64_t>(position) - lower) * kBarUnits / (static_cast<std::int64_t>(upper) - lower);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
}

std::int32_t ClampToBar(std::int32_t value) {
    return std::clamp<std::int32_t>(value, 0, kBarUnits);
}

std::int32_t GlideDelta(std::int32_t shown, std::int32_t target) {
    const std::int32_t distance = target - shown;
    const std::int32_t delta = distance / 6;
    if (delta != 0) {
        return delta;
    }
    return distance <= 0 ? -1 : 1;
}

}  // namespace TimedProgressMath
