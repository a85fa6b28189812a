// The children arrays of nodes: items keep their order and values through growth,
// from the heap and from an arena alike, and each is destroyed once (the sanitizers
// report a leak or a double free).
#include "expr/NodeList.h"

#include "expr/NodeArena.h"
#include "expr/NodeArenaScope.h"

#include <memory>

#include <gtest/gtest.h>

namespace {

using ExprEval::NodeArena;
using ExprEval::NodeArenaScope;
using ExprEval::NodeList;

void FillAndCheck(std::size_t reserved, int count) {
    NodeList<std::unique_ptr<int>> list;
    list.Reserve(reserved);
    for (int i = 0; i < count; ++i) {
        list.Add(std::make_unique<int>(i));
    }
    ASSERT_EQ(list.Size(), static_cast<std::size_t>(count));
    int expected = 0;
    for (const std::unique_ptr<int>& item : list) {
        EXPECT_EQ(*item, expected++);
    }
    EXPECT_EQ(*list[static_cast<std::size_t>(count) - 1], count - 1);
}

TEST(NodeList, KeepsItemsInOrderThroughGrowthFromTheHeapAndFromAnArena) {
    struct Row {
        std::size_t reserved;
        int count;
    };

    const Row rows[] = {{0, 1}, {0, 4}, {0, 5}, {0, 100}, {3, 3}, {3, 4}, {3, 50}, {64, 64}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        FillAndCheck(row.reserved, row.count);
        NodeArena arena;
        {
            const NodeArenaScope scope(arena);
            FillAndCheck(row.reserved, row.count);
        }
        arena.Release();
    }
}

TEST(NodeList, ReservingLessThanItHoldsKeepsEveryItem) {
    NodeList<double*> list;
    double values[6] = {1, 2, 3, 4, 5, 6};
    for (double& value : values) {
        list.Add(&value);
    }
    list.Reserve(2);
    list.Reserve(6);
    ASSERT_EQ(list.Size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(list[i], &values[i]);
    }
}

}  // namespace
