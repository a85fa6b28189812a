// A layout length of the design (at scale 1) on a page or dialog drawn at another scale,
// cut to whole pixels as every layout of the program does.
#pragma once

inline int ScaledLength(double units, double scale) {
    return static_cast<int>(units * scale);
}
