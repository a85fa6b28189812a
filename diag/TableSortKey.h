// The sort key of a list table the page sorts itself: the sorted column + 1, negative when
// the order is descending.
#pragma once

// The key after a click on the header of column (0-based): that column ascending, or
// descending when it already was ascending.
int NextSortKey(int sortKey, int column);

// The mark around the header text of column (0-based): '\xBB' on the column sorted
// ascending, '\xAB' on the one sorted descending, a blank on every other.
char SortMark(int sortKey, int column);
