// Check-box placement, twin-cell halves and separator colour, combo list width.
#include "grid/GridCellShapes.h"

#include <gtest/gtest.h>

TEST(GridCellShapes, CheckBoxSitsInsideTheMarginsOrCentresInALowCell) {
    struct Case {
        const char* name;
        int top;
        int height;
        int expectedTop;
    };

    // Box side 17, margin 4: a rectangle lower than 25 centres the box.
    const Case cases[] = {
        {"tall enough", 100, 30, 104},
        {"exactly box plus margins", 100, 25, 104},
        {"one pixel short centres", 100, 24, 103},
        {"lower than the box centres above the top", 100, 13, 98},
    };
    for (const Case& c : cases) {
        const GridBoxOrigin origin = PlaceCheckBox(50, c.top, c.height, 17, 4);
        EXPECT_EQ(54, origin.left) << c.name;
        EXPECT_EQ(c.expectedTop, origin.top) << c.name;
    }
}

TEST(GridCellShapes, TwinHalvesLeaveTheMiddleColumnOfAnOddWidthToNeither) {
    const GridTwinHalves even = SplitTwinCell(10, 30);
    EXPECT_EQ(20, even.leftEnd);
    EXPECT_EQ(20, even.rightStart);
    const GridTwinHalves odd = SplitTwinCell(10, 31);
    EXPECT_EQ(20, odd.leftEnd);
    EXPECT_EQ(21, odd.rightStart);
}

TEST(GridCellShapes, TwinSeparatorAveragesBothBacksThenTheLineColourPerChannel) {
    // Red channel: (255 + 0) / 2 = 127, (127 + 192) / 2 = 159; green: (0 + 255) / 2 = 127,
    // (127 + 192) / 2 = 159; blue: (1 + 2) / 2 = 1, (1 + 192) / 2 = 96.
    EXPECT_EQ(0x609F9Fu, TwinSeparatorColour(0x0100FFu, 0x02FF00u, 0xC0C0C0u));
    // Equal colours give themselves back.
    EXPECT_EQ(0xC0C0C0u, TwinSeparatorColour(0xC0C0C0u, 0xC0C0C0u, 0xC0C0C0u));
}

TEST(GridCellShapes, ComboListIsNeverWiderThan200Pixels) {
    EXPECT_EQ(100, ComboDroppedWidth(75, 17, 8));
    EXPECT_EQ(200, ComboDroppedWidth(175, 17, 8));
    EXPECT_EQ(200, ComboDroppedWidth(190, 17, 8));
}

TEST(GridCellShapes, ALinkPrefixCountsAnywhereAndOnlyInItsOwnCase) {
    EXPECT_TRUE(GridTextHasLink("see www.example.org"));
    EXPECT_TRUE(GridTextHasLink("xhttp:y"));
    EXPECT_TRUE(GridTextHasLink("ftp.host"));
    EXPECT_FALSE(GridTextHasLink("WWW.EXAMPLE.ORG"));
    EXPECT_FALSE(GridTextHasLink("plain text"));
    EXPECT_FALSE(GridTextHasLink(nullptr));
}

TEST(GridCellShapes, TheLinkWordIsFoundUnderThePointForEachAlignment) {
    // "go www.a.b" is 10 characters over 100 pixels: 10 pixels a character. Cells are
    // [200, 400).
    const char* text = "go www.a.b";

    struct Case {
        const char* name;
        unsigned format;
        int x;
        bool link;
        const char* word;
    };

    const Case cases[] = {
        {"left: first word", 0, 15, false, "go"},          {"left: the link word", 0, 55, true, "www.a.b"},
        {"left: beyond the text", 0, 150, false, ""},      {"right: left of the text", 2, 50, false, ""},
        {"right: on the link", 2, 160, true, "www.a.b"},   {"right: on the first word", 2, 105, false, "go"},
        {"centred: left of the text", 1, 40, false, ""},   {"centred: right of the text", 1, 160, false, ""},
        {"centred: on the link", 1, 110, true, "www.a.b"},
    };
    for (const Case& c : cases) {
        CString word;
        EXPECT_EQ(c.link, GridLinkWordAt(text, c.format, 100, 200, 400, c.x, word)) << c.name;
        if (c.word[0] != '\0') {
            EXPECT_STREQ(c.word, word.GetString()) << c.name;
        }
    }
}
