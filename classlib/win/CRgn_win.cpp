// Rectangular, elliptic and combined regions.
#include "classlib/win/CRgn.h"

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    return TakeCreated(::CreateRectRgn(left, top, right, bottom), "CreateRectRgn");
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) {
    if (rect == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreateRectRgnIndirect(rect), "CreateRectRgnIndirect");
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
    return TakeCreated(::CreateEllipticRgn(left, top, right, bottom), "CreateEllipticRgn");
}

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return TakeCreated(::CreateRoundRectRgn(left, top, right, bottom, ellipseWidth, ellipseHeight),
                       "CreateRoundRectRgn");
}

int CRgn::CombineRgn(const CRgn* first, const CRgn* second, int mode) {
    if (m_hObject == nullptr || first == nullptr || first->m_hObject == nullptr) {
        return ERROR;
    }
    // RGN_COPY reads only the first region.
    const HRGN secondRegion = second != nullptr ? static_cast<HRGN>(*second) : nullptr;
    if (mode != RGN_COPY && secondRegion == nullptr) {
        return ERROR;
    }
    return ::CombineRgn(*this, *first, secondRegion, mode);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    return m_hObject != nullptr && ::PtInRegion(*this, x, y) ? TRUE : FALSE;
}

int CRgn::GetRgnBox(LPRECT rect) const {
    if (m_hObject == nullptr || rect == nullptr) {
        return ERROR;
    }
    return ::GetRgnBox(*this, rect);
}
