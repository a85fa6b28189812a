// The OBD-II page's window: its controls and grids, the scan's traffic through the data handler,
// and the display of what the car answers.
#include "diag/CObdPage.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CDataExchange.h"
#include "diag/DtcCode.h"
#include "diag/FormatPidValue.h"
#include "diag/ListTableStyle.h"
#include "diag/ObdReply.h"
#include "forms/MoveFocusOff.h"
#include "grid/CGridCellBase.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "link/NumberChecks.h"

#include <algorithm>
#include <string>

namespace {

// Texts of the trouble-code page that this page shares.
constexpr UINT kStoredText = 15261;       // "stored DTCs"
constexpr UINT kPendingText = 15262;      // "pending DTCs"
constexpr UINT kYesText = 15259;          // "YES"
constexpr UINT kNoText = 15260;           // "NO"
constexpr UINT kInvalidCodeText = 15269;  // "Invalid code: 0x%04X"

constexpr char kNoValue[] = "-";
constexpr COLORREF kMilOnColour = RGB(0xFF, 0xFF, 0x00);

constexpr LONG_PTR kReasonMask = ~static_cast<LONG_PTR>(0xFFFF);

struct Label {
    int id;
    UINT text;
};

constexpr Label kLabels[] = {
    {IDC_OBD_CONTROL_GROUP, IDS_OBD_CONTROL},
    {IDC_OBD_UPDATE, IDS_OBD_UPDATE},
    {IDC_OBD_CLEAR, IDS_OBD_CLEAR},
    {IDC_OBD_STATUS_GROUP, IDS_OBD_STATUS},
    {IDC_OBD_VIN_LABEL, IDS_OBD_VIN},
    {IDC_OBD_TYPE_LABEL, IDS_OBD_TYPE},
    {IDC_OBD_MIL_LABEL, IDS_OBD_MIL},
    {IDC_OBD_COUNT_LABEL, IDS_OBD_COUNT},
    {IDC_OBD_SUPPORTED_LABEL, IDS_OBD_SUPPORTED},
    {IDC_OBD_COMPLETED_LABEL, IDS_OBD_COMPLETED},
    {IDC_OBD_STORED_GROUP, kStoredText},
    {IDC_OBD_PENDING_GROUP, kPendingText},
    {IDC_OBD_FREEZE_GROUP, IDS_OBD_FREEZE_FRAME},
};

constexpr UINT kFreezeHeaders[] = {IDS_OBD_PID, IDS_OBD_DESCRIPTION, IDS_OBD_VALUE};

using Monitors = CObdScanner::Monitors;

// Where a readiness monitor's "supported" bit is set and its "completed" bit is clear.
struct MonitorBits {
    BYTE Monitors::*supported;
    int supportedBit;
    BYTE Monitors::*incomplete;
    int incompleteBit;
};

constexpr MonitorBits kMonitorBits[CObdPage::kMonitorCount] = {
    {&Monitors::continuous, 0, &Monitors::continuous, 4},
    {&Monitors::continuous, 1, &Monitors::continuous, 5},
    {&Monitors::continuous, 2, &Monitors::continuous, 6},
    {&Monitors::supported, 0, &Monitors::incomplete, 0},
    {&Monitors::supported, 1, &Monitors::incomplete, 1},
    {&Monitors::supported, 2, &Monitors::incomplete, 2},
    {&Monitors::supported, 3, &Monitors::incomplete, 3},
    {&Monitors::supported, 4, &Monitors::incomplete, 4},
    {&Monitors::supported, 5, &Monitors::incomplete, 5},
    {&Monitors::supported, 6, &Monitors::incomplete, 6},
    {&Monitors::supported, 7, &Monitors::incomplete, 7},
};

// The sample that "Update" shows: codes as DtcCodeToText takes them, and the data bytes
// that every freeze-frame PID is formatted from.
constexpr WORD kSampleCodes[] = {0xFFFF, 0x0089, 0x1034, 0x2001, 0x3456, 0x0089};
constexpr BYTE kSampleData[] = {0x04, 0xFF, 0x78, 0x01, 0xB8, 0x99};
constexpr int kSampleFirstPid = 0x03;
constexpr int kSampleLastPid = 0x5F;

// Grid places in dialog units, inside their groups of the template.
constexpr RECT kStoredGridPlace = {212, 12, 298, 68};
constexpr RECT kPendingGridPlace = {314, 12, 400, 68};
constexpr RECT kFreezeGridPlace = {212, 136, 400, 222};

constexpr UINT kLeftAligned = DT_LEFT | DT_VCENTER | DT_SINGLELINE;


}  // namespace

BEGIN_MESSAGE_MAP(CObdPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_NOTIFY(GRIDN_SELCHANGED, IDC_OBD_STORED_GRID, OnCodeSelected)
    ON_NOTIFY(GRIDN_SELCHANGED, IDC_OBD_PENDING_GRID, OnCodeSelected)
    ON_BN_CLICKED(IDC_OBD_UPDATE, OnUpdate)
    ON_BN_CLICKED(IDC_OBD_CLEAR, OnClear)
END_MESSAGE_MAP()

CObdPage::CObdPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CObdPage::~CObdPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    m_dataHandler->Unsubscribe(this, kOfferElement, kFlagLoaded);
    m_dataHandler->Unsubscribe(this, kRequestElement, kFlagTransferred);
    m_dataHandler->Unsubscribe(this, kReplyElement, kFlagTransferred);
}

void CObdPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CObdPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_OBD_MIL, m_mil);
    DDX_Control(exchange, IDC_OBD_UPDATE, m_updateButton);
    DDX_Control(exchange, IDC_OBD_CLEAR, m_clearButton);
}

BOOL CObdPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    CreateGrids();
    UpdateTexts();
    ClearDisplay();
    m_scanner.Stop();
    m_obdOffered = false;
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kOfferElement, kFlagLoaded);
        m_dataHandler->Subscribe(this, kRequestElement, kFlagTransferred);
        m_dataHandler->Subscribe(this, kReplyElement, kFlagTransferred);
    }
    return TRUE;
}

// ---- Layout and texts ----------------------------------------------------------------------

void CObdPage::CreateGrids() {
    RECT stored = kStoredGridPlace;
    RECT pending = kPendingGridPlace;
    RECT freeze = kFreezeGridPlace;
    for (RECT* place : {&stored, &pending, &freeze}) {
        MapDialogRect(place);
    }
    if (!m_storedGrid.Create(stored, this, IDC_OBD_STORED_GRID) ||
        !m_pendingGrid.Create(pending, this, IDC_OBD_PENDING_GRID) ||
        !m_freezeGrid.Create(freeze, this, IDC_OBD_FREEZE_GRID)) {
        CLogger::Instance().Log(3000, "CObdPage::CreateGrids(): the grids were not created.");
        return;
    }
    SetUpCodeGrid(m_storedGrid);
    SetUpCodeGrid(m_pendingGrid);
    SetUpFreezeGrid();
}

void CObdPage::SetUpCodeGrid(CGridCtrl& grid) {
    SetUpReadOnlyList(grid, 1, 0, 0);
    grid.GetDefaultCell(FALSE, FALSE)->SetFormat(kCentredCellFormat);
    grid.StretchLastColumn();
}

void CObdPage::SetUpFreezeGrid() {
    SetUpReadOnlyList(m_freezeGrid, 3, 1, 1);
    m_freezeGrid.GetDefaultCell(FALSE, FALSE)->SetFormat(kCentredCellFormat);
    CGridCellBase* header = m_freezeGrid.GetDefaultCell(TRUE, FALSE);
    header->SetFormat(kCentredCellFormat);
    header->SetBackColour(kListHeaderColour);
    RECT client = {};
    m_freezeGrid.GetClientRect(&client);
    const int width = client.right - client.left;
    m_freezeGrid.SetColumnWidth(0, width / 7);
    m_freezeGrid.SetColumnWidth(1, width / 2);
    m_freezeGrid.StretchLastColumn();
}

void CObdPage::UpdateTexts() {
    for (const Label& label : kLabels) {
        GetDlgItem(label.id)->SetWindowText(LoadText(m_resources, label.text));
    }
    for (int i = 0; i < kMonitorCount; ++i) {
        GetDlgItem(IDC_OBD_MONITOR_LABEL + i)->SetWindowText(LoadText(m_resources, IDS_OBD_MONITOR_FIRST + i));
    }
    if (m_freezeGrid.GetSafeHwnd() == nullptr) {
        return;
    }
    for (int column = 0; column < 3; ++column) {
        m_freezeGrid.SetCellText(0, column, LoadText(m_resources, kFreezeHeaders[column]));
    }
    m_freezeGrid.Refresh();
}

LRESULT CObdPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    Invalidate(TRUE);
    return 0;
}

void CObdPage::ClearDisplay() {
    ShowMil(false);
    m_mil.SetWindowText(kNoValue);
    for (const int id : {IDC_OBD_COUNT, IDC_OBD_VIN, IDC_OBD_TYPE}) {
        GetDlgItem(id)->SetWindowText(kNoValue);
    }
    for (int i = 0; i < kMonitorCount; ++i) {
        GetDlgItem(IDC_OBD_MONITOR_SUPPORT + i)->SetWindowText(kNoValue);
        GetDlgItem(IDC_OBD_MONITOR_COMPLETE + i)->SetWindowText(kNoValue);
    }
    for (const int id : {IDC_OBD_STORED_DESCRIPTION, IDC_OBD_PENDING_DESCRIPTION, IDC_OBD_FREEZE_CODE}) {
        GetDlgItem(id)->SetWindowText("");
    }
    if (m_freezeGrid.GetSafeHwnd() == nullptr) {
        return;
    }
    ShowCodes(m_storedGrid, {});
    ShowCodes(m_pendingGrid, {});
    m_freezeGrid.SetRowCount(1);
    m_freezeGrid.Refresh();
}

// ---- The scan ----------------------------------------------------------------------------------

bool CObdPage::StartScan() {
    if (m_scanner.IsScanning() || !m_obdOffered || m_dataHandler == nullptr ||
        !IsLinkUp(m_dataHandler->GetStatus())) {
        return false;
    }
    ClearDisplay();
    m_scanner.Start();
    SendRequest();
    return m_scanner.IsScanning();
}

void CObdPage::SendRequest() {
    const std::string text = m_scanner.GetRequestText();
    m_requestData.fill(0);
    m_requestData[0] = static_cast<BYTE>(text.size());
    std::copy(text.begin(), text.end(), m_requestData.begin() + 1);
    if (!IsLinkUp(m_dataHandler->RequestWriteFrom(kRequestElement, m_requestData.data(), nullptr))) {
        m_scanner.Stop();
    }
}

LRESULT CObdPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    const LONG_PTR reason = lParam & kReasonMask;
    const bool succeeded = wParam != 0;
    switch (LOWORD(lParam)) {
    case kOfferElement:
        if (reason == kReasonLoaded) {
            OnOfferChanged();
        }
        break;
    case kRequestElement:
        if (reason == kReasonTransferred) {
            OnRequestSent(succeeded);
        }
        break;
    case kReplyElement:
        if (reason == kReasonTransferred) {
            OnReplyRead(succeeded);
        }
        break;
    default:
        break;
    }
    return 0;
}

void CObdPage::OnOfferChanged() {
    BYTE offered = 0;
    m_dataHandler->ReadData(kOfferElement, &offered);
    m_obdOffered = offered != 0;
    if (!m_obdOffered) {
        MoveFocusOffButtons();
    }
    m_updateButton.EnableWindow(m_obdOffered ? TRUE : FALSE);
    m_clearButton.EnableWindow(m_obdOffered ? TRUE : FALSE);
}

void CObdPage::OnRequestSent(bool succeeded) {
    if (!m_scanner.IsScanning()) {
        return;
    }
    if (!succeeded) {
        m_scanner.Stop();
        return;
    }
    AskForReply();
}

void CObdPage::AskForReply() {
    if (!IsLinkUp(m_dataHandler->RequestRead(kReplyElement, nullptr))) {
        m_scanner.Stop();
    }
}

void CObdPage::OnReplyRead(bool succeeded) {
    if (!m_scanner.IsScanning()) {
        return;
    }
    if (!succeeded) {
        m_scanner.Stop();
        return;
    }
    std::vector<BYTE> element(
        static_cast<std::size_t>(std::max(0, m_dataHandler->GetElementLength(kReplyElement))));
    m_dataHandler->ReadData(kReplyElement, element.data());
    std::string text;
    switch (ReadObdReplyElement(element.data(), element.size(), text)) {
    case ObdReplyState::NotReady:
        if (m_scanner.OnNotReady()) {
            AskForReply();
        } else {
            CLogger::Instance().Log(3000, "CObdPage: the car's reply never got ready; the scan ends.");
        }
        return;
    case ObdReplyState::Refused:
        m_scanner.Stop();
        return;
    case ObdReplyState::Text:
        break;
    }
    ShowStep(m_scanner.OnReply(text));
    if (m_scanner.IsScanning()) {
        SendRequest();
    }
}

void CObdPage::ShowStep(CObdScanner::Step step) {
    switch (step) {
    case CObdScanner::Step::Failed:
        CLogger::Instance().Log(3000, "CObdPage: the car's reply was refused; the scan ends.");
        break;
    case CObdScanner::Step::Monitors:
        ShowMonitors(m_scanner.GetMonitors());
        break;
    case CObdScanner::Step::Standard:
        ShowStandard(m_scanner.GetStandard());
        break;
    case CObdScanner::Step::Vin:
        GetDlgItem(IDC_OBD_VIN)->SetWindowText(m_scanner.GetVin().c_str());
        break;
    case CObdScanner::Step::StoredCodes:
        m_storedCodes = m_scanner.GetCodes();
        ShowCodes(m_storedGrid, m_storedCodes);
        break;
    case CObdScanner::Step::PendingCodes:
        m_pendingCodes = m_scanner.GetCodes();
        ShowCodes(m_pendingGrid, m_pendingCodes);
        break;
    case CObdScanner::Step::FreezeCode:
        ShowFreezeCode(m_scanner.GetFreezeCode());
        break;
    case CObdScanner::Step::FreezeRow:
        AddFreezeRow(m_scanner.GetRowPid(), m_scanner.GetRowData());
        m_freezeGrid.Refresh();
        break;
    case CObdScanner::Step::PidBitmap:
    case CObdScanner::Step::Mode09Bitmap:
        break;
    }
}

// ---- Showing -----------------------------------------------------------------------------------

void CObdPage::ShowMil(bool on) {
    m_mil.SetBkColor(on ? kMilOnColour : ::GetSysColor(COLOR_BTNFACE));
    m_mil.SetWindowText(LoadText(m_resources, on ? IDS_OBD_ON : IDS_OBD_OFF));
}

void CObdPage::ShowMonitors(const Monitors& monitors) {
    ShowMil(monitors.mil);
    CString count;
    count.Format("%d", monitors.codeCount);
    GetDlgItem(IDC_OBD_COUNT)->SetWindowText(count);
    const CString yes = LoadText(m_resources, kYesText);
    const CString no = LoadText(m_resources, kNoText);
    for (int i = 0; i < kMonitorCount; ++i) {
        const MonitorBits& bits = kMonitorBits[i];
        const bool supported = (monitors.*bits.supported >> bits.supportedBit & 1) != 0;
        const bool completed = (monitors.*bits.incomplete >> bits.incompleteBit & 1) == 0;
        GetDlgItem(IDC_OBD_MONITOR_SUPPORT + i)->SetWindowText(supported ? yes : no);
        GetDlgItem(IDC_OBD_MONITOR_COMPLETE + i)->SetWindowText(completed ? yes : no);
    }
}

void CObdPage::ShowStandard(BYTE standard) {
    CString key;
    key.Format("%02X", standard);
    CString text;
    if (m_resources == nullptr || !m_resources->LookupObdStandardText(key, text)) {
        text.Format("Unknown (0x%02X)", standard);
    }
    GetDlgItem(IDC_OBD_TYPE)->SetWindowText(text);
}

CString CObdPage::InvalidCodeText(WORD code) const {
    return FormatText(LoadText(m_resources, kInvalidCodeText), code);
}

CString CObdPage::CodeText(WORD code, const char* separator) const {
    CString text;
    if (!DtcCodeToText(code, text)) {
        return InvalidCodeText(code);
    }
    CString description;
    if (m_resources != nullptr && m_resources->LookupDtcText(text, description)) {
        text += separator;
        text += description;
    }
    return text;
}

void CObdPage::ShowCodes(CGridCtrl& grid, const std::vector<WORD>& codes) {
    const int descriptionId =
        &grid == &m_storedGrid ? IDC_OBD_STORED_DESCRIPTION : IDC_OBD_PENDING_DESCRIPTION;
    GetDlgItem(descriptionId)->SetWindowText("");
    grid.SetRowCount(static_cast<int>(codes.size()));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        CString text;
        if (!DtcCodeToText(codes[i], text)) {
            text = InvalidCodeText(codes[i]);
        }
        grid.SetCellText(static_cast<int>(i), 0, text);
    }
    grid.Refresh();
}

void CObdPage::ShowFreezeCode(WORD code) {
    GetDlgItem(IDC_OBD_FREEZE_CODE)->SetWindowText(code == 0 ? CString() : CodeText(code, " "));
}

void CObdPage::AddFreezeRow(int pid, const std::vector<BYTE>& data) {
    const int row = m_freezeGrid.GetRowCount();
    m_freezeGrid.SetRowCount(row + 1);
    CString key;
    key.Format("%02X", pid);
    m_freezeGrid.SetCellText(row, 0, key);
    CString description;
    if (m_resources == nullptr || !m_resources->LookupObdPidText(key, description)) {
        description = kNoValue;
    }
    m_freezeGrid.SetCellText(row, 1, description);
    m_freezeGrid.SetCellFormat(row, 1, kLeftAligned);
    CString value;
    if (!FormatPidValue(pid, data.data(), data.size(), value)) {
        FormatHexBytes(static_cast<int>(data.size()), data.data(), value);
    }
    m_freezeGrid.SetCellText(row, 2, value);
}

// ---- Messages and commands ---------------------------------------------------------------------

void CObdPage::OnCodeSelected(NMHDR* header, LRESULT* result) {
    *result = 0;
    const GridNotifyRecord* record = reinterpret_cast<const GridNotifyRecord*>(header);
    const bool stored = header->idFrom == IDC_OBD_STORED_GRID;
    const std::vector<WORD>& codes = stored ? m_storedCodes : m_pendingCodes;
    CWnd* description = GetDlgItem(stored ? IDC_OBD_STORED_DESCRIPTION : IDC_OBD_PENDING_DESCRIPTION);
    if (record->row < 0 || record->row >= static_cast<int>(codes.size())) {
        description->SetWindowText("");
        return;
    }
    description->SetWindowText(CodeText(codes[static_cast<std::size_t>(record->row)], "\r\n"));
}

void CObdPage::OnUpdate() {
    for (const WORD code : kSampleCodes) {
        m_storedCodes.push_back(code);
        m_pendingCodes.push_back(code);
    }
    ShowCodes(m_storedGrid, m_storedCodes);
    ShowCodes(m_pendingGrid, m_pendingCodes);
    const std::vector<BYTE> sample(std::begin(kSampleData), std::end(kSampleData));
    for (int pid = kSampleFirstPid; pid <= kSampleLastPid; ++pid) {
        AddFreezeRow(pid, sample);
    }
    m_freezeGrid.Refresh();
    ShowMil(true);
}

void CObdPage::OnClear() {
    m_storedCodes.clear();
    ClearDisplay();
}

LRESULT CObdPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    if (IsLinkUp(static_cast<int>(wParam))) {
        return 0;
    }
    MoveFocusOffButtons();
    m_scanner.Stop();
    return 0;
}

LRESULT CObdPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

void CObdPage::MoveFocusOffButtons() {
    MoveFocusOff(*this, {&m_updateButton, &m_clearButton});
}

BOOL CObdPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == IDCANCEL) {
        for (CGridCtrl* grid : {&m_storedGrid, &m_pendingGrid, &m_freezeGrid}) {
            if (grid->GetSafeHwnd() != nullptr) {
                grid->HideTitleTip();
            }
        }
        return TRUE;
    }
    return CScrollPage::OnCommand(wParam, lParam);
}
