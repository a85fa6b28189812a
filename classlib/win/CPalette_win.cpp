// Logical palettes from a colour table or the halftone palette.
#include "classlib/win/CPalette.h"

#include "classlib/win/CDC.h"

BOOL CPalette::CreatePalette(const LOGPALETTE* logPalette) {
    if (logPalette == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreatePalette(logPalette), "CreatePalette");
}

BOOL CPalette::CreateHalftonePalette(CDC* dc) {
    if (dc == nullptr || dc->m_hDC == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreateHalftonePalette(dc->m_hDC), "CreateHalftonePalette");
}

int CPalette::GetEntryCount() const {
    WORD count = 0;
    if (GetObject(sizeof(count), &count) == 0) {
        return 0;
    }
    return count;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const {
    if (m_hObject == nullptr) {
        return 0;
    }
    return ::GetPaletteEntries(*this, start, count, entries);
}
