// The off-screen DC: a compatible bitmap with the target's mapping, copied back with SRCCOPY.
#include "forms/CMemoryDC.h"

#include "link/CLogger.h"

namespace {

constexpr int kLogError = 3000;

}  // namespace

CMemoryDC::CMemoryDC(CDC* target, const CRect& area) : m_target(target), m_area(area) {
    if (m_target == nullptr) {
        CLogger::Instance().Log(kLogError, "CMemoryDC: no target");
        return;
    }
    m_isMemory = !m_target->IsPrinting() && CreateOffScreen();
    if (!m_isMemory) {
        // Printing, or no memory for the bitmap: draw on the target, unbuffered but complete.
        BorrowTarget();
    }
    FillSolidRect(&m_area, m_target->GetBkColor());
}

CMemoryDC::~CMemoryDC() {
    if (m_isMemory) {
        m_target->BitBlt(m_area.left, m_area.top, m_area.Width(), m_area.Height(), this, m_area.left,
                         m_area.top, SRCCOPY);
        SelectObject(m_previousBitmap);
        m_bitmap.DeleteObject();
        return;
    }
    // The borrowed context belongs to the target: it must survive this object.
    Detach();
}

BOOL CMemoryDC::CreateOffScreen() {
    if (!CreateCompatibleDC(m_target)) {
        return FALSE;
    }
    CRect device = m_area;
    m_target->LPtoDP(&device);
    if (!m_bitmap.CreateCompatibleBitmap(m_target, device.Width(), device.Height())) {
        DeleteDC();
        return FALSE;
    }
    m_previousBitmap = SelectObject(&m_bitmap);
    const HDC target = m_target->GetSafeHdc();
    SetMapMode(::GetMapMode(target));
    SIZE extent = {0, 0};
    ::GetWindowExtEx(target, &extent);
    SetWindowExt(extent.cx, extent.cy);
    ::GetViewportExtEx(target, &extent);
    SetViewportExt(extent.cx, extent.cy);
    m_target->DPtoLP(&device);
    m_area = device;
    SetWindowOrg(m_area.left, m_area.top);
    return TRUE;
}

void CMemoryDC::BorrowTarget() {
    Attach(m_target->GetSafeHdc());
    m_bPrinting = m_target->IsPrinting();
}
