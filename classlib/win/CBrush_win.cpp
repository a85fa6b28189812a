// Solid, system-colour, hatched and pattern brushes.
#include "classlib/win/CBrush.h"

#include "classlib/win/CBitmap.h"

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return TakeCreated(::CreateSolidBrush(color), "CreateSolidBrush");
}

BOOL CBrush::CreateSysColorBrush(int index) {
    return TakeCreated(::GetSysColorBrush(index), "GetSysColorBrush");
}

BOOL CBrush::CreateHatchBrush(int hatchStyle, COLORREF color) {
    return TakeCreated(::CreateHatchBrush(hatchStyle, color), "CreateHatchBrush");
}

BOOL CBrush::CreatePatternBrush(const CBitmap* bitmap) {
    if (bitmap == nullptr || bitmap->m_hObject == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreatePatternBrush(*bitmap), "CreatePatternBrush");
}
