// A rectangle with float sides (top <= bottom), used by the area sampling of the image library.
#pragma once

#include "image/FloatPoint.h"

class FloatRect {
public:
    FloatRect() : left(0), top(0), right(0), bottom(0) {}

    FloatRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}

    float Width() const { return right - left; }

    float Height() const { return bottom - top; }

    float Surface() const { return Width() * Height(); }

    FloatPoint Centre() const;
    // The common part, or the all-zero rectangle when the two do not meet.
    FloatRect Intersect(const FloatRect& other) const;

    float left;
    float top;
    float right;
    float bottom;
};
