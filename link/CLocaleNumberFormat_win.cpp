// Reads a locale's number format with GetLocaleInfoA.
#include "link/CLocaleNumberFormat.h"

#include <windows.h>

#include <cstdlib>

namespace {

// True with the text when the locale gives a non-empty value.
bool ReadLocaleText(DWORD localeId, LCTYPE type, std::string& text) {
    char buffer[64] = {};
    const int written = GetLocaleInfoA(localeId, type, buffer, sizeof buffer);
    if (written <= 1) {
        return false;
    }
    text = buffer;
    return true;
}

}  // namespace

CLocaleNumberFormat CLocaleNumberFormat::FromLocale(DWORD localeId) {
    CLocaleNumberFormat format;
    std::string text;
    if (ReadLocaleText(localeId, LOCALE_SNEGATIVESIGN, text)) {
        format.m_negativeSign = text;
    }
    // Native digits outside the ANSI code page do not come through as ten single bytes;
    // the ASCII digits then stay.
    if (ReadLocaleText(localeId, LOCALE_SNATIVEDIGITS, text) && text.size() == 10) {
        format.m_digits = text;
    }
    if (ReadLocaleText(localeId, LOCALE_INEGNUMBER, text)) {
        format.m_negativeMode = std::atoi(text.c_str());
    }
    if (ReadLocaleText(localeId, LOCALE_SDECIMAL, text)) {
        format.m_decimalSeparator = text;
    }
    return format;
}
