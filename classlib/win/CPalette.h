// An owned GDI logical palette.
#pragma once

#include "classlib/win/CGdiObject.h"

class CDC;

class CPalette : public CGdiObject {
public:
    BOOL CreatePalette(const LOGPALETTE* logPalette);
    // The system's halftone palette for dc's device.
    BOOL CreateHalftonePalette(CDC* dc);
    // Number of entries; 0 when empty.
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const;

    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
};
