#include "forms/XmlEntities.h"

#include "forms/XmlAsciiCase.h"

#include <cstring>

namespace {

struct NamedEntity {
    const char* name;  // without the ampersand, with the semicolon
    size_t length;
    char character;
};

const NamedEntity kEntities[] = {
    {"amp;", 4, '&'}, {"lt;", 3, '<'}, {"gt;", 3, '>'}, {"quot;", 5, '"'}, {"apos;", 5, '\''},
};

bool StartsWithIgnoringCase(const char* text, size_t length, const char* prefix, size_t prefixLength) {
    if (length < prefixLength) {
        return false;
    }
    for (size_t i = 0; i < prefixLength; ++i) {
        if (LowerAscii(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (!hex) {
        return -1;
    }
    const char lower = LowerAscii(c);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

// Reads "#ddd;" or "#xhh;" at text (just after the ampersand). Returns the bytes used, 0 when malformed.
size_t DecodeNumericReference(const char* text, size_t length, char& value) {
    size_t i = 1;  // past '#'
    const bool hex = i < length && LowerAscii(text[i]) == 'x';
    if (hex) {
        ++i;
    }
    const size_t firstDigit = i;
    unsigned int byte = 0;  // kept modulo 256, so that long references cannot overflow
    for (; i < length && text[i] != ';'; ++i) {
        const int digit = DigitValue(text[i], hex);
        if (digit < 0) {
            return 0;
        }
        byte = (byte * (hex ? 16u : 10u) + static_cast<unsigned int>(digit)) & 0xFFu;
    }
    if (i >= length || i == firstDigit || byte == 0) {
        return 0;
    }
    value = static_cast<char>(byte);
    return i + 1;
}

// Decodes the reference at text (just after the ampersand). Returns the bytes used, 0 when unknown.
size_t DecodeReference(const char* text, size_t length, char& value) {
    if (length > 0 && text[0] == '#') {
        return DecodeNumericReference(text, length, value);
    }
    for (const NamedEntity& entity : kEntities) {
        if (StartsWithIgnoringCase(text, length, entity.name, entity.length)) {
            value = entity.character;
            return entity.length;
        }
    }
    return 0;
}

const char* EscapeOf(char c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    case '\'':
        return "&apos;";
    default:
        return nullptr;
    }
}

}  // namespace

bool XmlEntities::Decode(const char* text, size_t length, const XmlCharSet& chars, std::string& out) {
    if (std::memchr(text, '&', length) == nullptr) {
        out.append(text, length);
        return true;
    }
    size_t runStart = 0;
    size_t i = 0;
    while (i < length) {
        if (text[i] != '&') {
            i += chars.Step(text + i, length - i);
            continue;
        }
        char value = 0;
        const size_t used = DecodeReference(text + i + 1, length - i - 1, value);
        if (used == 0) {
            return false;
        }
        out.append(text + runStart, i - runStart);
        out.push_back(value);
        i += 1 + used;
        runStart = i;
    }
    out.append(text + runStart, length - runStart);
    return true;
}

void XmlEntities::Escape(const char* text, size_t length, const XmlCharSet& chars, std::string& out) {
    size_t runStart = 0;
    size_t i = 0;
    while (i < length) {
        const char* escaped = EscapeOf(text[i]);
        if (escaped == nullptr) {
            i += chars.Step(text + i, length - i);
            continue;
        }
        out.append(text + runStart, i - runStart);
        out.append(escaped);
        ++i;
        runStart = i;
    }
    out.append(text + runStart, length - runStart);
}

size_t XmlEntities::EscapedLength(const char* text, size_t length, const XmlCharSet& chars) {
    size_t total = 0;
    size_t i = 0;
    while (i < length) {
        const char* escaped = EscapeOf(text[i]);
        if (escaped != nullptr) {
            total += std::strlen(escaped);
            ++i;
            continue;
        }
        const size_t step = chars.Step(text + i, length - i);
        total += step;
        i += step;
    }
    return total;
}
