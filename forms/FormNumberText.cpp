#include "forms/FormNumberText.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' ||
           *text == '\f') {
        ++text;
    }
    return text;
}

}  // namespace

double ReadFormDouble(const char* text) {
    if (text == nullptr) {
        return 0.0;
    }
    const char* start = SkipBlanks(text);
    if (*start == '+' && start[1] != '-') {
        ++start;
    }
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(start, start + std::strlen(start), value);
    if (result.ec == std::errc::result_out_of_range) {
        // As the C library's conversion: too small a magnitude reads as zero, too large a
        // one as infinity; only a negative exponent makes a magnitude too small.
        const double sign = *start == '-' ? -1.0 : 1.0;
        const char* exponent = std::strpbrk(start, "eE");
        const bool tiny = exponent != nullptr && exponent < result.ptr && exponent[1] == '-';
        return tiny ? sign * 0.0 : sign * std::numeric_limits<double>::infinity();
    }
    return result.ec == std::errc() ? value : 0.0;
}

int32_t ReadFormSigned(const char* text, int base) {
    if (text == nullptr) {
        return 0;
    }
    const long long value = std::strtoll(text, nullptr, base);
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

uint32_t ReadFormUnsigned(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const char* start = SkipBlanks(text);
    const bool negative = *start == '-';
    if (negative || *start == '+') {
        ++start;
    }
    if (*start == '-' || *start == '+') {
        return 0;
    }
    errno = 0;
    const unsigned long long magnitude = std::strtoull(start, nullptr, 10);
    if (errno == ERANGE || magnitude > std::numeric_limits<uint32_t>::max()) {
        return std::numeric_limits<uint32_t>::max();
    }
    const uint32_t value = static_cast<uint32_t>(magnitude);
    return negative ? 0u - value : value;
}
