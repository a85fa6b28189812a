// An owned GDI region.
#pragma once

#include "classlib/win/CGdiObject.h"

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    // This region becomes first combined with second (RGN_OR, RGN_AND, ...); both must
    // exist and this one must hold a region. The region's kind, or ERROR.
    int CombineRgn(const CRgn* first, const CRgn* second, int mode);
    BOOL PtInRegion(int x, int y) const;
    // Kind of region (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int GetRgnBox(LPRECT rect) const;

    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};
