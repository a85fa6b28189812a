// One line of a grid field: a row of numbers with common limits and decimals, some of its
// columns read-only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FormGridLine {
    bool IsReadOnly(size_t column) const { return column < 32 && ((readOnlyMask >> column) & 1u) != 0; }

    uint32_t labelTextId = 0;
    std::string unit;
    double minimum = 0.0;
    double maximum = 0.0;
    int precision = 0;
    std::vector<double> referenceValues;
    std::vector<double> currentValues;
    uint32_t readOnlyMask = 0;  // bit i: column i is read-only
};
