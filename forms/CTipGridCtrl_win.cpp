#include "forms/CTipGridCtrl.h"

#include <windows.h>

bool CTipGridCtrl::AskForTip(int row, int col, GridTipRequest& request) {
    m_tipCol = col;
    m_tipRow = row;
    CWnd* parent = GetParent();
    if (parent == nullptr) {
        return false;
    }
    parent->SendMessage(WM_GRID_TIP_REQUEST, reinterpret_cast<WPARAM>(this),
                        reinterpret_cast<LPARAM>(&request));
    return true;
}
