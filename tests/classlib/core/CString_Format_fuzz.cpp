// Checks the %f and %e conversions of CString::Format against a reference
// built from the C library's exact expansion (%.800e holds every digit of a
// double) and rounded here with plain decimal arithmetic: first to 17
// significant digits, then to the digits asked for, ties away from zero.
#include "classlib/core/CString.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Decimal {
    std::vector<int> digits;  // most significant first; value = 0.d1d2... * 10^exponent
    int exponent = 0;
};

Decimal ExactFromLibrary(double magnitude) {
    std::vector<char> text(1000);
    std::snprintf(text.data(), text.size(), "%.800e", magnitude);
    Decimal number;
    const char* p = text.data();
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            number.digits.push_back(*p - '0');
        }
    }
    number.exponent = std::atoi(p + 1) + 1;
    return number;
}

// Keeps count digits (count may be below zero), rounding half up.
void Round(Decimal& number, int count) {
    if (count >= static_cast<int>(number.digits.size())) {
        return;
    }
    const bool up = count >= 0 && number.digits[static_cast<size_t>(count)] >= 5;
    number.digits.resize(count < 0 ? 0 : static_cast<size_t>(count));
    if (!up) {
        return;
    }
    int i = static_cast<int>(number.digits.size()) - 1;
    for (; i >= 0 && number.digits[static_cast<size_t>(i)] == 9; --i) {
        number.digits[static_cast<size_t>(i)] = 0;
    }
    if (i < 0) {
        number.digits.insert(number.digits.begin(), 1);
        ++number.exponent;
    } else {
        ++number.digits[static_cast<size_t>(i)];
    }
}

int DigitAt(const Decimal& number, int index) {
    return index >= 0 && index < static_cast<int>(number.digits.size())
               ? number.digits[static_cast<size_t>(index)]
               : 0;
}

bool IsZero(const Decimal& number) {
    for (int d : number.digits) {
        if (d != 0) {
            return false;
        }
    }
    return true;
}

std::string ReferenceFixed(double value, int precision) {
    Decimal number = ExactFromLibrary(std::fabs(value));
    if (value == 0.0) {
        number.digits.clear();
        number.exponent = 0;
    }
    Round(number, 17);
    Round(number, number.exponent + precision);
    std::string text = std::signbit(value) ? "-" : "";
    if (number.exponent <= 0) {
        text += '0';
    }
    for (int i = 0; i < number.exponent; ++i) {
        text += static_cast<char>('0' + DigitAt(number, i));
    }
    if (precision > 0) {
        text += '.';
    }
    for (int i = 0; i < precision; ++i) {
        text += static_cast<char>('0' + DigitAt(number, number.exponent + i));
    }
    return text;
}

std::string ReferenceExponent(double value, int precision) {
    Decimal number = ExactFromLibrary(std::fabs(value));
    Round(number, 17);
    Round(number, precision + 1);
    const int exponent = (value == 0.0 || IsZero(number)) ? 0 : number.exponent - 1;
    std::string text = std::signbit(value) ? "-" : "";
    text += static_cast<char>('0' + DigitAt(number, 0));
    if (precision > 0) {
        text += '.';
    }
    for (int i = 1; i <= precision; ++i) {
        text += static_cast<char>('0' + DigitAt(number, i));
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return text + tail;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 10) {
        return 0;
    }
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value)) {
        return 0;
    }
    const int precision = data[8] % 30;
    const bool exponentForm = (data[9] & 1) != 0;
    CString text;
    std::string expected;
    if (exponentForm) {
        text.Format("%.*e", precision, value);
        expected = ReferenceExponent(value, precision);
    } else {
        text.Format("%.*f", precision, value);
        expected = ReferenceFixed(value, precision);
    }
    if (expected != text.GetString()) {
        std::fprintf(stderr, "value %.17g precision %d: got %s, expected %s\n", value, precision,
                     text.GetString(), expected.c_str());
        std::abort();
    }
    return 0;
}
