// Progress bars: thin wrappers of the PBM_* messages.
#include "classlib/win/CProgressCtrl.h"

#include "classlib/win/AfxInitCommonControls.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    return CWnd::Create(PROGRESS_CLASSA, "", style, rect, parent, id);
}

void CProgressCtrl::SetRange(short lower, short upper) {
    ::SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

void CProgressCtrl::SetRange32(int lower, int upper) {
    ::SendMessageA(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    PBRANGE range = {0, 0};
    ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}

int CProgressCtrl::SetPos(int position) {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

int CProgressCtrl::GetPos() const {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0));
}

int CProgressCtrl::OffsetPos(int delta) {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_DELTAPOS, static_cast<WPARAM>(delta), 0));
}

int CProgressCtrl::SetStep(int step) {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0));
}

int CProgressCtrl::StepIt() {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_STEPIT, 0, 0));
}
