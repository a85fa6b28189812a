// Focus movement by key over a grid with a fixed row and column and hidden cells.
#include "grid/CGridNavigator.h"

#include <gtest/gtest.h>

namespace {

CGridLayout MakeLayout(const std::vector<int>& heights, const std::vector<int>& widths) {
    CGridLayout layout;
    for (int h : heights) {
        layout.Rows().Insert(layout.Rows().GetCount(), h);
    }
    for (int w : widths) {
        layout.Cols().Insert(layout.Cols().GetCount(), w);
    }
    layout.Rows().SetFixedCount(1);
    layout.Cols().SetFixedCount(1);
    return layout;
}

}  // namespace

TEST(CGridNavigator, MovesSkipHiddenCellsAndNeverEnterTheFixedPart) {
    // Rows 1 and 3 of 5 are hidden, and column 2 of 5.
    const CGridLayout layout = MakeLayout({10, 10, 10, 0, 10}, {10, 10, 0, 10, 10});
    const CGridNavigator navigator(layout);

    struct Case {
        const char* name;
        GridCellId from;
        GridMove move;
        GridCellId expected;
        bool lineChange;
    };

    const Case cases[] = {
        {"right over a hidden column", {1, 1}, GridMove::Right, {1, 3}, false},
        {"right at the last column stays", {1, 4}, GridMove::Right, {1, 4}, false},
        {"left stops before the fixed column", {1, 1}, GridMove::Left, {1, 1}, false},
        {"left over a hidden column", {1, 3}, GridMove::Left, {1, 1}, false},
        {"up stops before the fixed row", {1, 3}, GridMove::Up, {1, 3}, false},
        {"down over a hidden row", {2, 1}, GridMove::Down, {4, 1}, false},
        {"down at the last row stays", {4, 1}, GridMove::Down, {4, 1}, false},
        {"tab moves right", {2, 1}, GridMove::Tab, {2, 3}, false},
        {"tab at the row end goes to the next shown row", {2, 4}, GridMove::Tab, {4, 1}, true},
        {"tab at the last cell stays", {4, 4}, GridMove::Tab, {4, 4}, false},
        {"shift tab at the row start goes up", {4, 1}, GridMove::ShiftTab, {2, 4}, true},
        {"shift tab at the first cell stays", {1, 1}, GridMove::ShiftTab, {1, 1}, false},
        {"home", {4, 4}, GridMove::Home, {4, 1}, false},
        {"ctrl home", {4, 4}, GridMove::CtrlHome, {1, 1}, false},
        {"end", {1, 1}, GridMove::End, {1, 4}, false},
        {"ctrl end", {1, 1}, GridMove::CtrlEnd, {4, 4}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GridMoveResult result = navigator.Move(c.from, c.move);
        EXPECT_EQ(c.expected, result.next);
        EXPECT_EQ(c.lineChange, result.lineChange);
    }
}

TEST(CGridNavigator, HomeAndEndSkipHiddenEdgesAndStayWhenAllIsHidden) {
    const CGridLayout edges = MakeLayout({10, 0, 10, 10, 0}, {10, 0, 10, 10, 0});
    const CGridNavigator navigator(edges);
    EXPECT_EQ(GridCellId(2, 2), navigator.Move(GridCellId(3, 3), GridMove::CtrlHome).next);
    EXPECT_EQ(GridCellId(3, 3), navigator.Move(GridCellId(2, 2), GridMove::CtrlEnd).next);
    EXPECT_EQ(GridCellId(2, 3), navigator.Move(GridCellId(2, 2), GridMove::End).next);

    // Every non-fixed column but the focus one hidden: End must not land on a hidden column.
    const CGridLayout hidden = MakeLayout({10, 10, 10}, {10, 10, 0, 0, 0});
    EXPECT_EQ(GridCellId(1, 1), CGridNavigator(hidden).Move(GridCellId(1, 1), GridMove::End).next);
    const CGridLayout allHidden = MakeLayout({10, 10}, {10, 0, 0});
    EXPECT_EQ(GridCellId(1, 1), CGridNavigator(allHidden).Move(GridCellId(1, 1), GridMove::End).next);
}
