// Sizes along one direction of the grid: stretching, line steps and lookups by position.
#include "grid/CGridAxis.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

CGridAxis MakeAxis(const std::vector<int>& sizes, int fixedCount) {
    CGridAxis axis;
    for (int size : sizes) {
        axis.Insert(axis.GetCount(), size);
    }
    axis.SetFixedCount(fixedCount);
    return axis;
}

std::vector<int> SizesOf(const CGridAxis& axis) {
    std::vector<int> sizes;
    for (int i = 0; i < axis.GetCount(); ++i) {
        sizes.push_back(axis.GetSize(i));
    }
    return sizes;
}

}  // namespace

TEST(CGridAxis, StretchSpreadsTheDifferenceAndItsRemainder) {
    struct Case {
        const char* name;
        std::vector<int> sizes;
        int fixed;
        bool includeFixed;
        int client;
        std::vector<int> expected;
    };

    const Case cases[] = {
        {"seven pixels over three columns", {10, 10, 10}, 0, true, 37, {13, 12, 12}},
        {"shrinks with truncation toward zero", {20, 20, 20}, 0, true, 53, {17, 18, 18}},
        {"fixed column left alone", {30, 10, 10}, 1, false, 55, {30, 13, 12}},
        {"hidden column keeps size and its pixel", {10, 0, 10, 10}, 0, true, 35, {12, 0, 11, 11}},
        {"a shrunk column keeps one pixel", {2, 2, 50}, 0, true, 10, {1, 1, 36}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGridAxis axis = MakeAxis(c.sizes, c.fixed);
        EXPECT_TRUE(axis.Stretch(c.client, c.includeFixed));
        EXPECT_EQ(c.expected, SizesOf(axis));
    }
}

TEST(CGridAxis, StretchNeedsAShownEntryToStretch) {
    CGridAxis allFixed = MakeAxis({10, 10}, 2);
    EXPECT_FALSE(allFixed.Stretch(100, false));
    CGridAxis allHidden = MakeAxis({10, 0, 0}, 1);
    EXPECT_FALSE(allHidden.Stretch(100, false));
    EXPECT_EQ((std::vector<int>{10, 0, 0}), SizesOf(allHidden));
}

TEST(CGridAxis, StretchLastGrowsTheLastShownEntryOnly) {
    CGridAxis axis = MakeAxis({10, 10, 0}, 0);
    EXPECT_TRUE(axis.StretchLast(50));
    EXPECT_EQ((std::vector<int>{10, 40, 0}), SizesOf(axis));
    EXPECT_TRUE(axis.StretchLast(20));
    EXPECT_EQ((std::vector<int>{10, 40, 0}), SizesOf(axis));

    CGridAxis onlyFirst = MakeAxis({10, 0}, 0);
    EXPECT_FALSE(onlyFirst.StretchLast(50));
    EXPECT_EQ((std::vector<int>{10, 0}), SizesOf(onlyFirst));
}

TEST(CGridAxis, RejectsNegativeSizesAndInvalidIndices) {
    CGridAxis axis = MakeAxis({10, 20}, 0);
    EXPECT_FALSE(axis.SetSize(0, -1));
    EXPECT_EQ(10, axis.GetSize(0));
    EXPECT_FALSE(axis.SetSize(2, 5));
    EXPECT_EQ(-1, axis.GetSize(2));
    EXPECT_EQ(-1, axis.GetSize(-1));
}

TEST(CGridAxis, LineStepsSkipHiddenEntriesAndStopAtTheFixedPart) {
    CGridAxis axis = MakeAxis({15, 0, 20, 0, 30}, 1);
    EXPECT_EQ(20, axis.LineStepForward(1));
    EXPECT_EQ(30, axis.LineStepForward(3));
    EXPECT_EQ(20, axis.LineStepBack(4));
    EXPECT_EQ(0, axis.LineStepBack(2));
    EXPECT_EQ(0, axis.LineStepBack(1));
}

TEST(CGridAxis, FirstAtScrollPosPassesWholeEntriesButNeverTheLast) {
    CGridAxis axis = MakeAxis({5, 10, 10, 10}, 1);
    EXPECT_EQ(1, axis.FirstAtScrollPos(0));
    EXPECT_EQ(2, axis.FirstAtScrollPos(1));
    EXPECT_EQ(2, axis.FirstAtScrollPos(10));
    EXPECT_EQ(3, axis.FirstAtScrollPos(11));
    EXPECT_EQ(3, axis.FirstAtScrollPos(1000));
}

TEST(CGridAxis, IndexAtMapsPositionsInBothParts) {
    CGridAxis axis = MakeAxis({10, 20, 30, 40}, 1);

    struct Case {
        int position;
        int first;
        bool allowFixed;
        int expected;
    };

    const Case cases[] = {
        {-1, 1, true, -1}, {0, 1, true, 0},  {9, 1, true, 0},   {9, 1, false, -1},
        {10, 1, true, 1},  {29, 1, true, 1}, {30, 1, true, 2},  {10, 2, true, 2},
        {39, 2, true, 2},  {40, 2, true, 3}, {79, 2, false, 3}, {80, 2, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(c.expected, axis.IndexAt(c.position, c.first, c.allowFixed));
    }
}

TEST(CGridAxis, ErasingAFixedEntryShrinksTheFixedPart) {
    CGridAxis axis = MakeAxis({1, 2, 3}, 2);
    axis.Erase(0);
    EXPECT_EQ(1, axis.GetFixedCount());
    axis.Erase(1);
    EXPECT_EQ(1, axis.GetFixedCount());
    EXPECT_EQ((std::vector<int>{2}), SizesOf(axis));
}
