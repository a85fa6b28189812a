#include "firmware/PatchHeaderField.h"

#include "classlib/core/FormatText.h"
#include "forms/FormatRangeMessage.h"
#include "link/CLocaleNumberFormat.h"
#include "link/NumberChecks.h"

#include <string>

namespace {

constexpr long long kMagnitudeCap = 1000000000000LL;

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

std::string Trimmed(LPCSTR text) {
    const std::string whole = text != nullptr ? text : "";
    const char* blanks = " \t\r\n";
    const std::size_t first = whole.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return whole.substr(first, whole.find_last_not_of(blanks) - first + 1);
}

}  // namespace

int PatchHeaderField::DaysInMonth(int year, int month) {
    switch (month) {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

PatchHeaderField::Outcome PatchHeaderField::Check(const CLocaleNumberFormat& format, LPCSTR text,
                                                  int& value) const {
    if (text == nullptr || !IsValidNumberText(format, text)) {
        return kNotANumber;
    }
    // The locale's own digits and sign, which may stand behind the number or be parentheses;
    // a magnitude beyond any range stops growing, so long digit strings stay out of range.
    const std::string shown = Trimmed(text);
    long long magnitude = 0;
    for (char c : shown) {
        const std::size_t digit = format.m_digits.find(c);
        if (digit != std::string::npos && digit < 10 && magnitude <= kMagnitudeCap) {
            magnitude = magnitude * 10 + static_cast<long long>(digit);
        }
    }
    const bool negative = (!format.m_negativeSign.empty() && shown.find(format.m_negativeSign) != std::string::npos) ||
                          shown.find('(') != std::string::npos;
    const long long number = negative ? -magnitude : magnitude;
    if (number < m_minimum || number > m_maximum) {
        return kOutOfRange;
    }
    value = static_cast<int>(number);
    return kValid;
}

CString PatchHeaderField::Message(Outcome outcome,
                                  LPCSTR text,
                                  LPCSTR invalidFormat,
                                  LPCSTR rangeFormat) const {
    const std::string shown = Trimmed(text);
    // Both formats are the string table's own texts with exactly these conversions.
    if (outcome == kNotANumber) {
        return FormatText(invalidFormat, shown.c_str());
    }
    if (outcome == kOutOfRange) {
        const std::string minimum = std::to_string(m_minimum);
        const std::string maximum = std::to_string(m_maximum);
        return FormatRangeMessage(rangeFormat, shown.c_str(), minimum.c_str(), maximum.c_str());
    }
    return CString();
}
