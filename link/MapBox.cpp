// Box of changed cells of the correction map.
#include "link/MapBox.h"

#include <algorithm>

bool ReadMapLayout(const BYTE* map, std::size_t mapBytes, MapLayout& layout) {
    if (mapBytes < 2) {
        return false;
    }
    const std::size_t count1 = map[0];
    const std::size_t count2Offset = 1 + 2 * count1;
    if (count2Offset >= mapBytes) {
        return false;
    }
    const std::size_t count2 = map[count2Offset];
    const std::size_t cellsOffset = count2Offset + 1 + 2 * count2;
    if (cellsOffset + count1 * count2 > mapBytes) {
        return false;
    }
    layout.count1 = static_cast<int>(count1);
    layout.count2 = static_cast<int>(count2);
    layout.cellsOffset = static_cast<int>(cellsOffset);
    return true;
}

namespace {

struct Box {
    int xFrom;
    int yFrom;
    int xTo;
    int yTo;
};

bool FindBox(const BYTE* unitMap, const BYTE* workingMap, const MapLayout& layout, Box& box) {
    bool found = false;
    box = {layout.count1, layout.count2, -1, -1};
    for (int x = 0; x < layout.count1; ++x) {
        for (int y = 0; y < layout.count2; ++y) {
            const int offset = layout.CellOffset(x, y);
            if (unitMap[offset] == workingMap[offset]) {
                continue;
            }
            found = true;
            box.xFrom = std::min(box.xFrom, x);
            box.yFrom = std::min(box.yFrom, y);
            box.xTo = std::max(box.xTo, x);
            box.yTo = std::max(box.yTo, y);
        }
    }
    return found;
}

}  // namespace

std::size_t BuildChangedBox(const BYTE* unitMap,
                            const BYTE* workingMap,
                            std::size_t mapBytes,
                            BYTE (&record)[kBoxRecordBytes]) {
    MapLayout unitLayout;
    MapLayout layout;
    if (!ReadMapLayout(unitMap, mapBytes, unitLayout) || !ReadMapLayout(workingMap, mapBytes, layout)) {
        return 0;
    }
    if (unitLayout.count1 != layout.count1 || unitLayout.count2 != layout.count2) {
        return 0;
    }
    Box box;
    if (!FindBox(unitMap, workingMap, layout, box)) {
        return 0;
    }
    const std::size_t cells =
        static_cast<std::size_t>(box.xTo - box.xFrom + 1) * static_cast<std::size_t>(box.yTo - box.yFrom + 1);
    if (4 + cells > kBoxRecordBytes) {
        return 0;
    }
    record[0] = static_cast<BYTE>(box.xFrom);
    record[1] = static_cast<BYTE>(box.yFrom);
    record[2] = static_cast<BYTE>(box.xTo);
    record[3] = static_cast<BYTE>(box.yTo);
    std::size_t length = 4;
    const bool xOuter = box.xTo - box.xFrom < box.yTo - box.yFrom;
    const int outerFrom = xOuter ? box.xFrom : box.yFrom;
    const int outerTo = xOuter ? box.xTo : box.yTo;
    const int innerFrom = xOuter ? box.yFrom : box.xFrom;
    const int innerTo = xOuter ? box.yTo : box.xTo;
    for (int outer = outerFrom; outer <= outerTo; ++outer) {
        for (int inner = innerFrom; inner <= innerTo; ++inner) {
            const int offset = xOuter ? layout.CellOffset(outer, inner) : layout.CellOffset(inner, outer);
            record[length++] = workingMap[offset];
        }
    }
    return length;
}

std::size_t BoxRecordLength(const BYTE* record) {
    if (record[2] < record[0] || record[3] < record[1]) {
        return 0;
    }
    const std::size_t cells = static_cast<std::size_t>(record[2] - record[0] + 1) *
                              static_cast<std::size_t>(record[3] - record[1] + 1);
    return 4 + cells <= kBoxRecordBytes ? 4 + cells : 0;
}
