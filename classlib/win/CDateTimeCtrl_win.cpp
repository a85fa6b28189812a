#include "classlib/win/CDateTimeCtrl.h"

#include "classlib/win/AfxInitCommonControls.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    AfxInitCommonControls(ICC_DATE_CLASSES);
    return CWnd::Create(DATETIMEPICK_CLASSA, "", style, rect, parent, id);
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME& time) {
    return ::SendMessageA(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME& time) const {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)));
}

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* earliest, const SYSTEMTIME* latest) {
    SYSTEMTIME range[2] = {};
    WPARAM flags = 0;
    if (earliest != nullptr) {
        range[0] = *earliest;
        flags |= GDTR_MIN;
    }
    if (latest != nullptr) {
        range[1] = *latest;
        flags |= GDTR_MAX;
    }
    return ::SendMessageA(m_hWnd, DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range)) != 0;
}
