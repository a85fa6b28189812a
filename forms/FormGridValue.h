// The value of a grid field: its lines.
#pragma once

#include "forms/FormGridLine.h"

#include <vector>

struct FormGridValue {
    std::vector<FormGridLine> lines;
};
