// The four injection tables: separate buffers per table, the cell layout the unit's blocks
// use, and refused cells and values.
#include "config/CInjectionTableSet.h"

#include <gtest/gtest.h>

namespace {

TEST(InjectionTableSetTest, EachTableKeepsItsOwnCells) {
    CInjectionTableSet tables;
    EXPECT_TRUE(tables.SetCell(0, 0, 10));
    tables.Select(2);
    EXPECT_EQ(0, tables.GetCell(0, 0));
    EXPECT_TRUE(tables.SetCell(0, 0, 30));
    EXPECT_EQ(7, tables.SelectedBlock());
    tables.Select(0);
    EXPECT_EQ(10, tables.GetCell(0, 0));
    EXPECT_EQ(5, tables.SelectedBlock());
    tables.Select(4);
    tables.Select(-1);
    EXPECT_EQ(0, tables.GetSelected());
}

TEST(InjectionTableSetTest, CellsLieRowByRowInTheBuffer) {
    CInjectionTableSet tables;
    tables.Select(1);
    ASSERT_TRUE(tables.SetCell(2, 5, 77));
    ASSERT_TRUE(tables.SetCell(15, 17, 100));
    EXPECT_EQ(77, tables.SelectedBuffer()[2 * 18 + 5]);
    EXPECT_EQ(100, tables.SelectedBuffer()[287]);
    tables.SelectedBuffer()[18] = 200;
    EXPECT_EQ(200, tables.GetCell(1, 0)) << "what the unit sent is shown unsigned";
}

struct RefusedCase {
    int row;
    int column;
    int value;
};

TEST(InjectionTableSetTest, RefusesCellsOutsideTheTableAndValuesOutsideTheRange) {
    const RefusedCase cases[] = {{0, 0, 101}, {0, 0, -1}, {16, 0, 5}, {0, 18, 5}, {-1, 0, 5}};
    for (const RefusedCase& c : cases) {
        CInjectionTableSet tables;
        EXPECT_FALSE(tables.SetCell(c.row, c.column, c.value)) << c.row << "/" << c.column << "=" << c.value;
        EXPECT_EQ(0, tables.GetCell(0, 0));
    }
    CInjectionTableSet tables;
    EXPECT_EQ(0, tables.GetCell(16, 0));
}

TEST(InjectionTableSetTest, NamesAndAxes) {
    EXPECT_STREQ("Benzin 1", CInjectionTableSet::Name(0));
    EXPECT_STREQ("Gas 2", CInjectionTableSet::Name(3));
    EXPECT_STREQ("", CInjectionTableSet::Name(4));
    EXPECT_EQ(100, CInjectionTableSet::Rpm(0));
    EXPECT_EQ(8000, CInjectionTableSet::Rpm(17));
    EXPECT_EQ(1000, CInjectionTableSet::TimeUs(0));
    EXPECT_EQ(25000, CInjectionTableSet::TimeUs(15));
}

}  // namespace
