// A date-time picker common control: thin wrappers of the DTM_* messages.
#pragma once

#include "classlib/win/CWnd.h"

#include <windows.h>

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)

public:
    using CWnd::Create;
    // style: WS_* and DTS_* flags; registers the control class on first use.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    BOOL SetTime(const SYSTEMTIME& time);
    // GDT_VALID when a time was read.
    DWORD GetTime(SYSTEMTIME& time) const;
    // Either bound may be null (no limit on that side).
    BOOL SetRange(const SYSTEMTIME* earliest, const SYSTEMTIME* latest);
};
