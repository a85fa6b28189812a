// A progress bar.
#pragma once

#include "classlib/win/CWnd.h"

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    using CWnd::Create;
    // style: WS_* and PBS_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // 16-bit range (PBM_SETRANGE).
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // The previous position.
    int SetPos(int position);
    int GetPos() const;
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt();
};
