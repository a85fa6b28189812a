#include "forms/XmlWideText.h"

#include <cstdint>

namespace {

// The characters of code page 1252 at bytes 0x80 to 0x9F; 0 where the byte is not assigned.
const uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Units looked at by the 16-bit test; enough for any XML prologue.
const size_t kTestedUnits = 256;

uint16_t UnitAt(const unsigned char* data, size_t unit) {
    return static_cast<uint16_t>(data[2 * unit] | (data[2 * unit + 1] << 8));
}

bool IsHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(uint32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

char ToCp1252(uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (int i = 0; i < 32; ++i) {
        // Unassigned bytes come back from their C1 control characters unchanged.
        if (kCp1252High[i] == code || (kCp1252High[i] == 0 && code == 0x80u + static_cast<uint32_t>(i))) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

bool XmlWideText::IsWideText(const unsigned char* data, size_t length) {
    if (length < 2) {
        return false;
    }
    if (data[0] == 0xFF && data[1] == 0xFE) {
        return true;
    }
    size_t units = length / 2;
    if (units > kTestedUnits) {
        units = kTestedUnits;
    }
    size_t narrowUnits = 0;
    for (size_t i = 0; i < units; ++i) {
        const uint16_t unit = UnitAt(data, i);
        if (unit == 0) {
            return false;
        }
        if (unit < 0x100) {
            ++narrowUnits;
        }
    }
    return narrowUnits * 2 > units;
}

bool XmlWideText::ToNarrow(const unsigned char* data,
                           size_t length,
                           XmlCharEncoding target,
                           std::string& out) {
    const size_t units = length / 2;
    const bool utf8 = target == XmlCharEncoding::Utf8;
    for (size_t i = 0; i < units; ++i) {
        uint32_t code = UnitAt(data, i);
        if (code == 0) {
            break;
        }
        if (IsHighSurrogate(code) && i + 1 < units && IsLowSurrogate(UnitAt(data, i + 1))) {
            code = 0x10000 + ((code - 0xD800) << 10) + (UnitAt(data, i + 1) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
            if (utf8) {
                return false;
            }
            code = '?';
        }
        if (utf8) {
            AppendUtf8(code, out);
        } else {
            out.push_back(ToCp1252(code));
        }
    }
    return true;
}
