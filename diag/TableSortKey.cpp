#include "diag/TableSortKey.h"

namespace {

constexpr char kAscendingMark = static_cast<char>(0xBB);
constexpr char kDescendingMark = static_cast<char>(0xAB);

}  // namespace

int NextSortKey(int sortKey, int column) {
    const int key = column + 1;
    return sortKey == key ? -key : key;
}

char SortMark(int sortKey, int column) {
    const int sortedColumn = (sortKey < 0 ? -sortKey : sortKey) - 1;
    if (column != sortedColumn) {
        return ' ';
    }
    return sortKey < 0 ? kDescendingMark : kAscendingMark;
}
