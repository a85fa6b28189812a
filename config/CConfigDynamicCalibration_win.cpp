// The map page's cell calibrations: the choice of the kind, the dialog's run over the map.
#include "config/CConfigDynamic.h"

#include "calib/CalibratorAdapDlg.h"
#include "calib/CalibratorContDlg.h"
#include "calib/CalibratorPts.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CMenu.h"
#include "config/MapPageConstants.h"
#include "link/ITextResources.h"

using namespace MapPageConstants;

// ---- Cell calibration ----------------------------------------------------------------------------

int CConfigDynamic::ChooseCalibrationMode() {
    if (!m_extended) {
        return CMapEditor::kModePoints;
    }
    if (m_modeChooser) {
        return m_modeChooser();
    }
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_OWNERDRAW, CMapEditor::kModePoints, reinterpret_cast<LPCSTR>(kByInjectionText));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_OWNERDRAW, CMapEditor::kModeContinuous, reinterpret_cast<LPCSTR>(kAutomaticText));
    RECT button = {};
    m_calCell.GetWindowRect(&button);
    return static_cast<int>(TrackPopupMenu(menu.GetSafeHmenu(),
                                           TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN, button.right,
                                           button.top, 0, GetSafeHwnd(), nullptr));
}

INT_PTR CConfigDynamic::RunCalibrationDialog(int mode) {
    const bool longTrim = (m_obdOptions & kObdLongTrimOffBit) == 0;
    const auto setUp = [&](CCalibratorDlgBase& dialog) {
        dialog.SetConfigDynamic(&m_editor);
        LendServices(dialog);
    };
    const auto run = [&](CCalibratorDlgBase& dialog) {
        m_activeDialog = &dialog;
        const INT_PTR result = RunDialog(dialog);
        m_activeDialog = nullptr;
        return result;
    };
    if (mode == CMapEditor::kModeContinuous) {
        CalibratorContDlg dialog(this);
        setUp(dialog);
        m_continuousCore.SetUseLongTrim(longTrim ? 1 : 0);
        dialog.SetCore(&m_continuousCore);
        dialog.SetFilterValue(m_minimumInjectionUs);
        return run(dialog);
    }
    if (mode == CMapEditor::kModeAdaptive) {
        CalibratorAdapDlg dialog(this);
        setUp(dialog);
        m_adaptiveCore.SetUseLongTrim(longTrim ? 1 : 0);
        dialog.SetCore(&m_adaptiveCore);
        dialog.SetFilterValue(m_minimumInjectionUs);
        return run(dialog);
    }
    CalibratorPts dialog(this);
    setUp(dialog);
    dialog.SetCore(&m_pointCore);
    dialog.SetFilterValue(m_minimumInjectionUs);
    dialog.SetExtendedMode(m_extended ? 1 : 0);
    return run(dialog);
}

// An empty map (before element 8 arrived) has nothing to calibrate.
void CConfigDynamic::OnCalCell() {
    if (m_dataHandler == nullptr || m_editor.GetMap().IsEmpty() || m_activeDialog != nullptr) {
        return;
    }
    const int mode = ChooseCalibrationMode();
    if (mode != CMapEditor::kModePoints && mode != CMapEditor::kModeAdaptive &&
        mode != CMapEditor::kModeContinuous) {
        return;
    }
    m_editor.BeginCalibration(mode, m_extended, ReadByte(kStatusElement));
    const INT_PTR result = RunCalibrationDialog(mode);
    m_editor.EndCalibration(mode, static_cast<int>(result));
    ShowMeasurementCoverage();
}

void CConfigDynamic::OnMeasureItem(int id, LPMEASUREITEMSTRUCT measureItem) {
    if (measureItem->CtlType != ODT_MENU) {
        CScrollPage::OnMeasureItem(id, measureItem);
        return;
    }
    measureItem->itemWidth = m_popupWidth;
    measureItem->itemHeight = m_popupHeight;
}

void CConfigDynamic::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    if (drawItem->CtlType != ODT_MENU) {
        CScrollPage::OnDrawItem(id, drawItem);
        return;
    }
    const bool selected = (drawItem->itemState & ODS_SELECTED) != 0;
    HDC dc = drawItem->hDC;
    FillRect(dc, &drawItem->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const CString text = LoadText(m_resources, static_cast<UINT>(drawItem->itemData));
    RECT textRect = drawItem->rcItem;
    textRect.left += 4;
    textRect.top += 2;
    CFont* font = m_fonts != nullptr ? m_fonts->GetFont(&m_popupFont) : nullptr;
    const HGDIOBJ old =
        SelectObject(dc, font != nullptr ? font->GetSafeHandle() : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(selected ? COLOR_CAPTIONTEXT : COLOR_MENUTEXT));
    DrawTextA(dc, text, text.GetLength(), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
}
