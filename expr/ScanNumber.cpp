// Number text to value.
#include "expr/ScanNumber.h"

#include <cstddef>
#include <cstdint>

namespace ExprEval {

namespace {

// Fraction digits past this many cannot change a double; stopping there keeps a
// long fraction from driving both numerator and divisor to infinity (and the
// quotient to NaN).
constexpr int kMaxFractionDigits = 300;

// Whole numbers of up to this many digits are exact as doubles; counted in an integer,
// they need no floating-point step per digit.
constexpr std::size_t kMaxExactDigits = 15;

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double ScanNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t exactEnd = text.size() - i < kMaxExactDigits ? text.size() : i + kMaxExactDigits;
    std::uint64_t whole = 0;
    for (; i < exactEnd && IsDigit(text[i]); ++i) {
        whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (i == text.size() || (!IsDigit(text[i]) && text[i] != '.')) {
        const auto exact = static_cast<double>(whole);
        return negative ? -exact : exact;
    }
    long double value = static_cast<long double>(whole);
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    if (i < text.size() && text[i] == '.') {
        long double fraction = value;
        long double divisor = 1;
        int digits = 0;
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            if (++digits > kMaxFractionDigits) {
                continue;
            }
            fraction = fraction * 10 + (text[i] - '0');
            divisor *= 10;
        }
        value = fraction / divisor;
    }
    return static_cast<double>(negative ? -value : value);
}

}  // namespace ExprEval
