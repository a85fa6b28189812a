// Whole-window DCs.
#include "classlib/win/CWindowDC.h"

#include "classlib/win/CWnd.h"

#include <cstdio>

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->m_hWnd : nullptr) {
    if (!Attach(::GetWindowDC(m_hWnd))) {
        std::fprintf(stderr, "GetWindowDC: %lu\n", GetLastError());
    }
}

CWindowDC::~CWindowDC() {
    if (m_hDC == nullptr) {
        return;
    }
    ::ReleaseDC(m_hWnd, Detach());
}
