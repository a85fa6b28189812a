#include "shell/CFrameButton.h"

namespace {

// The button style bit that asks for the flat look (BS_FLAT).
constexpr DWORD kFlatStyle = 0x8000;

}  // namespace

CFrameButton::~CFrameButton() {
    DestroyWindow();
}

UINT CFrameButton::FrameState(UINT itemState, DWORD buttonStyle) {
    UINT state = DFCS_CAPTIONCLOSE;
    if ((itemState & ODS_SELECTED) != 0) {
        state |= DFCS_PUSHED;
    }
    if ((itemState & ODS_DISABLED) != 0) {
        state |= DFCS_INACTIVE;
    }
    if ((buttonStyle & kFlatStyle) != 0) {
        state |= DFCS_FLAT | DFCS_MONO;
    }
    return state;
}

void CFrameButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    RECT area = drawItem->rcItem;
    ::DrawFrameControl(drawItem->hDC, &area, DFC_CAPTION, FrameState(drawItem->itemState, GetStyle()));
}
