// "Retrieving data ..." (template 2009): the bar of the last request of a full read. The
// main window opens it on the first progress report, moves its bar (per mille) and ends
// it with result 1.
#pragma once

#include "shell/CProgressPopupDlg.h"

class CRetrieveDataDlg : public CProgressPopupDlg {
public:
    static constexpr UINT kTemplateId = 2009;
    static constexpr short kRangeUpper = 1000;

    CRetrieveDataDlg();
};
