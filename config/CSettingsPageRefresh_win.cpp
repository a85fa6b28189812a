// The settings page's refresh: each element the data handler reports is shown in its
// control, and the controls of an element loaded as a whole are enabled.
#include "config/CSettingsPage.h"
#include "config/CSettingsPageField.h"
#include "config/SettingsPageElements.h"
#include "link/CDataHandler.h"
#include "link/ReadElementBytes.h"

#include <algorithm>
#include <vector>

using namespace SettingsPageElements;

namespace {

constexpr int kReasonLoadedWhole = 0x1;

// Controls enabled when their element has been loaded as a whole. The lists of elements
// 36 to 38 and the edit of element 101 stay disabled.
constexpr EditBinding kEnabledByLoad[] = {
    {0, CSettingsPage::kRevSignalId},      {1, CSettingsPage::kRevDivisorId},
    {2, CSettingsPage::kChangeTypeId},     {3, CSettingsPage::kChangeRevId},
    {4, CSettingsPage::kChangeTempId},     {5, CSettingsPage::kChangePressId},
    {35, CSettingsPage::kOxygenSensorId},  {45, CSettingsPage::kTankValveId},
    {50, CSettingsPage::kMinInjectionId},  {71, CSettingsPage::kOverlapId},
    {72, CSettingsPage::kBeforeChangeId},  {73, CSettingsPage::kHighPressId},
    {74, CSettingsPage::kLambdaCheckId},   {93, CSettingsPage::kPressMatterId},
    {94, CSettingsPage::kTempMatterId},    {100, CSettingsPage::kLoadMinimumId},
    {103, CSettingsPage::kExtra2Id},       {104, CSettingsPage::kExtra3Id},
    {105, CSettingsPage::kExtra4Id},       {122, CSettingsPage::kPumpTypeId},
    {102, CSettingsPage::kIntervalEditId}, {102, CSettingsPage::kIntervalSliderId},
};

int FindItemByData(const CComboBox& list, int value) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (static_cast<int>(list.GetItemData(i)) == value) {
            return i;
        }
    }
    return -1;
}

}  // namespace

LRESULT CSettingsPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    const int element = LOWORD(lParam);
    const int reason = HIWORD(lParam);
    if (m_dataHandler == nullptr || element >= kElementCount) {
        return 0;
    }
    if (reason == kReasonLoadedWhole) {
        EnableElementControls(element);
    }
    const std::vector<BYTE> bytes = ReadElementBytes(*m_dataHandler, element, 2);
    const int byte = bytes[0];

    const CSettingsPageField* field = CSettingsPageField::Find(element);
    if (element == kIntervalElement) {
        RefreshInterval(byte);
    } else if (field != nullptr) {
        RefreshEdit(*field, *EditOfElement(element), bytes.data());
    } else if (element == kChangeTypeElement) {
        RefreshChoice(element, m_changeType, byte);
    } else if (element == kRevSignalElement) {
        RefreshChoice(element, m_revSignal, byte);
    } else if (element == kOxygenSensorElement) {
        m_cache[element] = byte;
        m_oxygenSensor.SetCurSel(FindItemByData(m_oxygenSensor, byte));
    } else if (element == kTempTypeElement) {
        RefreshSensorType(element, m_tempType, m_tempCurve, byte);
    } else if (element == kPressTypeElement) {
        RefreshSensorType(element, m_pressType, m_pressCurve, byte);
    } else if (element == kLevelTypeElement) {
        RefreshSensorType(element, m_levelType, m_levelCurve, byte);
    } else if (element == kTankValveElement) {
        RefreshTankValve(byte, reason == kReasonLoadedWhole);
    } else if (element == kLambdaElement) {
        m_cache[element] = byte;
        m_lambdaCheck.Invalidate(TRUE);
    } else if (element == kPumpTypeElement) {
        RefreshLubricationPump(byte);
    }
    return 0;
}

void CSettingsPage::EnableElementControls(int element) {
    for (const EditBinding& binding : kEnabledByLoad) {
        if (binding.element == element) {
            GetDlgItem(binding.controlId)->EnableWindow(TRUE);
        }
    }
}

void CSettingsPage::RefreshEdit(const CSettingsPageField& field, CEdit& edit, const BYTE* bytes) {
    const int encoded = field.ReadEncoded(bytes);
    m_cache[field.GetElement()] = encoded;
    edit.SetWindowText(field.Display(encoded));
    SelectWholeText(edit);
}

// Lists whose first item stands for every value that no other item has.
void CSettingsPage::RefreshChoice(int element, CComboBox& list, int value) {
    m_cache[element] = value;
    const int index = FindItemByData(list, value);
    list.SetCurSel(index >= 0 ? index : 0);
}

void CSettingsPage::RefreshSensorType(int element, CComboBox& list, CButton& curveButton, int value) {
    m_cache[element] = value;
    const bool userDefined = value == kOn;
    list.SetCurSel(userDefined ? 1 : 0);
    CWnd* focus = GetFocus();
    if (!userDefined && focus != nullptr && focus->GetSafeHwnd() == curveButton.GetSafeHwnd()) {
        SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    }
    curveButton.EnableWindow(FALSE);
}

void CSettingsPage::RefreshTankValve(int value, bool loadedWhole) {
    if (loadedWhole) {
        m_highestValveType = std::min(value >> 4, kLastValveType);
        FillValveTypes(0);
    }
    const int type = value & 0x0F;
    // An index past the offered types selects nothing (the list would keep its selection).
    m_tankValve.SetCurSel(type < m_tankValve.GetCount() ? type : -1);
    m_cache[kTankValveElement] = type;
}

void CSettingsPage::RefreshLubricationPump(int value) {
    if (value != 0) {
        m_cache[kPumpTypeElement] = value;
        m_pumpType.SetCurSel(FindItemByData(m_pumpType, value));
    }
    ShowLubricationOfData();
    m_pumpType.Invalidate(TRUE);
}

// The interval goes through its write step, so a unit value outside the range is reported
// and a value other than the page's is written back. 0 (no lubrication) is shown as it is.
void CSettingsPage::RefreshInterval(int value) {
    if (value != 0) {
        SetLubricationInterval(value, 0);
    } else {
        m_cache[kIntervalElement] = 0;
        m_intervalEdit.SetWindowText("0");
        m_intervalSlider.SetPos(0);
    }
    ShowLubricationOfData();
}

// The group stays while either element holds a value, whichever of them came last.
void CSettingsPage::ShowLubricationOfData() {
    BYTE pump = 0;
    BYTE interval = 0;
    m_dataHandler->ReadData(kPumpTypeElement, &pump);
    m_dataHandler->ReadData(kIntervalElement, &interval);
    ShowLubrication(pump != 0 || interval != 0 ? TRUE : FALSE);
}

void CSettingsPage::SetLubricationInterval(int value, int mode) {
    if (mode == 2 || mode == 0) {
        CString text;
        text.Format("%d", value);
        m_intervalEdit.SetWindowText(text);
        RunWriteStep(kIntervalElement);
    }
    if (mode == 1 || mode == 0) {
        m_intervalSlider.SetPos(value);
    }
}

void CSettingsPage::SelectWholeText(CEdit& edit) {
    edit.SetSel(0, -1);
    edit.SendMessage(EM_SCROLLCARET, 0, 0);
}
