#include "shell/CRetrieveDataDlg.h"

namespace {

constexpr UINT kIdsRetrieving = 15353;

}  // namespace

CRetrieveDataDlg::CRetrieveDataDlg() : CProgressPopupDlg(kTemplateId, kIdsRetrieving, kRangeUpper) {}
