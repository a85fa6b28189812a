#include "diag/CNumberInput.h"

#include "classlib/core/FormatText.h"
#include "forms/FormatRangeMessage.h"
#include "link/NumberChecks.h"

#include <string>

namespace {

bool Parse(const CLocaleNumberFormat& format,
           const CString& text,
           const CString& invalidFormat,
           long long& parsed,
           CString& message) {
    if (ParseNumberText(format, text, parsed)) {
        return true;
    }
    message = FormatText(invalidFormat, text.GetString());
    return false;
}

// A parsed value within both bounds is taken; any other gets the range message.
bool TakeInRange(long long parsed, int low, int high, const CString& rangeFormat, int& value, CString& message) {
    if (parsed < low || parsed > high) {
        message = CNumberInput::RangeMessage(rangeFormat, parsed, low, high);
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

CString CNumberInput::RangeMessage(const CString& rangeFormat, long long value, int low, int high) {
    return FormatRangeMessage(rangeFormat, std::to_string(value).c_str(), std::to_string(low).c_str(),
                              std::to_string(high).c_str());
}

bool CNumberInput::CheckNumber(const CLocaleNumberFormat& format,
                               const CString& text,
                               int low,
                               int high,
                               const CString& invalidFormat,
                               const CString& rangeFormat,
                               int& value,
                               CString& message) {
    long long parsed = 0;
    if (!Parse(format, text, invalidFormat, parsed, message)) {
        return false;
    }
    return TakeInRange(parsed, low, high, rangeFormat, value, message);
}

bool CNumberInput::CheckLambda(const CLocaleNumberFormat& format,
                               const CString& text,
                               const CString& invalidFormat,
                               const CString& rangeFormat,
                               int& value,
                               CString& message) {
    long long parsed = 0;
    if (!Parse(format, text, invalidFormat, parsed, message)) {
        return false;
    }
    if (parsed == kLambdaSpecial) {
        value = kLambdaSpecial;
        return true;
    }
    return TakeInRange(parsed, kLambdaLow, kLambdaHigh, rangeFormat, value, message);
}
