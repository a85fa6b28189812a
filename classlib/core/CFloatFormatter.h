// Decimal text of doubles for the printf conversions f, e and g, the same in
// every build. The value is first taken to 17 significant digits, then to the
// digits asked for; both steps round a tie away from zero, so 1.125 with two
// decimals reads 1.13, as a person would round it.
#pragma once

#include <string>

class CFloatFormatter {
public:
    struct Style {
        int precision = 6;  // digits after the separator (f, e) or significant digits (g)
        char separator = '.';
        bool alternate = false;  // '#': keep the separator (and, for g, trailing zeros)
        bool upper = false;      // E, G and INF/NAN instead of e, g and inf/nan
    };

    // Each returns the text of the magnitude of value (no sign); "inf" or "nan" when not finite.
    static std::string Fixed(double value, const Style& style);
    static std::string Exponent(double value, const Style& style);
    static std::string General(double value, const Style& style);

    // The digits of a value: 0.d1d2d3... times ten to pointPos, without leading
    // or trailing zeros; empty digits stand for zero.
    struct Digits {
        std::string digits;
        int pointPos = 0;
    };

    // The exact decimal expansion of the magnitude of a finite value.
    static Digits ExactDigits(double value);

    // Keeps the first count digits and rounds half away from zero; count may be
    // zero or negative (the digits then round to zero or to a single 1).
    static void RoundDigits(Digits& number, int count);
};
