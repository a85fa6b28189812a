// The character height to ask for when a page is stretched from its design size: the
// height at which a heavy font of the face is as tall as the unscaled font times the
// smaller scale factor. The search itself is portable; measuring needs a DC.
#pragma once

#include "classlib/core/CString.h"

#include <cstdint>
#include <functional>

class CDC;

// tmHeight of a heavy font of the face at the given lfHeight.
using FontHeightMeasure = std::function<std::int32_t(std::int32_t lfHeight)>;

// number * numerator / denominator through 64 bits, rounded half away from zero; -1 when
// the denominator is 0 or the result does not fit, as the system's MulDiv does.
std::int32_t MulDivRounded(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

// The lfHeight for sizeTenthsPoint (80 is 8 pt) at the two scale factors, or 0 (system
// default height) when the smaller factor is not above 0. measure is called a bounded number
// of times, so a substituted face whose height stops following lfHeight cannot hang the caller.
std::int32_t FindScaledFontHeight(std::int32_t sizeTenthsPoint,
                                  double scaleX,
                                  double scaleY,
                                  const FontHeightMeasure& measure);

// FindScaledFontHeight with heavy fonts of faceName measured on dc.
int GetScaledFontHeight(CDC* dc, const CString& faceName, int sizeTenthsPoint, double scaleX, double scaleY);

// tmHeight of a temporary heavy (900) font of faceName at lfHeight, selected into dc for the
// measurement only; 0 when the font or the metrics cannot be had.
int MeasureFontHeight(CDC* dc, const CString& faceName, int lfHeight);
