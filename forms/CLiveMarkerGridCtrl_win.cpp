#include "forms/CLiveMarkerGridCtrl.h"

#include "classlib/win/CDC.h"
#include "forms/MoveWithoutOwnTitleTip.h"
#include "link/CDataHandler.h"
#include "link/CalibrationHelpers.h"
#include "link/ReadElementBytes.h"

#include <windows.h>

#include <vector>

BEGIN_MESSAGE_MAP(CLiveMarkerGridCtrl, CMarkerGridCtrl)
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(0x600, OnElementChanged)
    ON_MESSAGE(0x601, OnConnectionStatus)
    ON_MESSAGE(0x602, OnLiveCycle)
END_MESSAGE_MAP()

namespace {

constexpr int kEngineSpeedElement = 26;
constexpr int kInjectionTimesElement = 27;
constexpr int kWatchedElement = 50;
constexpr int kFuelTrimElement = 95;
constexpr int kCylinders = 8;

// The last plausible injection time of each cylinder, shared by every marker grid.
int g_injectionTimes[kCylinders] = {};

}  // namespace

CLiveMarkerGridCtrl::CLiveMarkerGridCtrl() {
    m_outerBrush.CreateSolidBrush(RGB(0, 0, 0));
    m_innerBrush.CreateSolidBrush(RGB(0x33, 0x66, 0x99));
}

// The data handler must not post to a grid that is gone.
CLiveMarkerGridCtrl::~CLiveMarkerGridCtrl() {
    if (m_registered && m_dataHandler != nullptr) {
        m_dataHandler->Unsubscribe(this, kWatchedElement, 3);
        m_dataHandler->UnregisterWindow(this);
    }
}

void CLiveMarkerGridCtrl::InitMarker() {
    SetAxes(0, nullptr, 0, nullptr);
    ClearMarker();
    m_engineSpeed = 0;
    m_injectionTime = 0;
    m_markerEnabled = false;
    if (m_dataHandler != nullptr && !m_registered) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kWatchedElement, 3);
        m_registered = true;
    }
}

void CLiveMarkerGridCtrl::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CLiveMarkerGridCtrl::ReadLiveValues() {
    const std::vector<BYTE> speed = ReadElementBytes(*m_dataHandler, kEngineSpeedElement, 4);
    m_engineSpeed = speed[0] | (speed[1] << 8);

    const std::vector<BYTE> times = ReadElementBytes(*m_dataHandler, kInjectionTimesElement, 2 * kCylinders);
    int current[kCylinders] = {};
    for (int i = 0; i < kCylinders; ++i) {
        current[i] = times[2 * i] | (times[2 * i + 1] << 8);
    }
    CopyZeroOrLargeValues(current, g_injectionTimes, kCylinders);
    m_injectionTime = AverageNonZero(g_injectionTimes, kCylinders);

    const std::vector<BYTE> trims = ReadElementBytes(*m_dataHandler, kFuelTrimElement, 9);
    double sum = 0.0;
    int contributions = 0;
    if (trims[7] != 0 && CountBits(trims[7]) <= 1) {
        sum += static_cast<signed char>(trims[2]) * 0.01;
        ++contributions;
    }
    if (trims[8] != 0 && CountBits(trims[8]) <= 1) {
        sum += static_cast<signed char>(trims[0]) * 0.01;
        ++contributions;
    }
    m_trimFactor = (contributions > 0 ? sum / contributions : sum) + 1.0;
}

LRESULT CLiveMarkerGridCtrl::OnLiveCycle(WPARAM, LPARAM) {
    if (!m_markerEnabled || m_dataHandler == nullptr) {
        return 0;
    }
    ReadLiveValues();
    MoveMarker();
    return 0;
}

void CLiveMarkerGridCtrl::MoveMarker() {
    // A trim of -100 % or less leaves no factor to divide by.
    const int time = m_trimFactor > 0.0 ? static_cast<int>(m_injectionTime / m_trimFactor) : m_injectionTime;
    CPoint centre;
    int cellHeight = 0;
    if (!LocateOnAxes(m_engineSpeed, time, centre, cellHeight)) {
        return;
    }
    const int radius = cellHeight >> 2;
    MoveMarkerTo(CRect(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius));
}

LRESULT CLiveMarkerGridCtrl::OnConnectionStatus(WPARAM wParam, LPARAM) {
    if (IsLinkUp(static_cast<int>(wParam))) {
        return 0;
    }
    m_engineSpeed = 0;
    m_injectionTime = 0;
    MoveMarker();
    if (GetSafeHwnd() != nullptr) {
        Invalidate();
    }
    return 0;
}

LRESULT CLiveMarkerGridCtrl::OnElementChanged(WPARAM, LPARAM lParam) {
    if (LOWORD(lParam) == kWatchedElement && m_dataHandler != nullptr) {
        ReadElementBytes(*m_dataHandler, kWatchedElement, 1);
    }
    return 0;
}

void CLiveMarkerGridCtrl::OnDraw(CDC* dc) {
    CGridCtrl::OnDraw(dc);
    if (dc != nullptr) {
        PaintMarker(*dc, m_outerBrush, m_innerBrush);
    }
}

void CLiveMarkerGridCtrl::OnMouseMove(UINT flags, CPoint point) {
    MoveWithoutOwnTitleTip(*this, flags, point);
    m_lastMousePoint = point;
}

void CLiveMarkerGridCtrl::OnKillFocus(CWnd* newWnd) {
    CGridCtrl::OnKillFocus(newWnd);
    HideTitleTip();
}
