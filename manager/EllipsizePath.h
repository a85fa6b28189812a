// Shortens a path to a field's width by replacing its middle with "...". Portable: the
// caller measures texts (in the field's font on Windows).
#pragma once

#include "classlib/core/CString.h"

#include <functional>

// Width of a text on one line, in pixels.
using TextMeasure = std::function<int(const CString& text)>;

// The path itself when it fits into width; otherwise the candidate found by bisection over
// the number of dropped characters, as short a cut as fits (the longest cut when none fits).
CString EllipsizePath(const CString& path, int width, const TextMeasure& measure);
