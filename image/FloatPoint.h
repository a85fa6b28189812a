// A point with float coordinates, used by the area sampling of the image library.
#pragma once

class FloatPoint {
public:
    FloatPoint() : x(0), y(0) {}

    FloatPoint(float px, float py) : x(px), y(py) {}

    float Distance(const FloatPoint& other) const;
    float Distance(float px, float py) const;

    float x;
    float y;
};
