// The enlarged file dialogs' arithmetic: growth toward the middle of the main window, by
// the columns' missing width beyond it, never shrinking, and the name column's width.
#include "shell/CFileDialogExtLayout.h"

#include <gtest/gtest.h>

namespace {

using Box = CFileDialogExtLayout::Box;

constexpr int kScrollBar = 16;

}  // namespace

TEST(CFileDialogExtLayout, TargetIsTheMiddleOfTheMainWindow) {
    EXPECT_EQ((Box{150, 150, 750, 450}), CFileDialogExtLayout::Target(Box{0, 0, 900, 600}));
    // Integer sixths and quarters of an offset window.
    EXPECT_EQ((Box{122, 75, 211, 125}), CFileDialogExtLayout::Target(Box{100, 50, 233, 150}));
}

TEST(CFileDialogExtLayout, DialogGrowsTowardTheTargetOrByTheColumnsAndNeverShrinks) {
    struct Case {
        const char* name;
        Box mainWindow;
        Box dialog;
        int columns;
        int list;
        Box grown;
    };

    const Case cases[] = {
        // 600 wide target, 300 high: 50 on each side, the height stays.
        {"columns fit", {0, 0, 900, 600}, {200, 100, 700, 450}, 300, 400, {150, 100, 750, 450}},
        // The columns miss 216 pixels, more than the target's 100.
        {"columns wider than the list",
         {0, 0, 900, 600},
         {200, 100, 700, 450},
         600,
         400,
         {92, 100, 808, 450}},
        // Odd growth: the smaller half goes left and up.
        {"odd halves", {0, 0, 900, 1000}, {200, 100, 699, 599}, 100, 400, {150, 100, 750, 600}},
        {"larger than the target", {0, 0, 300, 200}, {10, 10, 510, 360}, 100, 400, {10, 10, 510, 360}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.grown, CFileDialogExtLayout::Grow(c.dialog, CFileDialogExtLayout::Target(c.mainWindow),
                                                      c.columns, c.list, kScrollBar));
    }
}

TEST(CFileDialogExtLayout, NameColumnTakesTheRoomLeftBesideTheOtherColumns) {
    // No vertical bar: room is kept for one.
    EXPECT_EQ(500 - 200 - kScrollBar, CFileDialogExtLayout::NameColumnWidth(500, 504, 200, kScrollBar));
    // A bar showing is outside the client area already.
    EXPECT_EQ(500 - 200, CFileDialogExtLayout::NameColumnWidth(500, 504 + kScrollBar, 200, kScrollBar));
}
