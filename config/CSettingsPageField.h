// One edit field of the settings page: how its element's bytes become the number shown and
// how a typed number becomes the bytes again, with the field's inclusive range and the
// format of its range message. Portable, so the conversions are checked natively.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

enum class SettingEncoding {
    Byte,        // unsigned byte
    SignedByte,  // signed byte
    RpmByte,     // unsigned byte = rpm / 100
    Word,        // unsigned 16-bit, low byte first
    MilliWord,   // unsigned 16-bit in thousandths, typed with two decimals
};

struct SettingFieldRule {
    int element;
    SettingEncoding encoding;
    double low;  // inclusive bounds of the typed value
    double high;
    const char* format;  // "%d" for whole numbers, else a "%f" format with two decimals
};

class CSettingsPageField {
public:
    explicit CSettingsPageField(const SettingFieldRule& rule) : m_rule(rule) {}

    // The field of an element, or null when the page has no edit for it.
    static const CSettingsPageField* Find(int element);

    int GetElement() const { return m_rule.element; }

    bool IsDecimal() const { return m_rule.encoding == SettingEncoding::MilliWord; }

    int GetByteCount() const;

    // The encoded value of the element's bytes (the page's cached value).
    int ReadEncoded(const BYTE* bytes) const;
    // The element's bytes of an encoded value.
    void WriteEncoded(int encoded, BYTE* bytes) const;
    // The text the field shows for an encoded value.
    CString Display(int encoded) const;

    // The typed text as a number; decimalSeparator is the locale's. False when it is none.
    bool Parse(LPCSTR text, LPCSTR decimalSeparator, double& value) const;

    bool InRange(double value) const { return value >= m_rule.low && value <= m_rule.high; }

    // The encoded value of a typed number in range. Decimals keep a resolution of 0.01 and
    // are cut toward zero, but a typed 0.57 stays 570: the binary product 56.99999... is
    // taken as the 57 that was typed.
    int Encode(double value) const;
    // pattern: "Element out of range: %s <- %c%s; %s%c." in the current language; its %s take
    // the field's format and its %c the brackets before value and bounds go in.
    CString RangeMessage(const CString& pattern, double value) const;

private:
    // A typed number or a bound in the field's format, whole numbers cut toward zero.
    CString FormatTyped(double value) const;

    SettingFieldRule m_rule;
};
