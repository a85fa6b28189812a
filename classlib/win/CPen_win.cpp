// Cosmetic pens by style, width and colour.
#include "classlib/win/CPen.h"

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return TakeCreated(::CreatePen(style, width, color), "CreatePen");
}

BOOL CPen::CreatePenIndirect(const LOGPEN* logPen) {
    if (logPen == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreatePenIndirect(logPen), "CreatePenIndirect");
}
