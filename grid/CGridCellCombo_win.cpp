#include "grid/CGridCellCombo.h"

#include "classlib/win/CDC.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridInPlaceCombo.h"

#include <windows.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

int CGridCellCombo::SetOptions(const std::vector<CString>& options) {
    m_options = options;
    return static_cast<int>(m_options.size());
}

CGridInPlaceCombo* CGridCellCombo::GetCombo() const {
    return dynamic_cast<CGridInPlaceCombo*>(CGridCell::GetEditWindow());
}

BOOL CGridCellCombo::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground) {
    CGridCtrl* grid = GetGrid();
    const int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int buttonHeight = GetSystemMetrics(SM_CYHSCROLL);
    if (dc != nullptr && grid != nullptr && grid->IsCellEditable(row, col) && !IsEditing() &&
        buttonHeight < rect.Width() && buttonHeight < rect.Height()) {
        CRect button(rect.right - buttonWidth, rect.top, rect.right, rect.top + buttonHeight);
        dc->DrawFrameControl(button, DFC_SCROLL, DFCS_SCROLLDOWN);
        rect.right = button.left;
    }
    if (!IsEditing()) {
        return CGridCell::Draw(dc, row, col, rect, eraseBackground);
    }
    // The open combo shows the text; the cell underneath stays blank meanwhile.
    const CString text = GetText();
    SetText("");
    const BOOL drawn = CGridCell::Draw(dc, row, col, rect, eraseBackground);
    SetText(text);
    return drawn;
}

CSize CGridCellCombo::GetCellExtent(CDC* dc) {
    CSize size = CGridCell::GetCellExtent(dc);
    size.cx += GetSystemMetrics(SM_CXVSCROLL);
    size.cy = std::max(static_cast<int>(size.cy), GetSystemMetrics(SM_CYHSCROLL));
    return size;
}

BOOL CGridCellCombo::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) {
    if (IsEditing() && CGridCell::GetEditWindow() != nullptr) {
        CGridCell::GetEditWindow()->SendMessage(WM_CHAR, character);
        return TRUE;
    }
    CGridInPlaceCombo* combo =
        CGridInPlaceCombo::Open(GetGrid(), rect, m_style, id, row, col, GetTextColour(), GetBackColour(),
                                m_options, GetText(), character);
    SetEditor(combo);
    return combo != nullptr ? TRUE : FALSE;
}

void CGridCellCombo::EndEdit() {
    CGridInPlaceCombo* combo = GetCombo();
    if (combo != nullptr) {
        combo->EndEdit();
    }
}

CWnd* CGridCellCombo::GetEditWindow() const {
    CGridInPlaceCombo* combo = GetCombo();
    if (combo == nullptr || (m_style & 0x3) == CBS_DROPDOWNLIST) {
        return nullptr;
    }
    return combo->GetEditBox();
}
