// Sliders: thin wrappers of the TBM_* messages.
#include "classlib/win/CSliderCtrl.h"

#include "classlib/win/AfxInitCommonControls.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    AfxInitCommonControls(ICC_BAR_CLASSES);
    return CWnd::Create(TRACKBAR_CLASSA, "", style, rect, parent, id);
}

void CSliderCtrl::SetRange(int minPosition, int maxPosition, BOOL redraw) {
    ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, FALSE, minPosition);
    ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), maxPosition);
}

int CSliderCtrl::GetRangeMin() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0));
}

int CSliderCtrl::GetRangeMax() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0));
}

void CSliderCtrl::SetPos(int position) {
    ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, position);
}

int CSliderCtrl::GetPos() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0));
}

void CSliderCtrl::SetTicFreq(int frequency) {
    ::SendMessageA(m_hWnd, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

int CSliderCtrl::SetPageSize(int size) {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_SETPAGESIZE, 0, size));
}

int CSliderCtrl::SetLineSize(int size) {
    return static_cast<int>(::SendMessageA(m_hWnd, TBM_SETLINESIZE, 0, size));
}
