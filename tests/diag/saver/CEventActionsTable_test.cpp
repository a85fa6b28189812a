// The event actions' rows: their elements and names, the action bytes and texts, and the
// orders that header clicks choose.
#include "diag/CEventActionsTable.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The program's English texts of the ids the table asks for.
CString English(UINT id) {
    static const std::map<UINT, const char*> texts = {
        {15330, "Self test (memory)"},
        {15331, "Possible external influence (COP reset)"},
        {15332, "Low gas pressure"},
        {15333, "High gas pressure"},
        {15334, "Tank valve short circuit"},
        {15335, "Tank valve broken wire"},
        {15336, "Gas vaporizer valve short circuit"},
        {15337, "Gas vaporizer valve broken wire"},
        {15338, "Engine temperature sensor short circuit"},
        {15339, "Engine temperature sensor broken wire"},
        {15340, "Critical temperature fall"},
        {15341, "Battery low"},
        {15342, "Attendant lever not connected"},
        {15343, "Gas press sensor short circuit"},
        {15344, "Gas press sensor broken wire"},
        {15345, "Low gas pressure at change"},
        {15346, "No petrol injection signal%s"},
        {15347, "Gas injection valve short circuit%s"},
        {15348, "Gas injection valve broken wire%s"},
        {15223, "Nothing to do"},
        {15224, "Change back to petrol mode"},
        {15230, "Ban gas mode"},
    };
    const auto found = texts.find(id);
    return found != texts.end() ? found->second : "???";
}

CEventActionsTable EnglishTable() {
    CEventActionsTable table;
    table.LoadTexts(English);
    return table;
}

TEST(EventActionsTable, MapsActionBytesAndTexts) {
    const CEventActionsTable table = EnglishTable();
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
        EXPECT_STREQ(table.ActionText(c.byte), c.text);
        EXPECT_EQ(table.ActionOfText(c.text), c.written);
    }
    EXPECT_EQ(table.ActionOfText("Ban gas"), 0x00);
}

// Another language renames the events and the actions, and the chosen texts are read in it.
TEST(EventActionsTable, TakesItsTextsFromTheLanguage) {
    CEventActionsTable table = EnglishTable();
    table.SetAction(4, 0xAA);
    table.LoadTexts([](UINT id) {
        CString text;
        text.Format("text %u", id);
        return text;
    });
    EXPECT_STREQ(table.GetRow(0).name, "text 15346");
    EXPECT_STREQ(table.GetRow(4).name, "text 15330");
    EXPECT_STREQ(table.ActionText(table.GetRow(4).action), "text 15230");
    EXPECT_EQ(table.ActionTexts(), (std::vector<CString>{"text 15223", "text 15224", "text 15230"}));
    EXPECT_EQ(table.ActionOfText("text 15224"), 0x55);
    EXPECT_EQ(table.ActionOfText("Ban gas mode"), 0x00);
}

TEST(EventActionsTable, HoldsTheNineteenEventsWithTheirElements) {
    const CEventActionsTable table = EnglishTable();
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
    CEventActionsTable table = EnglishTable();
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
    EXPECT_EQ(std::string(table.ActionText(table.GetRow(order.front()).action)),
              "Nothing to do");
    EXPECT_EQ(std::vector<int>(order.end() - 3, order.end()), (std::vector<int>{5, 18, 3}));

    table.ClickHeader(1);
    EXPECT_EQ(table.GetSortKey(), 2);
    order = table.Order();
    EXPECT_STREQ(table.GetRow(order.front()).name, "Attendant lever not connected");
    EXPECT_STREQ(table.GetRow(order.back()).name, "Tank valve short circuit");
}

}  // namespace
