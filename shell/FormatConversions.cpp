// Compares the argument lists that two printf formats ask for.
#include "shell/FormatConversions.h"

#include <cstring>
#include <string>

namespace {

// One letter per argument: i/l/q integer (plain, long, 64-bit), d floating, s text,
// p pointer, n write-back (never accepted), ? a conversion we do not know.
char ArgumentKind(char conversion, const std::string& length) {
    switch (conversion) {
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X':
        if (length == "ll" || length == "I64" || length == "j" || length == "z" || length == "t") {
            return 'q';
        }
        return length == "l" ? 'l' : 'i';
    case 'c':
        return 'i';
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return 'd';
    case 's':
        return 's';
    case 'p':
        return 'p';
    case 'n':
        return 'n';
    default:
        return '?';
    }
}

// Skips the digits or the '*' of a width or precision; a '*' takes an int argument.
const char* SkipCount(const char* p, std::string& kinds) {
    if (*p == '*') {
        kinds += 'i';
        return p + 1;
    }
    while (*p >= '0' && *p <= '9') {
        ++p;
    }
    return p;
}

const char* ReadLength(const char* p, std::string& length) {
    static const char* const kLengths[] = {"I64", "I32", "hh", "ll", "h", "l", "L", "j", "z", "t", "I"};
    for (const char* candidate : kLengths) {
        const size_t size = std::strlen(candidate);
        if (std::strncmp(p, candidate, size) == 0) {
            length = candidate;
            return p + size;
        }
    }
    return p;
}

// The argument kinds of a format, in order.
std::string ArgumentKinds(LPCSTR format) {
    std::string kinds;
    const char* p = format;
    while (*p != '\0') {
        if (*p++ != '%') {
            continue;
        }
        if (*p == '%') {
            ++p;
            continue;
        }
        while (*p != '\0' && std::strchr("-+ #0", *p) != nullptr) {
            ++p;
        }
        p = SkipCount(p, kinds);
        if (*p == '.') {
            p = SkipCount(p + 1, kinds);
        }
        std::string length;
        p = ReadLength(p, length);
        if (*p == '\0') {
            kinds += '?';
            break;
        }
        kinds += ArgumentKind(*p++, length);
    }
    return kinds;
}

}  // namespace

bool HaveSameConversions(LPCSTR text, LPCSTR reference) {
    const std::string textKinds = ArgumentKinds(text);
    if (textKinds.find_first_of("n?") != std::string::npos) {
        return false;
    }
    return textKinds == ArgumentKinds(reference);
}
