// Client-area DCs.
#include "classlib/win/CClientDC.h"

#include "classlib/win/CWnd.h"

#include <cstdio>

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->m_hWnd : nullptr) {
    if (!Attach(::GetDC(m_hWnd))) {
        std::fprintf(stderr, "GetDC: %lu\n", GetLastError());
    }
}

CClientDC::~CClientDC() {
    if (m_hDC == nullptr) {
        return;
    }
    ::ReleaseDC(m_hWnd, Detach());
}
