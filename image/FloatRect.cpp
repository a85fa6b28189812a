// A rectangle with float sides.
#include "image/FloatRect.h"

#include <algorithm>

FloatPoint FloatRect::Centre() const {
    return FloatPoint((left + right) / 2, (top + bottom) / 2);
}

FloatRect FloatRect::Intersect(const FloatRect& other) const {
    const FloatRect result(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                           std::min(bottom, other.bottom));
    if (result.left > result.right || result.top > result.bottom) {
        return FloatRect();
    }
    return result;
}
