#include "config/CMeasurementEditDlg.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "config/MapPageIds.h"
#include "forms/FormatRangeMessage.h"
#include "link/CLocaleNumberFormat.h"
#include "link/ITextResources.h"
#include "link/NumberChecks.h"
#include "link/ParseLocaleDecimal.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."
constexpr UINT kCaptionText = IDS_MAP_EDIT_CAPTION;
constexpr UINT kRevText = IDS_MAP_REV;
constexpr UINT kInjectionText = IDS_MAP_INJECTION;
constexpr UINT kMeasurementText = IDS_MAP_MEASUREMENT;
constexpr UINT kOkText = 15301;
constexpr UINT kCancelText = 15111;
constexpr UINT kTotalizeText = 15298;

constexpr char kWholeFormat[] = "%d";
constexpr char kDecimalFormat[] = "%.02f";

}  // namespace

CMeasurementEditDlg::CMeasurementEditDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

void CMeasurementEditDlg::SetRev(int rpm, int minimum, int maximum) {
    m_rev = rpm;
    m_revMin = minimum;
    m_revMax = maximum;
}

void CMeasurementEditDlg::SetInjection(double ms, double minimum, double maximum) {
    m_injection = ms;
    m_injectionMin = minimum;
    m_injectionMax = maximum;
}

void CMeasurementEditDlg::SetMeasurement(int percent, int minimum, int maximum) {
    m_measurement = percent;
    m_measurementMin = minimum;
    m_measurementMax = maximum;
}

DWORD CMeasurementEditDlg::LanguageId() const {
    return m_resources != nullptr ? m_resources->GetLanguageId() : LOCALE_USER_DEFAULT;
}

CString CMeasurementEditDlg::ItemText(int id) const {
    char text[64] = {};
    GetDlgItemTextA(m_hWnd, id, text, sizeof(text));
    return CString(text);
}

BOOL CMeasurementEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(LoadText(m_resources, kCaptionText));

    const struct {
        int id;
        UINT text;
    } labels[] = {
        {kRevLabelId, kRevText},
        {kInjectionLabelId, kInjectionText},
        {kMeasurementLabelId, kMeasurementText},
        {IDOK, kOkText},
        {IDCANCEL, kCancelText},
        {kTotalizeId, kTotalizeText},
    };

    for (const auto& label : labels) {
        SetDlgItemTextA(m_hWnd, label.id, LoadText(m_resources, label.text));
    }
    SetDlgItemTextA(m_hWnd, kRevId, FormatText(kWholeFormat, m_rev));
    SetDlgItemTextA(m_hWnd, kInjectionId, FormatText(kDecimalFormat, m_injection));
    SetDlgItemTextA(m_hWnd, kMeasurementId, FormatText(kWholeFormat, m_measurement));
    return TRUE;
}

BOOL CMeasurementEditDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kTotalizeId && HIWORD(wParam) == BN_CLICKED) {
        if (StoreValues()) {
            EndDialog(kResultTotalize);
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CMeasurementEditDlg::OnOK() {
    if (StoreValues()) {
        EndDialog(IDOK);
    }
}

bool CMeasurementEditDlg::StoreValues() {
    return ReadWhole(kRevId, m_revMin, m_revMax, m_rev) &&
           ReadDecimal(kInjectionId, m_injectionMin, m_injectionMax, m_injection) &&
           ReadWhole(kMeasurementId, m_measurementMin, m_measurementMax, m_measurement);
}

CString CMeasurementEditDlg::RangeMessage(const CString& value,
                                          const CString& minimum,
                                          const CString& maximum) const {
    return FormatRangeMessage(LoadText(m_resources, kOutOfRangeText), value, minimum, maximum);
}

bool CMeasurementEditDlg::ReadWhole(int id, int minimum, int maximum, int& value) {
    const CString text = ItemText(id);
    if (!IsValidNumberText(LanguageId(), text)) {
        Refuse(id, FormatText(LoadText(m_resources, kInvalidElementText), text.GetString()));
        return false;
    }
    const int number = static_cast<int>(std::strtol(text, nullptr, 10));
    if (number < minimum || number > maximum) {
        Refuse(id, RangeMessage(FormatText(kWholeFormat, number), FormatText(kWholeFormat, minimum),
                                FormatText(kWholeFormat, maximum)));
        return false;
    }
    value = number;
    return true;
}

// The field shows hundredths: an untouched text keeps the exact value it was filled with (a
// calibrated time, a breakpoint between hundredths), and the limits count as the field shows
// them, the value kept inside the exact ones.
bool CMeasurementEditDlg::ReadDecimal(int id, double minimum, double maximum, double& value) {
    const CString text = ItemText(id);
    const CLocaleNumberFormat format = CLocaleNumberFormat::FromLocale(LanguageId());
    const bool untouched = text == FormatText(kDecimalFormat, value);
    double number = value;
    if (!IsValidDecimalText(format, text) ||
        (!untouched && !ParseLocaleDecimal(text, format.m_decimalSeparator.c_str(), number))) {
        Refuse(id, FormatText(LoadText(m_resources, kInvalidElementText), text.GetString()));
        return false;
    }
    const auto hundredths = [](double ms) { return std::llround(ms * 100.0); };
    if (hundredths(number) < hundredths(minimum) || hundredths(number) > hundredths(maximum)) {
        Refuse(id, RangeMessage(FormatText(kDecimalFormat, number), FormatText(kDecimalFormat, minimum),
                                FormatText(kDecimalFormat, maximum)));
        return false;
    }
    value = untouched ? number : std::clamp(number, minimum, maximum);
    return true;
}

void CMeasurementEditDlg::Refuse(int id, const CString& message) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(GetDlgItem(id));
}
