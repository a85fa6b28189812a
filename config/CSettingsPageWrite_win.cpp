// The settings page's write-back: the typed text of an edit checked against the locale and
// the field's range, a chosen list item or the lambda check written through the data handler.
#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "config/CSensorSettingDlg.h"
#include "config/CSettingsPage.h"
#include "config/CSettingsPageField.h"
#include "config/SettingsPageElements.h"
#include "link/CDataHandler.h"
#include "link/CLocaleNumberFormat.h"
#include "link/CLogger.h"
#include "link/ITextResources.h"
#include "link/NumberChecks.h"

using namespace SettingsPageElements;

namespace {

// Texts of the string table.
constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."

}  // namespace

bool CSettingsPage::RunWriteStep(int element) {
    const CSettingsPageField* field = CSettingsPageField::Find(element);
    CEdit* edit = EditOfElement(element);
    // The refusal box takes the focus from the field; that must not start another write step,
    // which would open a box over the box when the refused text could not be undone.
    if (field == nullptr || edit == nullptr || m_refusing) {
        return false;
    }
    CString text;
    edit->GetWindowText(text);
    const DWORD language = LanguageId();
    const bool wellFormed =
        field->IsDecimal() ? IsValidDecimalText(language, text) : IsValidNumberText(language, text);
    const CLocaleNumberFormat format = CLocaleNumberFormat::FromLocale(language);
    double value = 0;
    if (!wellFormed || !field->Parse(text, format.m_decimalSeparator.c_str(), value)) {
        RefuseInput(*edit, FormatText(LoadText(m_resources, kInvalidElementText), static_cast<LPCSTR>(text)));
        return false;
    }
    if (!field->InRange(value)) {
        RefuseInput(*edit, field->RangeMessage(LoadText(m_resources, kOutOfRangeText), value));
        return false;
    }
    const int encoded = field->Encode(value);
    if (encoded == m_cache[element]) {
        edit->SetWindowText(field->Display(encoded));
        SelectWholeText(*edit);
        return true;
    }
    WriteElement(element, encoded);
    return true;
}

void CSettingsPage::RefuseInput(CEdit& edit, const CString& message) {
    edit.Undo();
    edit.EmptyUndoBuffer();
    // The typed text may have scrolled the edit; the value given back shows from its start.
    edit.SetSel(0, 0);
    edit.SendMessage(EM_SCROLLCARET, 0, 0);
    CLogger::Instance().Log(3000, "CSettingsPage: %s", static_cast<LPCSTR>(message));
    m_refusing = true;
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    m_refusing = false;
}

void CSettingsPage::WriteElement(int element, int encoded) {
    m_cache[element] = encoded;
    BYTE bytes[2] = {static_cast<BYTE>(encoded & 0xFF), static_cast<BYTE>((encoded >> 8) & 0xFF)};
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(element, bytes);
    }
}

void CSettingsPage::WriteChoice(int element, CComboBox& list) {
    const int selection = list.GetCurSel();
    if (selection < 0) {
        return;
    }
    const int value = static_cast<BYTE>(list.GetItemData(selection));
    if (value == m_cache[element]) {
        return;
    }
    WriteElement(element, value);
}

void CSettingsPage::OnEditKillFocus(UINT id) {
    const int element = ElementOfEdit(static_cast<int>(id));
    if (element >= 0) {
        RunWriteStep(element);
    }
}

BOOL CSettingsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED &&
        CSensorSettingDlg::RunForButton(static_cast<int>(id), this, m_dataHandler, m_resources, m_fonts,
                                        m_scaleX, m_scaleY)) {
        return TRUE;
    }
    if (id != IDOK && id != IDCANCEL) {
        return CScrollPage::OnCommand(wParam, lParam);
    }
    CWnd* focus = GetFocus();
    const int focusId = focus != nullptr && focus->GetParent() == this ? focus->GetDlgCtrlID() : 0;
    const int element = ElementOfEdit(focusId);
    if (id == IDOK) {
        if (element >= 0 && element != kLoadMinimumElement) {
            RunWriteStep(element);
        }
        return TRUE;
    }
    CEdit* edit = element >= 0 ? EditOfElement(element) : nullptr;
    if (edit == nullptr || !edit->CanUndo()) {
        return FALSE;
    }
    edit->Undo();
    edit->EmptyUndoBuffer();
    return TRUE;
}

void CSettingsPage::OnChangeTypeSelected() {
    WriteChoice(kChangeTypeElement, m_changeType);
}

void CSettingsPage::OnRevSignalSelected() {
    WriteChoice(kRevSignalElement, m_revSignal);
}

void CSettingsPage::OnOxygenSensorSelected() {
    WriteChoice(kOxygenSensorElement, m_oxygenSensor);
}

void CSettingsPage::OnTankValveSelected() {
    WriteChoice(kTankValveElement, m_tankValve);
}

void CSettingsPage::OnTempTypeSelected() {
    WriteChoice(kTempTypeElement, m_tempType);
}

void CSettingsPage::OnPressTypeSelected() {
    WriteChoice(kPressTypeElement, m_pressType);
}

void CSettingsPage::OnLevelTypeSelected() {
    WriteChoice(kLevelTypeElement, m_levelType);
}

void CSettingsPage::OnPumpTypeSelected() {
    WriteChoice(kPumpTypeElement, m_pumpType);
}

void CSettingsPage::OnSliderReleased(NMHDR* header, LRESULT* result) {
    SetLubricationInterval(m_intervalSlider.GetPos(), 2);
    *result = 0;
}

void CSettingsPage::OnLambdaCheckClicked() {
    WriteElement(kLambdaElement, m_cache[kLambdaElement] == 0 ? kOn : 0);
    m_lambdaCheck.Invalidate(TRUE);
}
