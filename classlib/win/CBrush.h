// An owned GDI brush.
#pragma once

#include "classlib/win/CGdiObject.h"

class CBitmap;

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF color);
    // A brush of a system colour (COLOR_BTNFACE, ...); the system owns it, deleting is harmless.
    BOOL CreateSysColorBrush(int index);
    BOOL CreateHatchBrush(int hatchStyle, COLORREF color);
    BOOL CreatePatternBrush(const CBitmap* bitmap);

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};
