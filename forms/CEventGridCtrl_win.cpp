#include "forms/CEventGridCtrl.h"

bool CEventGridCtrl::AskForTip(int row, int col, GridTipRequest& request) {
    if (row <= 0 || (col != 4 && col != 5) || !m_tipSource) {
        return false;
    }
    m_tipSource(request.text, request.font, row, col);
    return true;
}
