// The marks around the header texts of the lists the pages sort themselves.
#include "diag/TableSortKey.h"

#include <gtest/gtest.h>

TEST(TableSortKey, MarksOnlyTheSortedColumnByItsDirection) {
    constexpr char kAscending = static_cast<char>(0xBB);
    constexpr char kDescending = static_cast<char>(0xAB);

    struct Case {
        int sortKey;
        int column;
        char mark;
    };

    const Case cases[] = {
        {1, 0, kAscending},   {1, 1, ' '}, {-1, 0, kDescending}, {-1, 1, ' '}, {3, 2, kAscending},
        {-3, 2, kDescending}, {3, 3, ' '}, {-3, 1, ' '},         {0, 0, ' '},  {0, 1, ' '},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(::testing::Message() << row.sortKey << " column " << row.column);
        EXPECT_EQ(row.mark, SortMark(row.sortKey, row.column));
    }
}

TEST(TableSortKey, MarksFollowTheHeaderClicks) {
    int key = 1;
    key = NextSortKey(key, 2);
    EXPECT_EQ(SortMark(key, 2), static_cast<char>(0xBB));
    key = NextSortKey(key, 2);
    EXPECT_EQ(SortMark(key, 2), static_cast<char>(0xAB));
    EXPECT_EQ(SortMark(key, 0), ' ');
    key = NextSortKey(key, 2);
    EXPECT_EQ(SortMark(key, 2), static_cast<char>(0xBB));
}
