// An owned GDI pen.
#pragma once

#include "classlib/win/CGdiObject.h"

class CPen : public CGdiObject {
public:
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* logPen);

    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};
