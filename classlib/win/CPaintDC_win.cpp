// Painting DCs.
#include "classlib/win/CPaintDC.h"

#include "classlib/win/CWnd.h"

#include <cstdio>

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->m_hWnd : nullptr) {
    if (m_hWnd == nullptr) {
        std::fprintf(stderr, "BeginPaint: no window\n");
        return;
    }
    if (!Attach(::BeginPaint(m_hWnd, &m_ps))) {
        std::fprintf(stderr, "BeginPaint: %lu\n", GetLastError());
    }
}

CPaintDC::~CPaintDC() {
    if (m_hWnd == nullptr) {
        return;
    }
    ::EndPaint(m_hWnd, &m_ps);
    Detach();  // EndPaint gave the DC back: not ours to delete
}
