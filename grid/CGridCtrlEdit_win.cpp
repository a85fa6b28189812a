// In-place editing in the grid window: opening a cell's editor and taking its text back.
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"

#include <windows.h>

void CGridCtrl::OnEditCell(int row, int col, CPoint point, UINT character) {
    HideTitleTip();
    if (!IsValid(row, col) || !IsCellEditable(row, col)) {
        return;
    }
    EnsureVisible(row, col);
    CRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, rect)) {
        return;
    }
    if (SendNotify(row, col, GRIDN_BEGINEDIT) < 0) {
        return;
    }
    CGridCellBase* cell = GetCell(row, col);
    if (cell != nullptr) {
        cell->Edit(row, col, rect, point, kEditorId, character);
    }
}

// The new text is in the cell before the parent hears of it, so the parent may read or even
// replace it in its handler; only a refusal puts the old text back.
void CGridCtrl::OnEndEditCell(int row, int col, CString text, BOOL apply) {
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr) {
        return;
    }
    const CString old = GetCellText(row, col);
    if (apply) {
        SetCellText(row, col, text);
        if (ValidateEdit(row, col, text) && SendNotify(row, col, GRIDN_ENDEDIT) >= 0) {
            SetModified(TRUE, row, col);
            RedrawCell(row, col);
        } else {
            SetCellText(row, col, old);
        }
    }
    cell->OnEndEdit();
}

BOOL CGridCtrl::ValidateEdit(int row, int col, LPCSTR text) {
    CGridCellBase* cell = GetCell(row, col);
    return cell == nullptr ? TRUE : cell->ValidateEdit(text);
}

void CGridCtrl::EndEditing() {
    CGridCellBase* cell = GetCell(m_focusCell.row, m_focusCell.col);
    if (cell != nullptr) {
        cell->EndEdit();
    }
}
