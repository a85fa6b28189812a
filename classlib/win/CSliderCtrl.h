// A slider (track bar).
#pragma once

#include "classlib/win/CWnd.h"

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)

public:
    using CWnd::Create;
    // style: WS_* and TBS_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetRange(int minPosition, int maxPosition, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int position);
    int GetPos() const;
    void SetTicFreq(int frequency);
    // The previous size.
    int SetPageSize(int size);
    int SetLineSize(int size);
};
