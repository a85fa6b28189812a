// The label of a scale value on a painted indicator: the number with its decimals, a blank
// and the unit ("1.50 ms").
#pragma once

#include <string>

// decimals below 0 count as 0 and above 15 as 15; the unit is text, never a format.
std::string FormatScaleLabel(double value, int decimals, const std::string& unit);
