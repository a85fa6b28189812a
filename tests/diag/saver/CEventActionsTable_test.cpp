// The event actions' rows: their elements and names, the action bytes and texts, and the
// orders that header clicks choose.
#include "diag/CEventActionsTable.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(EventActionsTable, MapsActionBytesAndTexts) {
    const struct {
        BYTE byte;
        const char* text;
        BYTE written;
    } cases[] = {
        {0x55, "Change back to petrol mode", 0x55},
        {0xAA, "Ban gas mode", 0xAA},
        {0x00, "Nothing to do", 0x00},
        {0x01, "Nothing to do", 0x00},
        {0xFF, "Nothing to do", 0x00},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte);
        EXPECT_STREQ(CEventActionsTable::ActionText(c.byte), c.text);
        EXPECT_EQ(CEventActionsTable::ActionOfText(c.text), c.written);
    }
    EXPECT_EQ(CEventActionsTable::ActionOfText("Ban gas"), 0x00);
}

TEST(EventActionsTable, HoldsTheNineteenEventsWithTheirElements) {
    const CEventActionsTable table;
    EXPECT_EQ(CEventActionsTable::Elements(),
              (std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 52, 53}));
    EXPECT_STREQ(table.GetRow(0).name, "No petrol injection signal");
    EXPECT_STREQ(table.GetRow(2).name, "Gas injection valve broken wire");
    EXPECT_STREQ(table.GetRow(18).name, "Gas press sensor broken wire");
    EXPECT_EQ(table.FindRow(52), 17);
    EXPECT_EQ(table.FindRow(26), -1);
    EXPECT_EQ(table.FindRow(8), -1);
}

TEST(EventActionsTable, HeaderClicksToggleTheOrder) {
    CEventActionsTable table;
    table.SetAction(3, 0xAA);   // Ban gas mode
    table.SetAction(5, 0x55);   // Change back to petrol mode
    table.SetAction(18, 0x55);  // Change back to petrol mode
    ASSERT_EQ(table.GetSortKey(), 1);
    EXPECT_EQ(table.Order().front(), 0);

    table.ClickHeader(0);
    EXPECT_EQ(table.GetSortKey(), -1);
    EXPECT_EQ(table.Order().front(), 18);
    EXPECT_EQ(table.Order().back(), 0);

    table.ClickHeader(2);
    EXPECT_EQ(table.GetSortKey(), 3);
    std::vector<int> order = table.Order();
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 3), (std::vector<int>{3, 5, 18}));

    table.ClickHeader(2);
    EXPECT_EQ(table.GetSortKey(), -3);
    order = table.Order();
    EXPECT_EQ(std::string(CEventActionsTable::ActionText(table.GetRow(order.front()).action)),
              "Nothing to do");
    EXPECT_EQ(std::vector<int>(order.end() - 3, order.end()), (std::vector<int>{5, 18, 3}));

    table.ClickHeader(1);
    EXPECT_EQ(table.GetSortKey(), 2);
    order = table.Order();
    EXPECT_STREQ(table.GetRow(order.front()).name, "Attendant lever not connected");
    EXPECT_STREQ(table.GetRow(order.back()).name, "Tank valve short circuit");
}

}  // namespace
