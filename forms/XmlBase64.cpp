#include "forms/XmlBase64.h"

#include <cstring>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const size_t kGroupsPerLine = 18;

int ValueOf(char c) {
    const char* found = c != '\0' ? std::strchr(kAlphabet, c) : nullptr;
    return found != nullptr ? static_cast<int>(found - kAlphabet) : -1;
}

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

size_t XmlBase64::EncodedCapacity(size_t length, bool lineBreaks) {
    // Four characters per started group of three bytes, the terminator and some slack.
    const size_t groups = length == 0 ? 0 : (length - 1) / 3;
    return groups * 4 + 5 + (lineBreaks ? length / 54 : 0);
}

std::string XmlBase64::Encode(const unsigned char* data, size_t length, bool lineBreaks) {
    std::string out;
    out.reserve(EncodedCapacity(length, lineBreaks));
    size_t groups = 0;
    for (size_t i = 0; i < length; i += 3) {
        const size_t left = length - i;
        const unsigned int bits = (static_cast<unsigned int>(data[i]) << 16) |
                                  (left > 1 ? static_cast<unsigned int>(data[i + 1]) << 8 : 0u) |
                                  (left > 2 ? static_cast<unsigned int>(data[i + 2]) : 0u);
        out.push_back(kAlphabet[(bits >> 18) & 0x3F]);
        out.push_back(kAlphabet[(bits >> 12) & 0x3F]);
        out.push_back(left > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=');
        out.push_back(left > 2 ? kAlphabet[bits & 0x3F] : '=');
        ++groups;
        if (lineBreaks && groups % kGroupsPerLine == 0 && i + 3 < length) {
            out.push_back('\n');
        }
    }
    return out;
}

size_t XmlBase64::DecodedSize(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    size_t characters = 0;
    for (const char* p = text; *p != '\0' && *p != '='; ++p) {
        if (ValueOf(*p) >= 0) {
            ++characters;
        }
    }
    return characters * 3 / 4;
}

XmlErrorCode XmlBase64::Decode(const char* text, unsigned char* buffer, size_t capacity, size_t* written) {
    size_t outLength = 0;
    if (written != nullptr) {
        *written = 0;
    }
    if (text == nullptr) {
        return XmlErrorCode::None;
    }
    if (DecodedSize(text) > capacity) {
        return XmlErrorCode::Base64BufferTooSmall;
    }
    unsigned int bits = 0;
    size_t inGroup = 0;
    size_t characters = 0;  // alphabet characters and padding
    bool padded = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (IsSkipped(*p)) {
            continue;
        }
        if (*p == '=') {
            ++characters;
            padded = true;
            continue;
        }
        const int value = ValueOf(*p);
        if (value < 0) {
            return XmlErrorCode::Base64IllegalCharacter;
        }
        if (padded) {
            break;  // the padding ends the text
        }
        bits = (bits << 6) | static_cast<unsigned int>(value);
        ++characters;
        if (++inGroup == 4) {
            buffer[outLength++] = static_cast<unsigned char>(bits >> 16);
            buffer[outLength++] = static_cast<unsigned char>(bits >> 8);
            buffer[outLength++] = static_cast<unsigned char>(bits);
            bits = 0;
            inGroup = 0;
        }
    }
    if (inGroup >= 2) {
        buffer[outLength++] = static_cast<unsigned char>(bits >> (inGroup == 2 ? 4 : 10));
    }
    if (inGroup == 3) {
        buffer[outLength++] = static_cast<unsigned char>(bits >> 2);
    }
    if (written != nullptr) {
        *written = outLength;
    }
    if (inGroup == 1) {
        return XmlErrorCode::Base64TruncatedWarning;  // six bits make no byte
    }
    if (characters % 4 != 0) {
        return XmlErrorCode::Base64LengthWarning;
    }
    return XmlErrorCode::None;
}
