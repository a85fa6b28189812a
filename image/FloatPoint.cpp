// A point with float coordinates.
#include "image/FloatPoint.h"

#include <cmath>

float FloatPoint::Distance(const FloatPoint& other) const {
    return Distance(other.x, other.y);
}

float FloatPoint::Distance(float px, float py) const {
    const float dx = x - px;
    const float dy = y - py;
    return std::sqrt(dx * dx + dy * dy);
}
