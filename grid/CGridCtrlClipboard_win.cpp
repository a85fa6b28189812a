// Cell texts through the clipboard: copying and cutting the selection as text, pasting text
// from a start cell on. Every change goes through SetCellTextByUser, so the parent may refuse.
#include "classlib/win/CCmdUI.h"
#include "classlib/win/CEdit.h"
#include "grid/CGridCellBase.h"
#include "grid/CGridCtrl.h"
#include "grid/GridClipText.h"
#include "grid/GridGlobalText.h"

#include <windows.h>

#include <algorithm>

namespace {

// The clipboard, open for one scope.
class CScopedClipboard {
public:
    explicit CScopedClipboard(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}

    ~CScopedClipboard() {
        if (m_open) {
            CloseClipboard();
        }
    }

    CScopedClipboard(const CScopedClipboard&) = delete;
    CScopedClipboard& operator=(const CScopedClipboard&) = delete;

    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

}  // namespace

BOOL CGridCtrl::CreateClipboardText(CString& text) {
    const GridCellRange range = GetSelectionBounds();
    if (!IsValid(range)) {
        return FALSE;
    }
    if (m_virtualMode) {
        SendCacheHint(range);
    }
    std::vector<GridClipLine> lines;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (GetRowHeight(row) == 0) {
            continue;
        }
        GridClipLine fields;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (GetColumnWidth(col) == 0) {
                continue;
            }
            fields.push_back(IsCellSelected(row, col) ? GetCellText(row, col) : CString());
        }
        lines.push_back(fields);
    }
    if (m_virtualMode) {
        SendCacheHint(GridCellRange());
    }
    text = JoinGridClipText(lines);
    return TRUE;
}

BOOL CGridCtrl::WriteClipboardText(const CString& text) {
    CScopedClipboard clipboard(m_hWnd);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        return FALSE;
    }
    HGLOBAL block = MakeGlobalText(text);
    if (block == nullptr) {
        return FALSE;
    }
    if (SetClipboardData(CF_TEXT, block) == nullptr) {
        GlobalFree(block);
        return FALSE;
    }
    return TRUE;
}

BOOL CGridCtrl::ReadClipboardText(CString& text) {
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        return FALSE;
    }
    CScopedClipboard clipboard(m_hWnd);
    if (!clipboard.IsOpen()) {
        return FALSE;
    }
    return ReadGlobalText(GetClipboardData(CF_TEXT), text) ? TRUE : FALSE;
}

BOOL CGridCtrl::PasteText(int row, int col, const CString& text, BOOL selectPasted) {
    if (!IsValid(row, col) || !IsCellEditable(row, col)) {
        return FALSE;
    }
    GridCellRange pasted(row, col, -1, -1);
    m_pastedCells.Clear();
    const std::vector<GridClipLine> lines = SplitGridClipText(text);
    int n = 0;
    for (const GridClipLine& fields : lines) {
        while (row + n < GetRowCount() && GetRowHeight(row + n) == 0) {
            ++n;
        }
        const int targetRow = row + n;
        int k = 0;
        for (const CString& field : fields) {
            while (col + k < GetColumnCount() && GetColumnWidth(col + k) == 0) {
                ++k;
            }
            const int targetCol = col + k;
            ++k;
            if (!IsValid(targetRow, targetCol)) {
                continue;
            }
            SetCellTextByUser(targetRow, targetCol, field);
            // Through SetCellState, so the selected-cell map follows: a later cut must not
            // empty a cell that was just pasted.
            SetCellState(targetRow, targetCol, GetCellState(targetRow, targetCol) & ~GRID_STATE_SELECTED);
            m_pastedCells.Add(GridCellId(targetRow, targetCol));
            pasted.maxRow = std::max(pasted.maxRow, targetRow);
            pasted.maxCol = std::max(pasted.maxCol, targetCol);
        }
        ++n;
    }
    if (selectPasted && IsValid(pasted)) {
        SetSelectedRange(pasted, TRUE, TRUE);
    } else {
        ClearSelection();
        Refresh();
    }
    return TRUE;
}

void CGridCtrl::OnEditCut() {
    if (!m_editable) {
        return;
    }
    CString text;
    if (!CreateClipboardText(text) || !WriteClipboardText(text)) {
        return;
    }
    ClearSelectedCells();
}

void CGridCtrl::OnEditCopy() {
    CString text;
    if (CreateClipboardText(text)) {
        WriteClipboardText(text);
    }
}

GridCellId CGridCtrl::PasteStartCell() {
    const GridCellRange selection = GetSelectionBounds();
    if (IsValid(selection)) {
        return GridCellId(selection.minRow, selection.minCol);
    }
    if (IsValid(m_focusCell)) {
        return m_focusCell;
    }
    return GetTopleftNonFixedCell();
}

void CGridCtrl::OnEditPaste() {
    if (!m_editable) {
        return;
    }
    const GridCellId start = PasteStartCell();
    if (!IsValid(start)) {
        return;
    }
    CGridCellBase* cell = GetCell(start.row, start.col);
    if (cell != nullptr && cell->IsEditing()) {
        CEdit* editor = dynamic_cast<CEdit*>(cell->GetEditWindow());
        if (editor != nullptr) {
            editor->SendMessage(WM_PASTE);
            return;
        }
    }
    CString text;
    if (ReadClipboardText(text)) {
        PasteText(start.row, start.col, text, TRUE);
    }
}

void CGridCtrl::OnUpdateEditCut(CCmdUI* cmdUI) {
    cmdUI->Enable(m_editable && !m_selectedCells.IsEmpty());
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* cmdUI) {
    cmdUI->Enable(!m_selectedCells.IsEmpty());
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* cmdUI) {
    cmdUI->Enable(IsValid(m_focusCell) && IsCellEditable(m_focusCell) && IsClipboardFormatAvailable(CF_TEXT));
}

void CGridCtrl::OnUpdateSelectAll(CCmdUI* cmdUI) {
    cmdUI->Enable(m_enableSelection);
}
