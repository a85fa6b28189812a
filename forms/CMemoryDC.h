// Flicker-free painting: drawing goes to an off-screen bitmap of the area, which is copied to
// the target in one block when the object goes. Made on the stack in a paint or draw handler.
#pragma once

#include "classlib/win/CBitmap.h"
#include "classlib/win/CDC.h"
#include "classlib/win/CRect.h"

#include <windows.h>

class CMemoryDC : public CDC {
public:
    // target must outlive this object; area is in the target's logical coordinates. A
    // printing target is drawn on directly.
    CMemoryDC(CDC* target, const CRect& area);
    // Copies the area to the target (memory case) and gives back what was borrowed.
    ~CMemoryDC() override;

private:
    BOOL CreateOffScreen();
    void BorrowTarget();

    CBitmap m_bitmap;
    HGDIOBJ m_previousBitmap = nullptr;  // not owned; selected back before the DC goes
    CDC* m_target;                       // not owned
    CRect m_area;
    // TRUE while drawing goes to the off-screen bitmap, FALSE when straight to the target.
    BOOL m_isMemory = FALSE;
};
