// Number checks: a regular expression is built from the locale's sign, digits, sign position
// and decimal separator, and must match the whole trimmed text.
#include "link/NumberChecks.h"

#include <cctype>
#include <limits>
#include <string>

#include <boost/regex.hpp>

namespace {

// Locale texts are taken literally: every character that is not a letter or digit is escaped,
// which in Perl syntax makes it literal both inside and outside a bracket expression.
std::string EscapeLiteral(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

std::string Trim(LPCSTR text) {
    const std::string whole = text ? text : "";
    const char* const blanks = " \t\r\n\f\v";
    const std::size_t first = whole.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = whole.find_last_not_of(blanks);
    return whole.substr(first, last - first + 1);
}

// `number` is the unsigned number pattern; the sign is placed around it by the locale's mode.
// In the modes with a blank between sign and digits the blank belongs to the optional sign,
// so that a positive number needs no blank either.
std::string SignedPattern(const CLocaleNumberFormat& format, const std::string& number) {
    const std::string sign = "(?:" + EscapeLiteral(format.m_negativeSign) + ")";
    switch (format.m_negativeMode) {
    case 0:
        return "\\((" + number + ")\\)|(" + number + ")";
    case 2:
        return "(?:" + sign + " )?" + number;
    case 3:
        return number + sign + "?";
    case 4:
        return number + "(?: " + sign + ")?";
    default:
        return sign + "?" + number;
    }
}

std::string DigitsPattern(const CLocaleNumberFormat& format) {
    return "[" + EscapeLiteral(format.m_digits) + "]";
}

bool MatchesWhole(const std::string& pattern, const std::string& text) {
    if (text.empty()) {
        return false;
    }
    try {
        const boost::regex expression(pattern);
        return boost::regex_match(text, expression);
    } catch (const boost::regex_error&) {
        // Every locale text is escaped, so this cannot happen; should it, the text is
        // reported as invalid rather than an exception escaping into an edit handler.
        return false;
    }
}

}  // namespace

bool IsValidNumberText(const CLocaleNumberFormat& format, LPCSTR text) {
    const std::string number = DigitsPattern(format) + "+";
    return MatchesWhole(SignedPattern(format, number), Trim(text));
}

bool ParseNumberText(const CLocaleNumberFormat& format, LPCSTR text, long long& value) {
    if (!IsValidNumberText(format, text)) {
        return false;
    }
    // The check let through only the locale's digits, its sign and the parentheses.
    const std::string trimmed = Trim(text);
    const bool negative = trimmed[0] == '(' ||
                          (!format.m_negativeSign.empty() && trimmed.find(format.m_negativeSign) != std::string::npos);
    long long magnitude = 0;
    for (const char c : trimmed) {
        const std::size_t digit = format.m_digits.find(c);
        if (digit == std::string::npos) {
            continue;
        }
        if (magnitude > (std::numeric_limits<long long>::max() - static_cast<long long>(digit)) / 10) {
            return false;
        }
        magnitude = magnitude * 10 + static_cast<long long>(digit);
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

bool IsValidDecimalText(const CLocaleNumberFormat& format, LPCSTR text) {
    const std::string digits = DigitsPattern(format);
    const std::string number = digits + "+(?:" + EscapeLiteral(format.m_decimalSeparator) + digits + "*)?";
    return MatchesWhole(SignedPattern(format, number), Trim(text));
}

bool IsValidNumberText(DWORD localeId, LPCSTR text) {
    return IsValidNumberText(CLocaleNumberFormat::FromLocale(localeId), text);
}

bool IsValidDecimalText(DWORD localeId, LPCSTR text) {
    return IsValidDecimalText(CLocaleNumberFormat::FromLocale(localeId), text);
}

void FormatHexBytes(int count, const BYTE* bytes, CString& text) {
    static const char kHexDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            hex += ' ';
        }
        hex += kHexDigits[bytes[i] >> 4];
        hex += kHexDigits[bytes[i] & 0x0F];
    }
    text = hex.c_str();
}
