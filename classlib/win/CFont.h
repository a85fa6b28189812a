// An owned GDI font.
#pragma once

#include "classlib/win/CGdiObject.h"

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    // heightPoints in tenths of a point, for the screen's vertical resolution.
    BOOL CreatePointFont(int heightTenthsOfPoint, LPCSTR faceName);
    // The font's full description; FALSE when empty or GDI refused.
    BOOL GetLogFont(LOGFONTA* logFont) const;

    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
