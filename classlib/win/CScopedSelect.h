// Selects a pen, brush, font, bitmap or palette into a DC for one scope and puts the
// previous object back when the scope ends, so an owned object is never deleted while
// a DC still holds it.
#pragma once

#include "classlib/win/CDC.h"
#include "classlib/win/CGdiObject.h"
#include "classlib/win/CPalette.h"

class CScopedSelect {
public:
    // dc and object must outlive this selector.
    CScopedSelect(CDC& dc, const CGdiObject& object);
    CScopedSelect(CDC& dc, HGDIOBJ object);
    // Palettes have their own selection call.
    CScopedSelect(CDC& dc, const CPalette& palette, BOOL forceBackground);
    ~CScopedSelect();

    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;

    // FALSE when the DC refused the object (nothing to put back then).
    BOOL IsSelected() const { return m_previous != nullptr ? TRUE : FALSE; }

private:
    CDC& m_dc;
    HGDIOBJ m_previous = nullptr;
    bool m_isPalette = false;
};
