#include "calib/CCalibratorDlgBase.h"

#include "calib/CDataHandlerLiveValues.h"
#include "calib/CalibText.h"
#include "calib/CalibrationTextIds.h"
#include "calib/ICalibrationMap.h"
#include "calib/LiveElementReads.h"
#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CFont.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/CSystemClock.h"
#include "link/DataHandlerMessages.h"
#include "res/ResourceIds.h"

namespace {

constexpr int kFuelRequestElement = 32;
constexpr int kLogRefusal = 2000;

// Where the window stands on the page and how large it is, in page layout units.
constexpr int kPageLeft = 240;
constexpr int kPageTop = 236;
constexpr int kDesignWidth = 294;
constexpr int kDesignHeight = 140;

}  // namespace

BEGIN_MESSAGE_MAP(CCalibratorDlgBase, CDialog)
    ON_MESSAGE(WM_DH_NEW_DATA, OnNewData)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_BN_CLICKED(CCalibratorDlgBase::kUndoId, OnUndoClicked)
    ON_BN_CLICKED(CCalibratorDlgBase::kRedoId, OnRedoClicked)
    ON_COMMAND(ID_ACCEL_UNDO, OnUndoAccelerator)
    ON_COMMAND(ID_ACCEL_REDO, OnRedoAccelerator)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CCalibratorDlgBase::CCalibratorDlgBase(UINT templateId, CWnd* page)
    : CDialog(templateId, page), m_clock(&CSystemClock::Instance()) {}

CCalibratorDlgBase::~CCalibratorDlgBase() {
    if (m_registered && m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
    }
}

void CCalibratorDlgBase::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CCalibratorDlgBase::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kStatusId, m_status);
}

BOOL CCalibratorDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();
    PlaceOverPage();
    LayOutControls();
    m_runningMode = 0;
    m_dragging = false;
    m_dragOffset = CPoint();
    CFont* statusFont = CachedFont("Verdana", 100, FW_NORMAL, DEFAULT_CHARSET);
    if (statusFont != nullptr) {
        m_status.SetFont(*statusFont);
    }
    SetStatus(IDS_CALIB_START, kStatusGrey);
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        m_registered = true;
    }
    return TRUE;
}

void CCalibratorDlgBase::PlaceOverPage() {
    CRect place(static_cast<int>(kPageLeft * m_scaleX), static_cast<int>(kPageTop * m_scaleY), 0, 0);
    place.right = place.left + static_cast<int>(kDesignWidth * m_scaleX);
    place.bottom = place.top + static_cast<int>(kDesignHeight * m_scaleY);
    if (m_pParentWnd != nullptr && m_pParentWnd->GetSafeHwnd() != nullptr) {
        m_pParentWnd->ClientToScreen(&place);
    }
    MoveWindow(&place, FALSE);
}

void CCalibratorDlgBase::LayOutControls() {
    CRect client;
    GetClientRect(&client);
    const double fx = static_cast<double>(client.Width()) / kDesignWidth;
    const double fy = static_cast<double>(client.Height()) / kDesignHeight;
    for (const ControlPlace& place : ControlPlaces()) {
        CWnd* item = GetDlgItem(place.id);
        if (item == nullptr) {
            continue;
        }
        item->MoveWindow(static_cast<int>(place.x * fx), static_cast<int>(place.y * fy),
                         static_cast<int>(place.width * fx), static_cast<int>(place.height * fy), FALSE);
    }
}

CFont* CCalibratorDlgBase::CachedFont(const char* face, int tenthsPoint, int weight, BYTE charset) {
    return GetCachedFont(m_fonts, this, face, tenthsPoint, m_scaleX, m_scaleY, weight, charset);
}

void CCalibratorDlgBase::OnOK() {}

void CCalibratorDlgBase::OnCancel() {
    OnEscape();
}

LRESULT CCalibratorDlgBase::OnNewData(WPARAM, LPARAM) {
    if (m_dataHandler != nullptr && m_map != nullptr) {
        OnLiveStep();
    }
    return 0;
}

LRESULT CCalibratorDlgBase::OnStatusChanged(WPARAM status, LPARAM) {
    if (!IsLinkUp(status)) {
        OnLinkLost();
    }
    return 0;
}

bool CCalibratorDlgBase::EngineFastEnough() {
    if (m_lastRpm <= kMinimumStartRpm) {
        SetStatus(IDS_CALIB_REV_FAILURE, kStatusLight);
        return false;
    }
    return true;
}

void CCalibratorDlgBase::ShowRunStarted(int buttonId) {
    SetItemText(buttonId, LoadText(IDS_CALIB_STOP_CAPTION));
    SetStatus(IDS_CALIB_START, kStatusLight);
    EnableItem(kUndoId, false);
    EnableItem(kRedoId, false);
}

void CCalibratorDlgBase::OnUndoClicked() {
    if (m_map == nullptr) {
        return;
    }
    if (m_map->HasNewMeasurement()) {
        m_map->UndoLastMeasurement();
    }
    Refold();
    UpdateArrows();
    m_map->ShowMeasurementCoverage();
}

void CCalibratorDlgBase::OnRedoClicked() {
    if (m_map == nullptr) {
        return;
    }
    if (m_map->HasUndoneMeasurements()) {
        m_map->RedoMeasurement();
    }
    Refold();
    UpdateArrows();
    m_map->ShowMeasurementCoverage();
}

// The page forwards its Ctrl+Z and Ctrl+Y while the dialog runs; they act as the arrows
// only while those can be pressed.
void CCalibratorDlgBase::OnUndoAccelerator() {
    if (IsItemEnabled(kUndoId)) {
        OnUndoClicked();
    }
}

void CCalibratorDlgBase::OnRedoAccelerator() {
    if (IsItemEnabled(kRedoId)) {
        OnRedoClicked();
    }
}

void CCalibratorDlgBase::OnDestroy() {
    if (m_registered && m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
        m_registered = false;
    }
    CDialog::OnDestroy();
}

void CCalibratorDlgBase::OnLButtonDown(UINT, CPoint point) {
    ClientToScreen(&point);
    CRect window;
    GetWindowRect(&window);
    if (!PtInRect(&window, point)) {
        return;
    }
    m_dragging = true;
    m_dragOffset = CPoint(point.x - window.left, point.y - window.top);
    SetCapture();
}

void CCalibratorDlgBase::OnMouseMove(UINT flags, CPoint point) {
    if (!m_dragging || (flags & MK_LBUTTON) == 0) {
        return;
    }
    ClientToScreen(&point);
    CRect window;
    GetWindowRect(&window);
    MoveWindow(point.x - m_dragOffset.x, point.y - m_dragOffset.y, window.Width(), window.Height(), TRUE);
}

void CCalibratorDlgBase::OnLButtonUp(UINT, CPoint) {
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    ReleaseCapture();
}

CString CCalibratorDlgBase::LoadText(UINT id) const {
    return LoadCalibText(m_resources, id);
}

// The formats come from our own string table, each with one %d.
CString CCalibratorDlgBase::FormatText(UINT id, int value) const {
    return ::FormatText(LoadText(id), value);
}

void CCalibratorDlgBase::SetStatus(UINT textId, COLORREF color) {
    SetStatusText(LoadText(textId), color);
}

void CCalibratorDlgBase::SetStatusText(LPCSTR text, COLORREF color) {
    m_statusColor = color;
    m_status.SetBkColor(color);
    m_status.SetWindowText(text);
}

void CCalibratorDlgBase::SetItemText(int id, LPCSTR text) {
    CWnd* item = GetDlgItem(id);
    if (item != nullptr) {
        item->SetWindowText(text);
    }
}

void CCalibratorDlgBase::EnableItem(int id, bool enable) {
    CWnd* item = GetDlgItem(id);
    if (item != nullptr) {
        item->EnableWindow(enable ? TRUE : FALSE);
    }
}

bool CCalibratorDlgBase::IsItemEnabled(int id) const {
    CWnd* item = GetDlgItem(id);
    return item != nullptr && item->IsWindowEnabled() != FALSE;
}

void CCalibratorDlgBase::ReadLiveSpeedAndInjection() {
    CDataHandlerLiveValues live(*m_dataHandler);
    m_lastRpm = ReadLiveWord(live, kElementEngineSpeed);
    m_lastMs = m_injectionFilter.Read(live);
}

void CCalibratorDlgBase::WriteFuelRequest(BYTE request) {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_fuelRequest = request;
    m_dataHandler->WriteData(kFuelRequestElement, &m_fuelRequest);
}

void CCalibratorDlgBase::UpdateArrows() {
    const bool canUndo = m_map != nullptr && m_map->HasNewMeasurement();
    const bool canRedo = m_map != nullptr && m_map->HasUndoneMeasurements();
    if (canUndo) {
        EnableItem(kUndoId, true);
    } else {
        DisableWithFocus(kUndoId, true);
    }
    if (canRedo) {
        EnableItem(kRedoId, true);
    } else {
        DisableWithFocus(kRedoId, false);
    }
}

// A disabled control keeps no focus: it goes on to the neighbour first.
void CCalibratorDlgBase::DisableWithFocus(int id, bool toNext) {
    CWnd* item = GetDlgItem(id);
    if (item == nullptr) {
        return;
    }
    if (::GetFocus() == item->GetSafeHwnd()) {
        if (toNext) {
            NextDlgCtrl();
        } else {
            PrevDlgCtrl();
        }
    }
    item->EnableWindow(FALSE);
}

bool CCalibratorDlgBase::ConfirmCancel() {
    if (m_map == nullptr || !m_map->HasNewMeasurement()) {
        return true;
    }
    return AfxMessageBox(LoadText(IDS_CALIB_CANCEL_QUESTION), MB_OKCANCEL | MB_ICONQUESTION) != IDCANCEL;
}

void CCalibratorDlgBase::SetBasePercent(int percent) {
    if (m_map->SetBasePercent(percent) == 0) {
        CLogger::Instance().Log(kLogRefusal, "Calibration: base percent %d refused by the map.", percent);
    }
}

DWORD CCalibratorDlgBase::NowMs() const {
    return m_clock->NowMs();
}

void CCalibratorDlgBase::DrawCheckBox(const DRAWITEMSTRUCT& item, bool checked) {
    RECT box = item.rcItem;
    UINT state = DFCS_BUTTONCHECK;
    if (checked) {
        state |= DFCS_CHECKED;
    }
    if ((item.itemState & ODS_SELECTED) != 0) {
        state |= DFCS_PUSHED;
    }
    if ((item.itemState & ODS_DISABLED) != 0) {
        state |= DFCS_INACTIVE;
    }
    DrawFrameControl(item.hDC, &box, DFC_BUTTON, state);
    if ((item.itemState & ODS_FOCUS) != 0) {
        InflateRect(&box, -1, -1);
        DrawFocusRect(item.hDC, &box);
    }
}
