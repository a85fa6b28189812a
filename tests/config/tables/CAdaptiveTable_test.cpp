// The adaptive table's element layout in both cell orders, refused data, and the unit's row
// answers.
#include "config/CAdaptiveTable.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

void PutAxis(Bytes& bytes, const std::vector<int>& axis) {
    bytes.push_back(static_cast<BYTE>(axis.size()));
    for (const int value : axis) {
        bytes.push_back(static_cast<BYTE>(value & 0xFF));
        bytes.push_back(static_cast<BYTE>(value >> 8));
    }
}

// Two rpm values and three times: fewer columns than rows, so cells go column by column.
Bytes ColumnOrdered() {
    Bytes bytes;
    PutAxis(bytes, {1000, 2000});
    PutAxis(bytes, {1500, 3000, 6000});
    for (const int cell : {1, 2, 3, -1, -2, -3}) {
        bytes.push_back(static_cast<BYTE>(cell));
    }
    return bytes;
}

// Three rpm values and two times: cells go row by row.
Bytes RowOrdered() {
    Bytes bytes;
    PutAxis(bytes, {800, 1600, 3200});
    PutAxis(bytes, {2000, 4000});
    for (const int cell : {10, 11, 12, -20, -21, -128}) {
        bytes.push_back(static_cast<BYTE>(cell));
    }
    return bytes;
}

struct LayoutCase {
    Bytes bytes;
    int rows;
    int columns;
    std::vector<int> cellsByRow;
};

TEST(AdaptiveTableTest, DecodesBothCellOrdersAndEncodesThemBack) {
    const LayoutCase cases[] = {
        {ColumnOrdered(), 3, 2, {1, -1, 2, -2, 3, -3}},
        {RowOrdered(), 2, 3, {10, 11, 12, -20, -21, -128}},
    };
    for (const LayoutCase& c : cases) {
        CAdaptiveTable table;
        ASSERT_TRUE(table.Decode(c.bytes.data(), c.bytes.size()));
        ASSERT_EQ(c.rows, table.GetRowCount());
        ASSERT_EQ(c.columns, table.GetColumnCount());
        std::vector<int> cells;
        for (int row = 0; row < c.rows; ++row) {
            for (int column = 0; column < c.columns; ++column) {
                cells.push_back(table.GetCell(row, column));
            }
        }
        EXPECT_EQ(c.cellsByRow, cells);
        Bytes encoded(c.bytes.size() + 4, 0xEE);
        EXPECT_EQ(c.bytes.size(), table.Encode(encoded.data(), encoded.size()));
        encoded.resize(c.bytes.size());
        EXPECT_EQ(c.bytes, encoded);
        EXPECT_EQ(0u, table.Encode(encoded.data(), encoded.size() - 1));
    }
    CAdaptiveTable table;
    ASSERT_TRUE(table.Decode(ColumnOrdered().data(), ColumnOrdered().size()));
    EXPECT_EQ(2000, table.GetRpm(1));
    EXPECT_EQ(6000, table.GetTimeUs(2));
}

TEST(AdaptiveTableTest, RefusesShortOrOversizedData) {
    Bytes tooManyColumns = {33};
    tooManyColumns.resize(200, 0);
    Bytes tooManyRows;
    PutAxis(tooManyRows, {1000});
    tooManyRows.push_back(40);
    tooManyRows.resize(300, 0);
    const Bytes full = ColumnOrdered();
    const Bytes cases[] = {
        {},
        tooManyColumns,
        tooManyRows,
        Bytes(full.begin(), full.end() - 1),
        Bytes(full.begin(), full.begin() + 4),
    };
    for (const Bytes& bytes : cases) {
        CAdaptiveTable table;
        ASSERT_TRUE(table.Decode(full.data(), full.size()));
        EXPECT_FALSE(table.Decode(bytes.data(), bytes.size())) << bytes.size();
        EXPECT_TRUE(table.IsEmpty());
    }
    CAdaptiveTable empty;
    const Bytes none = {0, 0};
    EXPECT_TRUE(empty.Decode(none.data(), none.size()));
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(AdaptiveTableTest, RowAnswersReplaceTheNamedRow) {
    CAdaptiveTable table;
    const Bytes bytes = RowOrdered();
    ASSERT_TRUE(table.Decode(bytes.data(), bytes.size()));
    const BYTE answer[] = {1, 5, 0xFB, 0x7F};
    EXPECT_EQ(1, table.StoreRowAnswer(answer, sizeof(answer)));
    EXPECT_EQ(5, table.GetCell(1, 0));
    EXPECT_EQ(-5, table.GetCell(1, 1));
    EXPECT_EQ(127, table.GetCell(1, 2));
    EXPECT_EQ(10, table.GetCell(0, 0));

    const BYTE pastTheRows[] = {2, 1, 1, 1};
    EXPECT_EQ(-1, table.StoreRowAnswer(pastTheRows, sizeof(pastTheRows)));
    EXPECT_EQ(-1, table.StoreRowAnswer(answer, 3)) << "fewer cells than columns";
    CAdaptiveTable empty;
    EXPECT_EQ(-1, empty.StoreRowAnswer(answer, sizeof(answer)));
}

}  // namespace
