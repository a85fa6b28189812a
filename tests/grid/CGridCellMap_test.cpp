// The cell set behind the selection.
#include "grid/CGridCellMap.h"

#include <gtest/gtest.h>

TEST(CGridCellMap, KeepsCellsApartBeyondSixteenBits) {
    CGridCellMap map;
    map.Add(GridCellId(1, 0));
    map.Add(GridCellId(65537, 0));
    map.Add(GridCellId(0, 65536));
    EXPECT_EQ(3, map.GetCount());
    map.Remove(GridCellId(1, 0));
    EXPECT_TRUE(map.Contains(GridCellId(65537, 0)));
    EXPECT_FALSE(map.Contains(GridCellId(1, 0)));
}

TEST(CGridCellMap, BoundsCoverTheCellsAndAreInvalidWhenEmpty) {
    CGridCellMap map;
    const GridCellRange empty = map.GetBounds(5, 6);
    EXPECT_EQ(GridCellRange(5, 6, -1, -1), empty);
    EXPECT_FALSE(empty.IsValid(5, 6));

    map.Add(GridCellId(3, 1));
    map.Add(GridCellId(1, 4));
    EXPECT_EQ(GridCellRange(1, 1, 3, 4), map.GetBounds(5, 6));
}
