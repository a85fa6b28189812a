#include "classlib/core/CNumberLocale.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::atomic<char> g_decimalSeparator{'.'};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of text that forms a number with the given separator.
size_t ScanNumber(const char* text, char separator) {
    size_t i = 0;
    if (text[i] == '+' || text[i] == '-') {
        ++i;
    }
    size_t digits = 0;
    while (IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (text[i] == separator) {
        size_t fraction = i + 1;
        while (IsDigit(text[fraction])) {
            ++fraction;
            ++digits;
        }
        if (digits > 0) {
            i = fraction;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (text[i] == 'e' || text[i] == 'E') {
        size_t exponent = i + 1;
        if (text[exponent] == '+' || text[exponent] == '-') {
            ++exponent;
        }
        if (IsDigit(text[exponent])) {
            while (IsDigit(text[exponent])) {
                ++exponent;
            }
            i = exponent;
        }
    }
    return i;
}

// For a number that does not fit a double: true when it is too large, false
// when too small. number holds a point as separator and no plus sign.
bool IsTooLarge(const std::string& number) {
    long magnitude = 0;  // decimal exponent of the first non-zero digit, roughly
    bool seenNonZero = false;
    bool inFraction = false;
    size_t i = number[0] == '-' ? 1 : 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        if (number[i] == '.') {
            inFraction = true;
        } else if (number[i] != '0' || seenNonZero) {
            seenNonZero = true;
            magnitude += inFraction ? 0 : 1;
        } else if (inFraction) {
            --magnitude;
        }
    }
    if (i < number.size()) {
        // strtol saturates; the clamp keeps the sum from overflowing.
        const long exponent = std::strtol(number.c_str() + i + 1, nullptr, 10);
        magnitude += std::max(-100000L, std::min(100000L, exponent));
    }
    return magnitude > 0;
}

}  // namespace

char CNumberLocale::GetDecimalSeparator() {
    return g_decimalSeparator.load();
}

void CNumberLocale::SetDecimalSeparator(char separator) {
    g_decimalSeparator.store(separator);
}

int CNumberLocale::ParseDouble(LPCSTR text, double* value) {
    *value = 0.0;
    if (text == nullptr) {
        return 0;
    }
    size_t start = 0;
    while (text[start] != '\0' && std::isspace(static_cast<unsigned char>(text[start]))) {
        ++start;
    }
    const char separator = GetDecimalSeparator();
    const size_t length = ScanNumber(text + start, separator);
    if (length == 0) {
        return 0;
    }
    // from_chars takes neither a plus sign nor any separator but the point.
    std::string number(text + start, length);
    if (number[0] == '+') {
        number.erase(0, 1);
    }
    const size_t at = number.find(separator);
    if (at != std::string::npos) {
        number[at] = '.';
    }
    double result = 0.0;
    const std::errc error = std::from_chars(number.data(), number.data() + number.size(), result).ec;
    if (error == std::errc::result_out_of_range) {
        // Keep the C library's answer for overflow and underflow: a signed huge value or 0.
        const bool negative = number[0] == '-';
        const double limit = IsTooLarge(number) ? HUGE_VAL : 0.0;
        result = negative ? -limit : limit;
    } else if (error != std::errc()) {
        return 0;
    }
    *value = result;
    return static_cast<int>(start + length);
}
