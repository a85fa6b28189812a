#include "grid/SendEndEditNotice.h"

#include "classlib/win/CWnd.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"

void SendEndEditNotice(CWnd& editor, int row, int col, const CString& text, UINT lastKey) {
    GridCellInfoRecord record;
    record.hdr.hwndFrom = editor.GetSafeHwnd();
    record.hdr.idFrom = static_cast<UINT_PTR>(editor.GetDlgCtrlID());
    record.hdr.code = static_cast<UINT>(GRIDN_ENDEDIT);
    record.item.row = row;
    record.item.col = col;
    record.item.mask = GRID_ITEM_TEXT | GRID_ITEM_DATA;
    record.item.text = text;
    record.item.lParam = static_cast<LPARAM>(lastKey);
    CWnd* owner = editor.GetOwner();
    if (owner == nullptr || !owner->IsWindow()) {
        owner = editor.GetParent();
    }
    if (owner != nullptr) {
        owner->SendMessage(WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
    }
}
