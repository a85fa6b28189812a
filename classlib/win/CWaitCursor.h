// The wait cursor for one scope; the cursor shown before comes back at the end.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
