#include "shell/CFileDialogExtView.h"

#include "classlib/win/CWinApp.h"
#include "classlib/win/CWnd.h"
#include "shell/CFileDialogExtLayout.h"

#include <commctrl.h>

namespace {

CFileDialogExtLayout::Box ToBox(const RECT& rect) {
    return CFileDialogExtLayout::Box{rect.left, rect.top, rect.right, rect.bottom};
}

// The columns after the first, added until the list reports no more.
int OtherColumnsWidth(HWND list) {
    int sum = 0;
    for (int column = 1;; ++column) {
        LVCOLUMNA info = {};
        info.mask = LVCF_WIDTH;
        if (SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)) == FALSE) {
            return sum;
        }
        sum += info.cx;
    }
}

// The application's main window; a dialog run without one measures against its owner.
HWND MainWindow(HWND commonDialog) {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->GetSafeHwnd() != nullptr) {
        return main->GetSafeHwnd();
    }
    return GetWindow(commonDialog, GW_OWNER);
}

}  // namespace

int CFileDialogExtView::FitColumns(HWND commonDialog, HWND list) {
    const HWND main = MainWindow(commonDialog);
    if (list == nullptr || main == nullptr) {
        return 0;
    }
    RECT client = {};
    GetClientRect(list, &client);
    const int firstColumn = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    const int otherColumns = OtherColumnsWidth(list);
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    RECT mainRect = {};
    GetWindowRect(main, &mainRect);
    RECT dialogRect = {};
    GetWindowRect(commonDialog, &dialogRect);
    const CFileDialogExtLayout::Box grown =
        CFileDialogExtLayout::Grow(ToBox(dialogRect), CFileDialogExtLayout::Target(ToBox(mainRect)),
                                   firstColumn + otherColumns, client.right - client.left, scrollBar);
    MoveWindow(commonDialog, grown.left, grown.top, grown.Width(), grown.Height(), TRUE);
    GetClientRect(list, &client);
    RECT window = {};
    GetWindowRect(list, &window);
    const int width = CFileDialogExtLayout::NameColumnWidth(
        client.right - client.left, window.right - window.left, otherColumns, scrollBar);
    SetNameColumn(list, width);
    return width;
}

void CFileDialogExtView::SetNameColumn(HWND list, int width) {
    // A width of 0 is one that set-up never computed.
    if (list == nullptr || !IsWindow(list) || width <= 0) {
        return;
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0));
}

HWND CFileDialogExtView::FindList(HWND shellView) {
    return shellView != nullptr ? FindWindowExA(shellView, nullptr, "SysListView32", nullptr) : nullptr;
}
