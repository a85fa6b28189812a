#include "forms/TableTipPlacement.h"

namespace {

// Moves a span into [low, high): past the low edge wins over past the high edge.
int KeepInside(int start, int size, int low, int high) {
    if (start < low) {
        return low;
    }
    if (start + size > high) {
        return high - size;
    }
    return start;
}

}  // namespace

TableTipPoint PlaceTableTip(const TableTipPlacementInput& in) {
    if (in.window != nullptr && in.mode >= 1 && in.mode <= 4) {
        const TableTipRect& w = *in.window;
        const bool left = in.mode == 1 || in.mode == 3;
        const bool above = in.mode == 1 || in.mode == 2;
        return {left ? w.left - in.width : w.right, above ? w.top - in.height : w.bottom};
    }
    TableTipPoint corner = {in.cursor.x, in.cursor.y + in.cursorHeight};
    corner.x = KeepInside(corner.x, in.width, in.workArea.left, in.workArea.right);
    corner.y = KeepInside(corner.y, in.height, in.workArea.top, in.workArea.bottom);
    return corner;
}
