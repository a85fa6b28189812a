#include "config/CMeasurementGridCtrl.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CScopedSelect.h"
#include "config/IMeasurementGridPage.h"
#include "config/MapPageIds.h"
#include "grid/CGridTipWnd.h"
#include "grid/GridClipText.h"
#include "link/CDataHandler.h"
#include "link/CalibrationHelpers.h"
#include "link/DataHandlerMessages.h"
#include "link/IResourceManager.h"
#include "link/NumberChecks.h"
#include "link/ReadElementBytes.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

BEGIN_MESSAGE_MAP(CMeasurementGridCtrl, CMarkerGridCtrl)
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_CHAR()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
END_MESSAGE_MAP()

namespace {

constexpr int kBaseElement = 7;
constexpr int kMapElement = 8;
constexpr int kRpmElement = 26;
constexpr int kTimesElement = 27;
constexpr int kStatusElement = 30;
constexpr int kMinimumInjectionElement = 50;
constexpr int kCylinders = 8;
constexpr int kStoredOffset = 28;
constexpr int kLowest = -100;
constexpr int kHighest = 100;

constexpr UINT kInvalidPasteText = 15162;
constexpr UINT kOutOfRangeText = 15037;
constexpr UINT kAddText = IDS_MAP_ADD_MEASUREMENT;
constexpr UINT kEditText = IDS_MAP_EDIT_MEASUREMENT;
constexpr UINT kDeleteText = IDS_MAP_DELETE_MEASUREMENT;
constexpr UINT kDeleteAllText = IDS_MAP_DELETE_ALL;
constexpr UINT kTotalizeText = IDS_MAP_TOTALIZE_MENU;
constexpr UINT kShowMarksText = IDS_MAP_SHOW_MEASUREMENTS;
constexpr UINT kShowSummaryText = IDS_MAP_SHOW_SUMMARY;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kMarkerGrey = 0x888888;
constexpr COLORREF kMarkerOrange = 0x609BFF;
constexpr COLORREF kMarkerGreen = 0x11E83E;
constexpr COLORREF kMarkRed = 0x5050FF;

bool IsKeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

int Word(const std::vector<BYTE>& bytes, std::size_t at) {
    return at + 1 < bytes.size() ? bytes[at] | (bytes[at + 1] << 8) : 0;
}

UINT RunTrackPopupMenu(HWND owner, HMENU menu, int x, int y) {
    return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
}

}  // namespace

CMeasurementGridCtrl::CMeasurementGridCtrl() {
    m_black.CreateSolidBrush(kBlack);
    m_grey.CreateSolidBrush(kMarkerGrey);
    m_orange.CreateSolidBrush(kMarkerOrange);
    m_green.CreateSolidBrush(kMarkerGreen);
    m_red.CreateSolidBrush(kMarkRed);
    m_labelFrame.CreateSolidBrush(kBlack);
    m_infoBack.CreateSolidBrush(GetSysColor(COLOR_INFOBK));
    // The title tips serve as the summary, which starts off.
    EnableTitleTips(FALSE);
}

// The data handler must not post to a grid that is gone.
CMeasurementGridCtrl::~CMeasurementGridCtrl() {
    if (!m_registered || m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->Unsubscribe(this, kMapElement, 1);
    m_dataHandler->Unsubscribe(this, kBaseElement, 3);
    m_dataHandler->Unsubscribe(this, kMinimumInjectionElement, 3);
    m_dataHandler->UnregisterWindow(this);
}

void CMeasurementGridCtrl::Init() {
    m_liveRpm = 0;
    std::fill(std::begin(m_liveTimes), std::end(m_liveTimes), 0);
    std::fill(std::begin(m_filteredTimes), std::end(m_filteredTimes), 0);
    m_liveState = kLiveNone;
    ClearMarker();
    if (m_dataHandler == nullptr || m_registered) {
        return;
    }
    m_dataHandler->RegisterWindow(this);
    m_dataHandler->Subscribe(this, kMapElement, 1);
    m_dataHandler->Subscribe(this, kBaseElement, 3);
    m_dataHandler->Subscribe(this, kMinimumInjectionElement, 3);
    m_registered = true;
}

void CMeasurementGridCtrl::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

CString CMeasurementGridCtrl::Text(UINT id) const {
    return m_resources != nullptr ? m_resources->GetString(id) : CString();
}

CWnd* CMeasurementGridCtrl::CommandTarget() const {
    return GetNotifyTarget();
}

// ---- Marks and the live marker ----------------------------------------------------------------

void CMeasurementGridCtrl::ClearMarks() {
    InvalidateMarks();
    m_marks.clear();
    m_selected = nullptr;
    m_highlighted = nullptr;
}

void CMeasurementGridCtrl::AddMark(const CMapMeasurement& measurement) {
    CPoint centre;
    int cellHeight = 0;
    if (!LocateOnAxes(measurement.rpm, static_cast<int>(std::lround(measurement.injectionMs * 1000)), centre,
                      cellHeight)) {
        return;
    }
    const int d = static_cast<int>(0.2 * cellHeight);
    Mark mark{&measurement, measurement.percent,
              CRect(centre.x - d, centre.y - d, centre.x + d, centre.y + d), CRect()};
    const CSize extent = MeasureLabel(FormatText("%d%%", measurement.percent));
    const int left = centre.x + d + 2;
    const int top = centre.y - d + 2;
    mark.label = CRect(left - 2, top - 2, left + extent.cx + 2, top + extent.cy + 2);
    m_marks.push_back(mark);
}

CSize CMeasurementGridCtrl::MeasureLabel(const CString& label) {
    if (GetSafeHwnd() == nullptr) {
        return CSize(0, 0);
    }
    CClientDC dc(this);
    CFont* font = GetFontCache().GetFont(&m_markFont);
    if (font == nullptr) {
        return dc.GetTextExtent(label);
    }
    CScopedSelect selected(dc, *font);
    return dc.GetTextExtent(label);
}

void CMeasurementGridCtrl::InvalidateMarks() {
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    for (const Mark& mark : m_marks) {
        InvalidateRect(mark.ellipse, TRUE);
        InvalidateRect(mark.label, TRUE);
    }
}

bool CMeasurementGridCtrl::ToggleShowMeasurements() {
    m_showMeasurements = !m_showMeasurements;
    InvalidateMarks();
    return m_showMeasurements;
}

bool CMeasurementGridCtrl::ToggleShowSummary() {
    EnableTitleTips(m_titleTips ? FALSE : TRUE);
    if (!m_titleTips) {
        HideTitleTip();
    }
    return m_titleTips != FALSE;
}

void CMeasurementGridCtrl::ReadLiveData() {
    const std::vector<BYTE> rpm = ReadElementBytes(*m_dataHandler, kRpmElement, 2);
    const std::vector<BYTE> times = ReadElementBytes(*m_dataHandler, kTimesElement, 2 * kCylinders);
    const std::vector<BYTE> status = ReadElementBytes(*m_dataHandler, kStatusElement, 2);
    m_liveRpm = Word(rpm, 0);
    for (int i = 0; i < kCylinders; ++i) {
        m_liveTimes[i] = Word(times, 2 * i);
    }
    m_liveState = status[0] == 0xFF ? kLiveGas : kLiveOther;
    if ((status[1] & 0x80) != 0) {
        m_liveState = kLiveNone;
    }
}

// The live times shorter than a plausible injection keep the cylinder's last good one.
void CMeasurementGridCtrl::MoveMarker() {
    CopyZeroOrLargeValues(m_liveTimes, m_filteredTimes, kCylinders);
    const int timeUs = AverageNonZero(m_filteredTimes, kCylinders);
    CPoint centre;
    int cellHeight = 0;
    if (!LocateOnAxes(m_liveRpm, timeUs, centre, cellHeight)) {
        MoveMarkerTo(CRect());
        return;
    }
    const int radius = cellHeight / 2;
    MoveMarkerTo(CRect(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius));
}

// ---- Data handler messages --------------------------------------------------------------------

LRESULT CMeasurementGridCtrl::OnElementChanged(WPARAM wParam, LPARAM lParam) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    const int element = LOWORD(lParam);
    if (element == kBaseElement) {
        const std::vector<BYTE> base = ReadElementBytes(*m_dataHandler, kBaseElement, 1);
        m_basePercent = static_cast<signed char>(base[0]) + kStoredOffset;
    } else if (element == kMapElement && wParam != 0) {
        MoveMarker();
        m_mapLoaded = true;
    } else if (element == kMinimumInjectionElement) {
        m_minimumInjectionUs = Word(ReadElementBytes(*m_dataHandler, kMinimumInjectionElement, 2), 0);
    }
    return 0;
}

LRESULT CMeasurementGridCtrl::OnStatusChanged(WPARAM wParam, LPARAM) {
    if (IsLinkUp(static_cast<int>(wParam))) {
        return 0;
    }
    m_liveState = kLiveNone;
    m_liveRpm = 0;
    std::fill(std::begin(m_liveTimes), std::end(m_liveTimes), 0);
    std::fill(std::begin(m_filteredTimes), std::end(m_filteredTimes), 0);
    if (HasAxes()) {
        MoveMarker();
    }
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
    }
    return 0;
}

LRESULT CMeasurementGridCtrl::OnNewData(WPARAM, LPARAM) {
    if (m_dataHandler == nullptr) {
        return 0;
    }
    ReadLiveData();
    if (m_dataHandler->HasConfiguration()) {
        MoveMarker();
    }
    return 0;
}

// ---- Drawing ----------------------------------------------------------------------------------

void CMeasurementGridCtrl::DrawMark(CDC& dc, const Mark& mark, bool selected) {
    {
        CScopedSelect outer(dc, m_black);
        dc.Ellipse(mark.ellipse);
    }
    {
        CScopedSelect inner(dc, selected ? m_infoBack : m_red);
        dc.Ellipse(mark.ellipse.left + 1, mark.ellipse.top + 1, mark.ellipse.right - 1,
                   mark.ellipse.bottom - 1);
    }
    const int corner = std::max(2, mark.label.Width() / 8);
    {
        CScopedSelect frame(dc, m_labelFrame);
        dc.RoundRect(mark.label, CPoint(corner, corner));
    }
    CRect inside(mark.label.left + 1, mark.label.top + 1, mark.label.right - 1, mark.label.bottom - 1);
    {
        CScopedSelect fill(dc, selected ? m_red : m_infoBack);
        dc.RoundRect(inside, CPoint(corner, corner));
    }
    CFont* font = GetFontCache().GetFont(&m_markFont);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(kBlack);
    {
        CScopedSelect text(dc, font != nullptr ? font->GetSafeHandle() : GetStockObject(DEFAULT_GUI_FONT));
        dc.DrawText(FormatText("%d%%", mark.percent), inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
}

void CMeasurementGridCtrl::OnDraw(CDC* dc) {
    CGridCtrl::OnDraw(dc);
    if (dc == nullptr) {
        return;
    }
    if (m_showMeasurements) {
        for (const Mark& mark : m_marks) {
            DrawMark(*dc, mark, mark.measurement == m_highlighted);
        }
    }
    const CBrush& inner = m_liveState == kLiveGas ? m_green : (m_liveState == kLiveOther ? m_orange : m_grey);
    PaintMarker(*dc, m_black, inner);
}

// ---- Keys and mouse -----------------------------------------------------------------------------

BOOL CMeasurementGridCtrl::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
        !IsCellEditing(m_focusCell.row, m_focusCell.col)) {
        msg->wParam = VK_F2;
    }
    return CGridCtrl::PreTranslateMessage(msg);
}

void CMeasurementGridCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    if (key == VK_DELETE) {
        return;
    }
    if (key == VK_ADD || key == VK_SUBTRACT) {
        CWnd* target = CommandTarget();
        if (target != nullptr) {
            ::PostMessageA(target->GetSafeHwnd(), kHotKeyStepMessage, IsKeyDown(VK_SHIFT) ? 1 : 0, key);
        }
        return;
    }
    CGridCtrl::OnKeyDown(key, repeat, flags);
}

void CMeasurementGridCtrl::OnChar(UINT key, UINT repeat, UINT flags) {
    // The numpad keys step the cells; their characters must not start an edit.
    if (IsKeyDown(VK_ADD) || IsKeyDown(VK_SUBTRACT)) {
        CWnd::OnChar(key, repeat, flags);
        return;
    }
    CGridCtrl::OnChar(key, repeat, flags);
}

// Ctrl+click selects like a plain click.
void CMeasurementGridCtrl::OnLButtonDown(UINT flags, CPoint point) {
    CGridCtrl::OnLButtonDown(flags & ~MK_CONTROL, point);
}

void CMeasurementGridCtrl::OnFixedRowClick(GridCellId& cell) {
    CGridCtrl::OnFixedRowClick(cell);
    SetFocusRowCol(std::max(cell.row, GetFixedRowCount()), std::max(cell.col, GetFixedColumnCount()));
}

void CMeasurementGridCtrl::OnFixedColumnClick(GridCellId& cell) {
    CGridCtrl::OnFixedColumnClick(cell);
    SetFocusRowCol(std::max(cell.row, GetFixedRowCount()), std::max(cell.col, GetFixedColumnCount()));
}

void CMeasurementGridCtrl::OnRButtonDown(UINT flags, CPoint point) {
    CGridCtrl::OnRButtonDown(flags, point);
    m_rightButtonDown = true;
    HideTitleTip();
}

// Linear between the centre of the clicked cell and the centre of its neighbour on the
// point's side on each axis; the percent bilinear from the four cells around.
bool CMeasurementGridCtrl::PointToMeasurement(CPoint point) {
    const GridCellId cell = CellFromPoint(point, FALSE);
    if (cell.row < 1 || cell.col < 1 || cell.row > TimeCount() || cell.col > SpeedCount() ||
        m_page == nullptr) {
        return false;
    }
    CRect here;
    if (!GetCellRect(cell.row, cell.col, here)) {
        return false;
    }
    const CPoint centre((here.left + here.right) / 2, (here.top + here.bottom) / 2);
    const int column = cell.col - 1;
    const int row = cell.row - 1;
    int otherColumn = point.x >= centre.x ? column + 1 : column - 1;
    int otherRow = point.y >= centre.y ? row + 1 : row - 1;
    otherColumn = otherColumn < 0 || otherColumn >= SpeedCount() ? column : otherColumn;
    otherRow = otherRow < 0 || otherRow >= TimeCount() ? row : otherRow;
    CRect other;
    double u = 0;
    double v = 0;
    if (otherColumn != column && GetCellRect(cell.row, otherColumn + 1, other)) {
        u = static_cast<double>(point.x - centre.x) / ((other.left + other.right) / 2 - centre.x);
    }
    if (otherRow != row && GetCellRect(otherRow + 1, cell.col, other)) {
        v = static_cast<double>(point.y - centre.y) / ((other.top + other.bottom) / 2 - centre.y);
    }
    m_newRpm = static_cast<int>(std::lround(SpeedAt(column) + u * (SpeedAt(otherColumn) - SpeedAt(column))));
    m_newInjectionMs = (TimeAt(row) + v * (TimeAt(otherRow) - TimeAt(row))) * 0.001;
    const double a = m_page->GetCell(row, column);
    const double b = m_page->GetCell(row, otherColumn);
    const double c = m_page->GetCell(otherRow, column);
    const double d = m_page->GetCell(otherRow, otherColumn);
    m_newPercent =
        static_cast<int>(std::lround((1 - u) * (1 - v) * a + u * (1 - v) * b + (1 - u) * v * c + u * v * d));
    return true;
}

const CMeasurementGridCtrl::Mark* CMeasurementGridCtrl::MarkAt(CPoint point) const {
    for (auto it = m_marks.rbegin(); it != m_marks.rend(); ++it) {
        if (::PtInRect(&it->ellipse, point) || ::PtInRect(&it->label, point)) {
            return &*it;
        }
    }
    return nullptr;
}

void CMeasurementGridCtrl::OnRButtonUp(UINT flags, CPoint point) {
    CGridCtrl::OnRButtonUp(flags, point);
    m_rightButtonDown = false;
    EndEditing();
    RunMenu(point);
}

void CMeasurementGridCtrl::RunMenu(CPoint point) {
    const bool inBody = PointToMeasurement(point);
    const Mark* mark = m_showMeasurements ? MarkAt(point) : nullptr;
    m_selected = mark != nullptr ? mark->measurement : nullptr;
    m_highlighted = m_selected;
    InvalidateMarks();

    const auto state = [](bool enabled) { return enabled ? MF_ENABLED : MF_GRAYED; };
    const bool anyMark = !m_marks.empty();
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING | state(m_mapLoaded && inBody), kAddCommand, Text(kAddText));
    menu.AppendMenu(MF_STRING | state(m_selected != nullptr), kEditCommand, Text(kEditText));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | state(m_selected != nullptr), kDeleteCommand, Text(kDeleteText));
    menu.AppendMenu(MF_STRING | state(anyMark), kDeleteAllCommand, Text(kDeleteAllText));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | state(anyMark), kTotalizeCommand, Text(kTotalizeText));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | (m_showMeasurements ? MF_CHECKED : MF_UNCHECKED), kShowMarksCommand,
                    Text(kShowMarksText));
    menu.AppendMenu(MF_STRING | (m_titleTips ? MF_CHECKED : MF_UNCHECKED), kShowSummaryCommand,
                    Text(kShowSummaryText));

    POINT screen = point;
    ::ClientToScreen(GetSafeHwnd(), &screen);
    const UINT command = m_menuRunner
                             ? m_menuRunner(menu.GetSafeHmenu(), screen.x, screen.y)
                             : RunTrackPopupMenu(GetSafeHwnd(), menu.GetSafeHmenu(), screen.x, screen.y);
    m_highlighted = nullptr;
    InvalidateMarks();
    CWnd* target = CommandTarget();
    if (command != 0 && target != nullptr) {
        ::PostMessageA(target->GetSafeHwnd(), WM_COMMAND, command, 0);
    }
}

void CMeasurementGridCtrl::OnMouseMove(UINT flags, CPoint point) {
    const BOOL summary = m_titleTips;
    m_titleTips = FALSE;
    CGridCtrl::OnMouseMove(flags, point);
    m_titleTips = summary;
    if (summary && m_mouseMode == GRID_MOUSE_NOTHING && !m_rightButtonDown &&
        !IsCellEditing(m_focusCell.row, m_focusCell.col)) {
        ShowSummary(point);
    }
}

void CMeasurementGridCtrl::ShowSummary(CPoint point) {
    const GridCellId cell = CellFromPoint(point, FALSE);
    CRect rect;
    if (m_page == nullptr || cell.row < 1 || cell.col < 1 || !GetCellRect(cell.row, cell.col, rect)) {
        return;
    }
    CString text;
    LOGFONTA font = {};
    if (!m_page->FormatSummary(text, font, cell.row, cell.col) || text.IsEmpty()) {
        return;
    }
    const CRect beside(rect.right + 2, rect.top, rect.right + 2 + rect.Width(), rect.bottom);
    m_titleTip->Show(beside, text, &rect, &font, GRID_COLOUR_DEFAULT, GRID_COLOUR_DEFAULT);
}

// ---- Paste ------------------------------------------------------------------------------------------

CString CMeasurementGridCtrl::CheckPastedText(const CString& text) const {
    const DWORD languageId = m_resources != nullptr ? m_resources->GetLanguageId() : LOCALE_USER_DEFAULT;
    for (const GridClipLine& line : SplitGridClipText(text)) {
        for (const CString& value : line) {
            if (!IsValidNumberText(languageId, value)) {
                return FormatText(Text(kInvalidPasteText), value.GetString());
            }
            const long number = std::strtol(value, nullptr, 10);
            const long total = number + m_basePercent;
            if (number < kLowest || number > kHighest || total < kLowest || total > kHighest) {
                return FormatText(Text(kOutOfRangeText), static_cast<int>(number));
            }
        }
    }
    return CString();
}

BOOL CMeasurementGridCtrl::PasteText(int row, int col, const CString& text, BOOL selectPasted) {
    const CString problem = CheckPastedText(text);
    if (!problem.IsEmpty()) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // The page takes the pasted cells together afterwards.
    m_pasteTellsPage = true;
    const BOOL pasted = CGridCtrl::PasteText(row, col, text, selectPasted);
    m_pasteTellsPage = false;
    SetFocusRowCol(row, col);
    if (m_page != nullptr) {
        m_page->HandlePaste();
    }
    return pasted;
}
