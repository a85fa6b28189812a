#include "diag/CEventLogPage.h"

#include "classlib/core/CSingleLock.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CDataExchange.h"
#include "diag/CListPageFonts.h"
#include "diag/ListTableStyle.h"
#include "diag/TableSortKey.h"
#include "forms/MoveFocusOff.h"
#include "forms/ScaledLength.h"
#include "link/CDataDescriptor.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

namespace {

// Texts of the string table.
constexpr UINT kDeleteText = 15248;       // "Delete all events"
constexpr UINT kResetText = 15249;        // "Reset diagnosis"
constexpr UINT kRunningTimeText = 15250;  // "Total running time:"
constexpr UINT kDeleteQuestion = 15251;   // "Are you sure you want to delete all events?"
constexpr UINT kResetQuestion = 15252;    // "Are you sure you want to reset diagnosis?"
constexpr UINT kHeaderTexts[CEventLogModel::kColumnCount] = {15253, 15254, 15255, 15256, 15257, 15258};
constexpr UINT kYesText = 15259;
constexpr UINT kNoText = 15260;
constexpr UINT kTipText = 15108;

// Elements.
constexpr int kClearLogElement = 41;
constexpr int kDeleteElement = 42;
constexpr int kLogElement = 43;
constexpr int kResetElement = 51;
constexpr int kTotalTimeElement = 67;
constexpr int kLiveTimeElement = 77;
constexpr int kRunningTimeBytes = 4;
constexpr int kCommandElements[] = {kClearLogElement, kDeleteElement, kResetElement};

constexpr COLORREF kExtantColour = RGB(200, 0, 0);


}  // namespace

BEGIN_MESSAGE_MAP(CEventLogPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_BN_CLICKED(CEventLogPage::kDeleteButtonId, OnDeleteEvents)
    ON_BN_CLICKED(CEventLogPage::kResetButtonId, OnResetDiagnosis)
    ON_NOTIFY(GRIDN_CLICK, CEventLogPage::kGridId, OnGridClick)
END_MESSAGE_MAP()

CEventLogPage::CEventLogPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CEventLogPage::~CEventLogPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    for (const int element : kCommandElements) {
        m_dataHandler->Unsubscribe(this, element, kFlagTransferred);
    }
    m_dataHandler->Unsubscribe(this, kTotalTimeElement, kFlagLoaded);
}

void CEventLogPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CEventLogPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kDeleteButtonId, m_deleteButton);
    DDX_Control(exchange, kResetButtonId, m_resetButton);
    DDX_Control(exchange, kRunningLabelId, m_runningLabel);
    DDX_Control(exchange, kRunningTimeId, m_runningTime);
}

BOOL CEventLogPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_sortKey = 1;
    m_lastState = kEventLogEmpty;
    m_model.LoadNames([this](UINT id) { return LoadText(m_resources, id); });
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        for (const int element : kCommandElements) {
            m_dataHandler->Subscribe(this, element, kFlagTransferred);
        }
        m_dataHandler->Subscribe(this, kTotalTimeElement, kFlagLoaded);
    }
    Layout();
    return TRUE;
}

// ---- Layout and texts ----------------------------------------------------------------------

void CEventLogPage::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    const RECT gridRect = {ScaledLength(16, sx), ScaledLength(16, sy),
                           ScaledLength(16, sx) + width - ScaledLength(32, sx),
                           ScaledLength(16, sy) + height - ScaledLength(104, sy)};
    if (!m_grid.Create(gridRect, this, kGridId)) {
        CLogger::Instance().Log(3000, "CEventLogPage::Layout(): the event grid was not created.");
        return;
    }
    m_grid.SetTipSource(
        [this](CString& text, LOGFONTA& font, int row, int column) { GetEventTip(text, font, row, column); });
    const int buttonTop = height - ScaledLength(72, sy);
    m_deleteButton.MoveWindow(ScaledLength(16, sx), buttonTop, ScaledLength(200, sx), ScaledLength(24, sy),
                              FALSE);
    m_resetButton.MoveWindow(ScaledLength(16, sx), buttonTop + ScaledLength(24, sy) + ScaledLength(8, sy),
                             ScaledLength(200, sx), ScaledLength(24, sy), FALSE);
    const int boxLeft = width - ScaledLength(16, sx) - ScaledLength(110, sx);
    m_runningTime.MoveWindow(boxLeft, buttonTop, ScaledLength(110, sx), ScaledLength(17, sy), FALSE);
    m_runningLabel.MoveWindow(boxLeft - ScaledLength(8, sx) - ScaledLength(120, sx), buttonTop,
                              ScaledLength(120, sx), ScaledLength(17, sy), FALSE);
    m_runningTime.SetWindowText("-");

    RECT gridClient = {};
    m_grid.GetClientRect(&gridClient);
    SetUpGrid(gridClient.right - gridClient.left);
    SetFonts();
    m_tipFont = CListPageFonts(this, m_scaleX, m_scaleY).TipFont();
    UpdateTexts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CEventLogPage::SetUpGrid(int width) {
    SetUpReadOnlyList(m_grid, CEventLogModel::kColumnCount, 1, 1);
    m_grid.EnableSelection(FALSE);
    const int widths[] = {width / 20, 9 * width / 20, width / 10, width / 10, 3 * width / 20};
    int used = 0;
    for (int column = 0; column < 5; ++column) {
        m_grid.SetColumnWidth(column, widths[column]);
        used += widths[column];
    }
    m_grid.SetColumnWidth(5, width - used);

    StyleListCells(m_grid, CListPageFonts(this, m_scaleX, m_scaleY).CellFont());
}

void CEventLogPage::SetFonts() {
    if (m_fonts == nullptr) {
        return;
    }
    if (!CListPageFonts(this, m_scaleX, m_scaleY)
             .SetControlFonts(*m_fonts, {&m_deleteButton, &m_resetButton}, {&m_runningLabel, &m_runningTime})) {
        CLogger::Instance().Log(3000, "CEventLogPage::SetFonts(): no Verdana font.");
    }
}

void CEventLogPage::UpdateTexts() {
    m_deleteButton.SetWindowText(LoadText(m_resources, kDeleteText));
    m_resetButton.SetWindowText(LoadText(m_resources, kResetText));
    m_runningLabel.SetWindowText(LoadText(m_resources, kRunningTimeText));
    CSingleLock guard(&m_lock, TRUE);
    m_model.LoadNames([this](UINT id) { return LoadText(m_resources, id); });
    FillGrid();
}

LRESULT CEventLogPage::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    UpdateTexts();
    return 0;
}

// ---- The table -------------------------------------------------------------------------------

void CEventLogPage::WriteHeader() {
    WriteSortedHeader(m_grid, m_resources, kHeaderTexts, CEventLogModel::kColumnCount, m_sortKey);
}

bool CEventLogPage::FillGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return false;
    }
    m_grid.SetRowCount(1);
    WriteHeader();
    m_shownRows.clear();
    const std::vector<ShownEvent> shown = m_model.ListShown(m_sortKey);
    if (shown.empty()) {
        m_grid.Refresh();
        return false;
    }
    m_grid.SetRowCount(1 + static_cast<int>(shown.size()));
    const CString yes = LoadText(m_resources, kYesText);
    const CString no = LoadText(m_resources, kNoText);
    for (size_t i = 0; i < shown.size(); ++i) {
        const int gridRow = static_cast<int>(i) + 1;
        const EventLogRow& event = m_model.GetRow(shown[i].row);
        ShadeListRow(m_grid, gridRow, CEventLogModel::kColumnCount);
        m_grid.SetCellTextFormat(gridRow, 0, "%d.", shown[i].position);
        m_grid.SetCellText(gridRow, 1, event.name);
        m_grid.SetCellText(gridRow, 2, event.extant ? yes : no);
        if (event.extant) {
            m_grid.SetCellTextColour(gridRow, 2, kExtantColour);
        }
        m_grid.SetCellTextFormat(gridRow, 3, "%d", event.counter);
        m_grid.SetCellText(gridRow, 4, CEventLogModel::FormatTime(event.first));
        m_grid.SetCellText(gridRow, 5, CEventLogModel::FormatTime(event.last));
        m_shownRows.push_back(shown[i].row);
    }
    m_grid.Refresh();
    return true;
}

void CEventLogPage::DecodeLog() {
    BYTE liveTime[kRunningTimeBytes] = {};
    {
        CSingleLock guard(&m_lock, TRUE);
        m_dataHandler->ReadData(kLogElement, m_log.data());
        m_dataHandler->ReadData(kLiveTimeElement, liveTime);
        if (m_model.Decode(m_log.data())) {
            EnableDelete(FillGrid());
        }
        const int state = m_model.GetState();
        if (state != m_lastState) {
            BroadcastState(state);
        }
    }
    ShowRunningTime(liveTime);
}

void CEventLogPage::ClearTable() {
    CSingleLock guard(&m_lock, TRUE);
    m_model.Clear();
    EnableDelete(false);
    FillGrid();
    if (m_lastState != kEventLogEmpty) {
        BroadcastState(kEventLogEmpty);
    }
}

void CEventLogPage::BroadcastState(int state) {
    m_lastState = state;
    if (m_dataHandler != nullptr) {
        m_dataHandler->BroadcastEventLogChanged(static_cast<UINT_PTR>(state));
    }
}

void CEventLogPage::ShowRunningTime(const BYTE* bytes) {
    m_runningTime.SetWindowText(CEventLogModel::FormatTime(CEventLogModel::ReadRunningTime(bytes)));
}

void CEventLogPage::EnableDelete(bool enable) {
    if (!enable) {
        MoveFocusOff(*this, {&m_deleteButton});
    }
    m_deleteButton.EnableWindow(enable ? TRUE : FALSE);
}

void CEventLogPage::GetEventTip(CString& text, LOGFONTA& font, int row, int column) {
    font = m_tipFont;
    text.Empty();
    CSingleLock guard(&m_lock, TRUE);
    if (row < 1 || row > static_cast<int>(m_shownRows.size())) {
        return;
    }
    text = CEventLogModel::FormatTip(LoadText(m_resources, kTipText), m_model.GetRow(m_shownRows[row - 1]), column);
}

// ---- Messages and commands ---------------------------------------------------------------------

LRESULT CEventLogPage::OnNewData(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler != nullptr) {
        DecodeLog();
    }
    return 0;
}

LRESULT CEventLogPage::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    // wParam 0 reports a failed transfer: the unit did not take the command.
    if (wParam == 0 || m_dataHandler == nullptr) {
        return 0;
    }
    switch (LOWORD(lParam)) {
    case kClearLogElement:
        ClearTable();
        break;
    case kDeleteElement:
    case kResetElement:
        // The unit's log is read again only after it was told to drop its copy.
        m_dataHandler->WriteData(kClearLogElement, nullptr);
        ClearTable();
        break;
    case kTotalTimeElement: {
        BYTE total[kRunningTimeBytes] = {};
        m_dataHandler->ReadData(kTotalTimeElement, total);
        ShowRunningTime(total);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CEventLogPage::OnStatusChanged(WPARAM wParam, LPARAM lParam) {
    if (IsLinkUp(wParam)) {
        m_resetButton.EnableWindow(TRUE);
        return 0;
    }
    MoveFocusOff(*this, {&m_deleteButton});
    MoveFocusOff(*this, {&m_resetButton});
    m_deleteButton.EnableWindow(FALSE);
    m_resetButton.EnableWindow(FALSE);
    return 0;
}

void CEventLogPage::SendCommand(UINT questionId, int element) {
    if (AfxMessageBox(LoadText(m_resources, questionId), MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        return;
    }
    if (m_dataHandler != nullptr) {
        m_dataHandler->WriteData(element, nullptr);
    }
}

void CEventLogPage::OnDeleteEvents() {
    SendCommand(kDeleteQuestion, kDeleteElement);
}

void CEventLogPage::OnResetDiagnosis() {
    SendCommand(kResetQuestion, kResetElement);
}

void CEventLogPage::OnGridClick(NMHDR* header, LRESULT* result) {
    const GridNotifyRecord* record = reinterpret_cast<const GridNotifyRecord*>(header);
    *result = 0;
    if (record->row != 0 || record->col < 0 || record->col >= CEventLogModel::kColumnCount) {
        return;
    }
    CSingleLock guard(&m_lock, TRUE);
    m_sortKey = NextSortKey(m_sortKey, record->col);
    FillGrid();
}

BOOL CEventLogPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Escape hides the title tip and still reaches the base, which leaves it to the main
    // dialog: answered here, it would keep the user in Diagnosis with no way back.
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == IDCANCEL) {
        m_grid.HideTitleTip();
    }
    return CScrollPage::OnCommand(wParam, lParam);
}
