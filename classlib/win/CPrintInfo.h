// What a printing view is told about the job: the pages and the area to draw in.
#pragma once

#include "classlib/win/CRect.h"

class CPrintInfo {
public:
    UINT GetMinPage() const { return m_minPage; }

    UINT GetMaxPage() const { return m_maxPage; }

    void SetMaxPage(UINT page) { m_maxPage = page; }

    UINT m_nCurPage = 1;
    CRect m_rectDraw;  // device units of the current page

private:
    UINT m_minPage = 1;
    UINT m_maxPage = 1;
};
