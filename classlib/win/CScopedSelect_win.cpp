// Scoped selection of GDI objects into a DC.
#include "classlib/win/CScopedSelect.h"

#include <cstdio>

CScopedSelect::CScopedSelect(CDC& dc, const CGdiObject& object) : CScopedSelect(dc, object.m_hObject) {}

CScopedSelect::CScopedSelect(CDC& dc, HGDIOBJ object) : m_dc(dc) {
    m_previous = dc.SelectObject(object);
    if (m_previous == nullptr) {
        std::fprintf(stderr, "SelectObject: the DC refused %p\n", object);
    }
}

CScopedSelect::CScopedSelect(CDC& dc, const CPalette& palette, BOOL forceBackground)
    : m_dc(dc), m_isPalette(true) {
    m_previous = dc.SelectPalette(&palette, forceBackground);
    if (m_previous == nullptr) {
        std::fprintf(stderr, "SelectPalette: the DC refused %p\n", palette.m_hObject);
    }
}

CScopedSelect::~CScopedSelect() {
    if (m_previous == nullptr) {
        return;
    }
    if (m_isPalette) {
        ::SelectPalette(m_dc.m_hDC, static_cast<HPALETTE>(m_previous), TRUE);
        return;
    }
    ::SelectObject(m_dc.m_hDC, m_previous);
}
