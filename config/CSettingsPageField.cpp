#include "config/CSettingsPageField.h"

#include "classlib/core/FormatText.h"
#include "forms/FormatRangeMessage.h"
#include "link/ParseLocaleDecimal.h"

#include <cmath>
#include <cstdlib>

namespace {

// The edit fields of the settings page, by element.
const CSettingsPageField kFields[] = {
    CSettingsPageField({3, SettingEncoding::RpmByte, 200, 2000, "%d"}),
    CSettingsPageField({4, SettingEncoding::SignedByte, 0, 80, "%d"}),
    CSettingsPageField({5, SettingEncoding::MilliWord, 0.2, 4.0, "%.02f"}),
    CSettingsPageField({71, SettingEncoding::Word, 0, 1500, "%d"}),
    CSettingsPageField({50, SettingEncoding::MilliWord, 0.4, 5.0, "%.2f"}),
    CSettingsPageField({72, SettingEncoding::Word, 0, 10, "%d"}),
    CSettingsPageField({73, SettingEncoding::Word, 1, 16, "%d"}),
    CSettingsPageField({1, SettingEncoding::Byte, 1, 255, "%d"}),
    CSettingsPageField({93, SettingEncoding::Byte, 0, 200, "%d"}),
    CSettingsPageField({94, SettingEncoding::Byte, 0, 200, "%d"}),
    CSettingsPageField({102, SettingEncoding::Byte, 4, 10, "%d"}),
    CSettingsPageField({100, SettingEncoding::Byte, 0, 100, "%d"}),
    CSettingsPageField({101, SettingEncoding::Byte, 0, 10, "%d"}),
    CSettingsPageField({103, SettingEncoding::SignedByte, -1, 100, "%d"}),
    CSettingsPageField({104, SettingEncoding::SignedByte, -1, 100, "%d"}),
    CSettingsPageField({105, SettingEncoding::SignedByte, -1, 100, "%d"}),
};

// Absorbs the representation error of a typed decimal times 100 (at most about 1e-12 for
// the page's values) without reaching the next hundredth.
constexpr double kHundredthsTolerance = 1e-7;

}  // namespace

const CSettingsPageField* CSettingsPageField::Find(int element) {
    for (const CSettingsPageField& field : kFields) {
        if (field.GetElement() == element) {
            return &field;
        }
    }
    return nullptr;
}

int CSettingsPageField::GetByteCount() const {
    return m_rule.encoding == SettingEncoding::Word || m_rule.encoding == SettingEncoding::MilliWord ? 2 : 1;
}

int CSettingsPageField::ReadEncoded(const BYTE* bytes) const {
    switch (m_rule.encoding) {
    case SettingEncoding::SignedByte:
        return static_cast<signed char>(bytes[0]);
    case SettingEncoding::Word:
    case SettingEncoding::MilliWord:
        return bytes[0] | (bytes[1] << 8);
    default:
        return bytes[0];
    }
}

void CSettingsPageField::WriteEncoded(int encoded, BYTE* bytes) const {
    bytes[0] = static_cast<BYTE>(encoded & 0xFF);
    if (GetByteCount() == 2) {
        bytes[1] = static_cast<BYTE>((encoded >> 8) & 0xFF);
    }
}

CString CSettingsPageField::Display(int encoded) const {
    CString text;
    switch (m_rule.encoding) {
    case SettingEncoding::RpmByte:
        text.Format("%d", encoded * 100);
        break;
    case SettingEncoding::MilliWord:
        text = FormatText(m_rule.format, encoded * 0.001);
        break;
    default:
        text.Format("%d", encoded);
        break;
    }
    return text;
}

bool CSettingsPageField::Parse(LPCSTR text, LPCSTR decimalSeparator, double& value) const {
    if (text == nullptr) {
        return false;
    }
    if (!IsDecimal()) {
        char* end = nullptr;
        const long number = std::strtol(text, &end, 10);
        value = static_cast<double>(number);
        return end != text;
    }
    return ParseLocaleDecimal(text, decimalSeparator, value);
}

int CSettingsPageField::Encode(double value) const {
    switch (m_rule.encoding) {
    case SettingEncoding::RpmByte:
        return static_cast<int>(value) / 100;
    case SettingEncoding::MilliWord: {
        const double hundredths = value * 100.0;
        const double nudged =
            hundredths >= 0 ? hundredths + kHundredthsTolerance : hundredths - kHundredthsTolerance;
        return static_cast<int>(std::trunc(nudged)) * 10;
    }
    default:
        return static_cast<int>(value);
    }
}

CString CSettingsPageField::RangeMessage(const CString& pattern, double value) const {
    return FormatRangeMessage(pattern, FormatTyped(value), FormatTyped(m_rule.low), FormatTyped(m_rule.high));
}

CString CSettingsPageField::FormatTyped(double value) const {
    CString text;
    if (IsDecimal()) {
        text = FormatText(m_rule.format, value);
    } else {
        text = FormatText(m_rule.format, static_cast<int>(value));
    }
    return text;
}
