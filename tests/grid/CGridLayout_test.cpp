// Cell geometry of a grid with one fixed row and column: origins, hit tests, the shown
// range and the scroll-bar plan.
#include "grid/CGridLayout.h"

#include <gtest/gtest.h>

namespace {

// Row heights 20 (fixed), 10, 10, 10, 10; column widths 30 (fixed), 40, 0, 40, 40.
CGridLayout MakeLayout() {
    CGridLayout layout;
    const int heights[] = {20, 10, 10, 10, 10};
    const int widths[] = {30, 40, 0, 40, 40};
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

TEST(CGridLayout, CellOriginFollowsScrollingAndHidesScrolledCells) {
    const CGridLayout layout = MakeLayout();
    const GridCellId scrolled(2, 3);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(layout.GetCellOrigin(0, 0, scrolled, &x, &y));
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    ASSERT_TRUE(layout.GetCellOrigin(3, 4, scrolled, &x, &y));
    EXPECT_EQ(70, x);
    EXPECT_EQ(30, y);
    ASSERT_TRUE(layout.GetCellOrigin(0, 3, scrolled, &x, &y));
    EXPECT_EQ(30, x);
    EXPECT_EQ(0, y);
    EXPECT_FALSE(layout.GetCellOrigin(1, 3, scrolled, &x, &y));
    EXPECT_FALSE(layout.GetCellOrigin(2, 1, scrolled, &x, &y));
    EXPECT_FALSE(layout.GetCellOrigin(5, 1, scrolled, &x, &y));
}

TEST(CGridLayout, CellFromPointSkipsHiddenColumnsAndHonoursFixedCells) {
    const CGridLayout layout = MakeLayout();
    const GridCellId topLeft(1, 1);

    struct Case {
        int x, y;
        bool allowFixed;
        GridCellId expected;
    };

    const Case cases[] = {
        {5, 5, true, {0, 0}},       {5, 5, false, {-1, -1}},  {30, 20, false, {1, 1}},
        {69, 29, false, {1, 1}},    {70, 30, false, {2, 3}},  {149, 59, false, {4, 4}},
        {150, 60, false, {-1, -1}}, {29, 25, false, {1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        const GridCellId cell = layout.CellFromPoint(c.x, c.y, topLeft, c.allowFixed);
        EXPECT_EQ(c.expected.row, cell.row);
        EXPECT_EQ(c.expected.col, cell.col);
    }
}

TEST(CGridLayout, VisibleRangeLeavesOutCutCellsWhenUnobstructed) {
    const CGridLayout layout = MakeLayout();
    int right = 0;
    int bottom = 0;
    const GridCellRange partly = layout.GetVisibleRange(GridCellId(1, 1), 100, 45, false, &right, &bottom);
    EXPECT_EQ(GridCellRange(1, 1, 3, 3), partly);
    EXPECT_EQ(100, right);
    EXPECT_EQ(45, bottom);
    EXPECT_EQ(GridCellRange(1, 1, 2, 2),
              layout.GetVisibleRange(GridCellId(1, 1), 100, 45, true, nullptr, nullptr));
    const GridCellRange wide = layout.GetVisibleRange(GridCellId(1, 1), 500, 500, false, &right, &bottom);
    EXPECT_EQ(GridCellRange(1, 1, 4, 4), wide);
    EXPECT_EQ(150, right);
    EXPECT_EQ(60, bottom);
}

TEST(CGridLayout, ScrollPlanDecidesVerticalFirst) {
    const CGridLayout layout = MakeLayout();  // virtual size 150 x 60, fixed 30 x 20

    struct Case {
        const char* name;
        GridClientMetrics client;
        GridScrollPlan expected;
    };

    const Case cases[] = {
        {"everything fits", {150, 60, 16, 16}, {false, false, 0, 0, 0, 0}},
        {"too short: the vertical bar narrows the width, so both show",
         {150, 50, 16, 16},
         {true, true, 119, 39, 134, 34}},
        {"only too narrow", {100, 100, 16, 16}, {true, false, 119, 0, 100, 0}},
        {"fixed part fills the client", {30, 100, 16, 16}, {false, false, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GridScrollPlan plan = layout.PlanScrollBars(c.client);
        EXPECT_EQ(c.expected.showHorz, plan.showHorz);
        EXPECT_EQ(c.expected.showVert, plan.showVert);
        EXPECT_EQ(c.expected.horzMax, plan.horzMax);
        EXPECT_EQ(c.expected.vertMax, plan.vertMax);
        EXPECT_EQ(c.expected.horzPage, plan.horzPage);
        EXPECT_EQ(c.expected.vertPage, plan.vertPage);
    }
}
