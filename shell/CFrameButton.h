// An owner-drawn push button that looks like the system's small caption close box.
#pragma once

#include "classlib/win/CButton.h"

class CFrameButton : public CButton {
public:
    CFrameButton() = default;
    ~CFrameButton() override;

    // The DrawFrameControl state for an owner-draw item state and a button style.
    static UINT FrameState(UINT itemState, DWORD buttonStyle);

protected:
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
};
