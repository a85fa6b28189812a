// The map page's edits of the map and its commands from the keyboard and the buttons.
#include "config/CConfigDynamic.h"

#include "calib/CAdaptSettingsDlg.h"
#include "calib/CCalibSettingsDlg.h"
#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "config/MapPageConstants.h"
#include "link/CDataHandler.h"
#include "link/ITextResources.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace MapPageConstants;

namespace {

// "Settings - Adaptiv" is open.
bool g_adaptSettingsOpen = false;

}  // namespace

// ---- Edits ---------------------------------------------------------------------------------------

void CConfigDynamic::ReportOutcome(const MapEditOutcome& outcome, LPCSTR text) {
    if (outcome.result == MapEditOutcome::NotANumber) {
        AfxMessageBox(FormatText(LoadText(m_resources, kInvalidElementText), text), MB_OK | MB_ICONEXCLAMATION);
    } else if (outcome.result == MapEditOutcome::OutOfRange) {
        AfxMessageBox(FormatText(LoadText(m_resources, kOutOfRangeText), outcome.value), MB_OK | MB_ICONEXCLAMATION);
    }
}

bool CConfigDynamic::SelectedBox(MapCellBox& box) {
    const GridCellRange range = m_grid.GetSelectionBounds();
    if (!m_grid.IsValidRange(range)) {
        return false;
    }
    box = {std::max(range.minCol, 1) - 1, std::max(range.minRow, 1) - 1, range.maxCol - 1, range.maxRow - 1};
    return m_editor.GetMap().IsValidBox(box.firstColumn, box.firstRow, box.lastColumn, box.lastRow);
}

void CConfigDynamic::SelectBox(const MapCellBox& box) {
    m_grid.SetSelectedRange(box.firstRow + 1, box.firstColumn + 1, box.lastRow + 1, box.lastColumn + 1, TRUE);
    m_grid.SetFocusRowCol(box.firstRow + 1, box.firstColumn + 1);
}

// The grid keeps its old text; the new value shows when element 8 comes back.
void CConfigDynamic::OnGridEndEdit(NMHDR* header, LRESULT* result) {
    *result = -1;
    const GridNotifyRecord* record = reinterpret_cast<const GridNotifyRecord*>(header);
    const CString text = m_grid.GetCellText(record->row, record->col);
    MapCellBox box;
    if (!SelectedBox(box)) {
        box = {record->col - 1, record->row - 1, record->col - 1, record->row - 1};
    }
    ReportOutcome(m_editor.EditCells(text, LanguageId(), box), text);
}

LRESULT CConfigDynamic::OnHotKeys(WPARAM wParam, LPARAM lParam) {
    int step = lParam == static_cast<LPARAM>(kF4) || lParam == static_cast<LPARAM>(kNumpadMinus) ? -1 : 1;
    if (wParam != 0) {
        step *= 10;
    }
    MapCellBox box;
    if (!SelectedBox(box)) {
        return 0;
    }
    ReportOutcome(m_editor.StepCells(step, box), "");
    return 0;
}

void CConfigDynamic::HandlePaste() {
    MapCellBox box;
    if (!SelectedBox(box)) {
        return;
    }
    std::vector<int> percents;
    for (int r = box.firstRow; r <= box.lastRow; ++r) {
        for (int c = box.firstColumn; c <= box.lastColumn; ++c) {
            percents.push_back(static_cast<int>(std::strtol(m_grid.GetCellText(r + 1, c + 1), nullptr, 10)));
        }
    }
    m_editor.PasteCells(box, percents);
}

void CConfigDynamic::UndoBaseEdit() {
    m_baseEdit.SendMessage(EM_UNDO);
    m_baseEdit.SendMessage(EM_EMPTYUNDOBUFFER);
}

void CConfigDynamic::ApplyBasePercentEdit() {
    if (m_refusing) {
        return;
    }
    CString text;
    m_baseEdit.GetWindowText(text);
    const MapEditOutcome outcome = m_editor.CheckBaseText(text, LanguageId());
    if (outcome.result != MapEditOutcome::Done) {
        m_refusing = true;
        ReportOutcome(outcome, text);
        UndoBaseEdit();
        m_refusing = false;
        return;
    }
    if (outcome.value == m_editor.GetBasePercent()) {
        m_baseEdit.SetWindowText(FormatText("%d", outcome.value));
        m_baseEdit.SendMessage(EM_SETSEL, 0, -1);
        return;
    }
    m_editor.SetBasePercent(outcome.value);
}

void CConfigDynamic::OnComboChanged() {
    const int index = m_angleCombo.GetCurSel();
    if (index < 0 || m_dataHandler == nullptr) {
        return;
    }
    const BYTE value = static_cast<BYTE>(m_angleCombo.GetItemData(index));
    if (value != m_crankAngle) {
        m_dataHandler->WriteData(kAngleElement, &value);
    }
}

// ---- Commands ---------------------------------------------------------------------------------

bool CConfigDynamic::HandleAccelerator(UINT id) {
    MapCellBox box;
    switch (id) {
    case kUndoCommand:
        if (m_editor.UndoBox(box)) {
            SelectBox(box);
        }
        return true;
    case kRedoCommand:
        if (m_editor.RedoBox(box)) {
            SelectBox(box);
        }
        return true;
    case kAdaptSettingsCommand:
        if (!g_adaptSettingsOpen) {
            g_adaptSettingsOpen = true;
            CAdaptSettingsDlg dialog(this);
            dialog.SetCores(&m_adaptiveCore, &m_continuousCore);
            dialog.SetResourceManager(m_resources);
            RunDialog(dialog);
            g_adaptSettingsOpen = false;
        }
        return true;
    case kStepUpCommand:
    case kStepDownCommand:
        PostMessage(CMeasurementGridCtrl::kHotKeyStepMessage, (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? 1 : 0,
                    id == kStepUpCommand ? kF3 : kF4);
        return true;
    default:
        return false;
    }
}

BOOL CConfigDynamic::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (m_activeDialog != nullptr && m_activeDialog->GetSafeHwnd() != nullptr) {
        ::PostMessageA(m_activeDialog->GetSafeHwnd(), WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    const UINT id = LOWORD(wParam);
    const bool baseEditFocused = CWnd::GetFocus() == &m_baseEdit;
    if (HIWORD(wParam) == 0 && id == IDOK) {
        if (baseEditFocused) {
            ApplyBasePercentEdit();
        }
        return TRUE;
    }
    if (HIWORD(wParam) == 0 && id == IDCANCEL) {
        if (baseEditFocused && m_baseEdit.SendMessage(EM_CANUNDO) != 0) {
            UndoBaseEdit();
            return TRUE;
        }
        m_grid.HideTitleTip();
        return FALSE;
    }
    if (HIWORD(wParam) <= 1 && lParam == 0 && HandleAccelerator(id)) {
        return TRUE;
    }
    return CScrollPage::OnCommand(wParam, lParam);
}

INT_PTR CConfigDynamic::RunDialog(CDialog& dialog) {
    return m_dialogRunner ? m_dialogRunner(dialog) : dialog.DoModal();
}

void CConfigDynamic::OnCalibrationSettings() {
    CCalibSettingsDlg dialog(this);
    dialog.SetCore(&m_pointCore);
    dialog.SetResourceManager(m_resources);
    RunDialog(dialog);
}
