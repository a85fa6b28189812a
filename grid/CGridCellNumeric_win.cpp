#include "grid/CGridCellNumeric.h"

#include "grid/CGridCtrl.h"
#include "grid/CInPlaceEdit.h"

#include <windows.h>

IMPLEMENT_DYNCREATE(CGridCellNumeric, CGridCell)

// The editor's style is ES_NUMBER alone, whatever the cell's alignment.
BOOL CGridCellNumeric::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) {
    if (IsEditing() && GetEditWindow() != nullptr) {
        GetEditWindow()->SendMessage(WM_CHAR, character);
        return TRUE;
    }
    CInPlaceEdit* editor = CInPlaceEdit::Open(GetGrid(), rect, ES_NUMBER, id, row, col, GetText(), character);
    SetEditor(editor);
    return editor != nullptr ? TRUE : FALSE;
}
