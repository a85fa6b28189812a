// An extent (width and height); usable wherever a SIZE is expected.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}

    CSize(int width, int height) : SIZE{width, height} {}

    explicit CSize(const SIZE& size) : SIZE(size) {}

    bool operator==(const CSize& other) const { return cx == other.cx && cy == other.cy; }

    bool operator!=(const CSize& other) const { return !(*this == other); }
};
