// Number helpers for the map, calibration and table code.
#include "link/CalibrationHelpers.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace {

constexpr int kFirstUniqueId = 1323;
constexpr double kCycleUsTimesRpm = 120000000.0;  // two revolutions in µs, times rpm
constexpr double kMaxWindowUs = 20000.0;

// Fewer steps than gaps: each value repeats, and the accumulator decides when to move on.
void SpreadFewSteps(int first, int last, int count, int* values) {
    const int difference = last - first;
    const int increment = difference > 0 ? difference + 1 : difference - 1;
    const int step = last > first ? 1 : -1;
    int value = first;
    int accumulator = 0;
    for (int i = 0; i < count; ++i) {
        accumulator += last > first ? increment : -increment;
        values[i] = value;
        if (accumulator >= count) {
            value += step;
            accumulator -= count;
        }
    }
}

// At least one step per gap: a whole quotient per gap, the remainder spread by an accumulator.
void SpreadManySteps(int first, int last, int count, int* values) {
    const int difference = last - first;
    const int gaps = count - 1;
    const int quotient = difference / gaps;
    const int remainder = difference - quotient * gaps;
    int value = first;
    int accumulator = 0;
    for (int i = 0; i < count; ++i) {
        values[i] = value;
        accumulator += remainder;
        value += quotient;
        if (last > first && accumulator >= gaps) {
            value += 1;
            accumulator -= gaps;
        }
        if (last < first && accumulator <= -gaps) {
            value -= 1;
            accumulator += gaps;
        }
    }
}

// One axis of LocateAxisCell. Equal neighbours or a first value of 0 would divide by zero;
// the fraction is then 0.
void LocateOnAxis(int point, int count, const int* axis, int* index, double* fraction) {
    if (count <= 0) {
        *index = 0;
        *fraction = 0.0;
        return;
    }
    if (axis[count - 1] < point) {
        *index = count - 1;
        *fraction = 1.0;
    } else {
        const int i = static_cast<int>(std::lower_bound(axis, axis + count, point) - axis);
        const int below = i > 0 ? axis[i - 1] : 0;
        const int span = axis[i] - below;
        *index = i;
        *fraction = span != 0 ? static_cast<double>(point - below) / span : 0.0;
    }
    *fraction -= 0.5;
    if (*fraction < 0.0) {
        *fraction += 1.0;
        *index -= 1;
        if (*index < 0) {
            *index = 0;
            *fraction = 0.0;
        }
    }
}

int BlendChannel(DWORD colorA, DWORD colorB, int shift, double weightA, double weightB) {
    const double a = (colorA >> shift) & 0xFF;
    const double b = (colorB >> shift) & 0xFF;
    return static_cast<int>((weightB * b + weightA * a) / (weightA + weightB));
}

}  // namespace

void SpreadValues(int first, int last, int count, int* values) {
    if (count <= 0) {
        return;
    }
    if (count == 1) {
        values[0] = (first + last) / 2;
        return;
    }
    if (count == 2) {
        values[0] = first;
        values[1] = last;
        return;
    }
    if (first == last) {
        std::fill(values, values + count, first);
        return;
    }
    const int difference = last - first;
    if (std::abs(difference) < count - 1) {
        SpreadFewSteps(first, last, count, values);
    } else {
        SpreadManySteps(first, last, count, values);
    }
}

int ClassifyRevInjection(int rpm, int injectionUs, int percent, int crankAngleDeg, int minimumUs) {
    if (rpm <= 0) {
        return 0;
    }
    const double cycle = kCycleUsTimesRpm / rpm;
    const double time = injectionUs;
    const double scaled = time * (100 + percent) / 100.0;
    const double upper = time * std::min(percent + 105, 200) / 100.0;
    const double lower = time * std::max(percent + 95, 0) / 100.0;
    const double window = std::min(cycle * crankAngleDeg / 720.0, kMaxWindowUs);
    if (cycle < scaled) {
        return 1;
    }
    if (cycle < upper) {
        return 2;
    }
    if (scaled < minimumUs || time - scaled > window) {
        return -1;
    }
    if (lower < minimumUs || time - lower > window) {
        return -2;
    }
    return 0;
}

void LocateAxisCell(int x,
                    int y,
                    int count1,
                    int count2,
                    const int* axis1,
                    const int* axis2,
                    int* index1,
                    double* fraction1,
                    int* index2,
                    double* fraction2) {
    LocateOnAxis(x, count1, axis1, index1, fraction1);
    LocateOnAxis(y, count2, axis2, index2, fraction2);
}

DWORD BlendColors(DWORD colorA, DWORD colorB, double weightA, double weightB) {
    if (weightA < 0 || weightB < 0 || weightA + weightB <= 0) {
        return 0;
    }
    const int red = BlendChannel(colorA, colorB, 0, weightA, weightB);
    const int green = BlendChannel(colorA, colorB, 8, weightA, weightB);
    const int blue = BlendChannel(colorA, colorB, 16, weightA, weightB);
    return static_cast<DWORD>(red | (green << 8) | (blue << 16));
}

int AverageNonZero(const int* values, int count) {
    long long sum = 0;
    int nonZero = 0;
    for (int i = 0; i < count; ++i) {
        sum += values[i];
        if (values[i] != 0) {
            ++nonZero;
        }
    }
    return nonZero > 0 ? static_cast<int>(sum / nonZero) : 0;
}

void CopyZeroOrLargeValues(const int* source, int* destination, int count) {
    for (int i = 0; i < count; ++i) {
        if (source[i] == 0 || source[i] >= 1000) {
            destination[i] = source[i];
        }
    }
}

int CountBits(DWORD value) {
    int bits = 0;
    for (; value != 0; value &= value - 1) {
        ++bits;
    }
    return bits;
}

int NextUniqueId() {
    static std::atomic<int> nextId{kFirstUniqueId};
    return nextId++;
}

CString FormatDouble(double value, int decimals) {
    CString text;
    text.Format("%.*f", decimals > 0 ? decimals : 0, value);
    return text;
}
