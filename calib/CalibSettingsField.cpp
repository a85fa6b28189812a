#include "calib/CalibSettingsField.h"

#include "link/CLocaleNumberFormat.h"
#include "link/NumberChecks.h"
#include "link/ParseLocaleDecimal.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// Base 10, saturated to the int range (long is wider than int on some platforms).
double WholeValue(const char* text) {
    const long value = std::strtol(text, nullptr, 10);
    return static_cast<double>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

}  // namespace

CString CalibSettingsField::Format() const {
    CString text;
    if (whole != nullptr) {
        text.Format("%d", *whole);
    } else {
        text.Format("%f", *decimal);
    }
    return text;
}

bool CalibSettingsField::Store(const CLocaleNumberFormat& format, const char* text) const {
    const bool isWhole = whole != nullptr;
    if (!(isWhole ? IsValidNumberText(format, text) : IsValidDecimalText(format, text))) {
        return false;
    }
    double value = 0;
    if (isWhole) {
        value = WholeValue(text);
    } else if (!ParseLocaleDecimal(text, format.m_decimalSeparator.c_str(), value)) {
        return false;
    }
    if (ranged && (value < minimum || value > maximum)) {
        return false;
    }
    if (isWhole) {
        *whole = static_cast<int>(value);
    } else {
        *decimal = value;
    }
    return true;
}
