// The table of the multi-column tooltip: cells and codes from its text, column and row
// sizes, where each cell's text goes, and where the tip itself goes.
#include "forms/TableTipCells.h"

#include "forms/TableTipPlacement.h"

#include <gtest/gtest.h>

namespace {

constexpr int kCharWidth = 6;
constexpr int kLineHeight = 10;

// Six pixels a character, ten a line; an empty text has no size.
TableTipExtent Measure(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    return {kCharWidth * static_cast<int>(text.size()), kLineHeight};
}

TableTipCells LaidOut(const std::string& text,
                      const TableTipMargins& cell = {},
                      const std::vector<std::string>& templates = {},
                      const TableTipMargins& control = {}) {
    TableTipCells table;
    table.SetText(text);
    table.Layout(cell, templates, control, Measure);
    return table;
}

}  // namespace

TEST(TableTipCells, SplitsRowsAndCellsWithAMarkerAfterEachRow) {
    TableTipCells table;
    table.SetText("a\tb\nc");
    EXPECT_EQ((std::vector<std::string>{"a", "b", "\n", "c", "\n"}), table.Cells());
    EXPECT_EQ(2, table.WidestRowCells());
    EXPECT_EQ(2, table.RowCount());
    table.SetText("");
    EXPECT_EQ((std::vector<std::string>{"", "\n"}), table.Cells());
    EXPECT_EQ(1, table.WidestRowCells());
    EXPECT_EQ(1, table.RowCount());
}

TEST(TableTipCells, TakesTheAlignmentCodeOffTheCell) {
    struct CodeCase {
        const char* cell;
        const char* shown;
        uint8_t alignment;
    };

    const CodeCase cases[] = {
        {"plain", "plain", 0},
        {"\\rbText", "Text", TableTipCells::kAlignRight | TableTipCells::kAlignBottom},
        {"\\ltText", "Text", TableTipCells::kAlignLeft | TableTipCells::kAlignTop},
        {"\\xxText", "Text", 0},
        {"\\\\rbText", "\\rbText", 0},
        {"\\lt", "", TableTipCells::kAlignLeft | TableTipCells::kAlignTop},
        {"\\r", "", TableTipCells::kAlignRight},
        {"\\", "", 0},
    };
    for (const CodeCase& c : cases) {
        uint8_t alignment = 0xFF;
        EXPECT_EQ(c.shown, TableTipCells::ShownText(c.cell, &alignment)) << c.cell;
        EXPECT_EQ(c.alignment, alignment) << c.cell;
    }
}

TEST(TableTipCells, SizesColumnsByTheirWidestCellAndRowsByTheirTallest) {
    const TableTipMargins cell = {1, 2, 3, 4};
    const TableTipMargins control = {5, 6, 7, 8};
    const TableTipCells table = LaidOut("ab\tcdef\ng", cell, {}, control);
    EXPECT_EQ(2, table.Rows());
    EXPECT_EQ(2, table.Columns());
    // The second column only has the first row's second cell.
    EXPECT_EQ((std::vector<unsigned>{12 + 4, 24 + 4}), table.ColumnWidths());
    EXPECT_EQ((std::vector<unsigned>{10 + 6, 10 + 6}), table.RowHeights());
    EXPECT_EQ(16 + 28 + 5 + 7, table.TipWidth());
    EXPECT_EQ(32 + 6 + 8, table.TipHeight());
    EXPECT_EQ(0, table.CellExtent(1, 1).width);
}

TEST(TableTipCells, TemplatesFixTheColumnWidthsWhateverTheCells) {
    const TableTipMargins cell = {2, 0, 2, 0};
    const TableTipCells table = LaidOut("a\tmuch wider text\tignored", cell, {"WW", "W"});
    EXPECT_EQ(2, table.Columns());
    EXPECT_EQ((std::vector<unsigned>{12 + 4, 6 + 4}), table.ColumnWidths());
    // A wider text keeps its own extent (it is drawn without clipping).
    EXPECT_EQ(15 * kCharWidth, table.CellExtent(1, 0).width);
}

TEST(TableTipCells, EmptyTextAndCodeOnlyCellsTakeNoRoom) {
    // An empty cell adds no margins either.
    EXPECT_EQ(0, LaidOut("", {2, 0, 2, 0}).TipWidth());
    const TableTipCells table = LaidOut("\\r\tx");
    EXPECT_EQ(0u, table.ColumnWidths()[0]);
    EXPECT_EQ(static_cast<unsigned>(kCharWidth), table.ColumnWidths()[1]);
}

TEST(TableTipCells, PlacesEachCellTextByItsAlignment) {
    const TableTipMargins cell = {1, 2, 3, 4};
    // Column 0 is 40 + 4 wide, row 0 is 10 + 6 high; the short texts are 6 wide.
    const TableTipCells table =
        LaidOut("\\lta\t\\rbb\t\\xxc\n" + std::string(40 / kCharWidth + 1, 'w'), cell);
    const int width = static_cast<int>(table.ColumnWidths()[0]);
    ASSERT_EQ(42 + 4, width);
    const TableTipPoint topLeft = table.TextOrigin(0, 0, 100, 200, cell);
    EXPECT_EQ(101, topLeft.x);
    EXPECT_EQ(202, topLeft.y);
    const TableTipPoint bottomRight = table.TextOrigin(1, 0, 100, 200, cell);
    EXPECT_EQ(100 + 10 - 3 - 6, bottomRight.x);
    EXPECT_EQ(200 + 16 - 4 - 10, bottomRight.y);
    const TableTipPoint centred = table.TextOrigin(2, 0, 100, 200, cell);
    EXPECT_EQ(100 + (10 - 6) / 2, centred.x);
    EXPECT_EQ(200 + (16 - 10) / 2, centred.y);
}

TEST(TableTipPlacement, PutsTheTipBelowTheCursorInsideTheWorkArea) {
    const TableTipRect work = {0, 0, 1024, 768};

    struct CursorCase {
        const char* what;
        TableTipPoint cursor;
        TableTipPoint expected;
    };

    const CursorCase cases[] = {
        {"room enough", {100, 100}, {100, 132}},
        {"past the right edge", {1000, 100}, {1024 - 80, 132}},
        {"past the bottom", {100, 740}, {100, 768 - 40}},
        {"left of the area", {-20, 100}, {0, 132}},
    };
    for (const CursorCase& c : cases) {
        TableTipPlacementInput input;
        input.cursor = c.cursor;
        input.cursorHeight = 32;
        input.workArea = work;
        input.width = 80;
        input.height = 40;
        const TableTipPoint corner = PlaceTableTip(input);
        EXPECT_EQ(c.expected.x, corner.x) << c.what;
        EXPECT_EQ(c.expected.y, corner.y) << c.what;
    }
}

TEST(TableTipPlacement, PutsTheTipAroundTheWindowUnderTheCursor) {
    const TableTipRect window = {200, 300, 400, 350};
    const TableTipPoint expected[] = {{120, 260}, {400, 260}, {120, 350}, {400, 350}};
    TableTipPlacementInput input;
    input.cursor = {250, 320};
    input.cursorHeight = 32;
    input.workArea = {0, 0, 1024, 768};
    input.width = 80;
    input.height = 40;
    input.window = &window;
    for (int mode = 1; mode <= 4; ++mode) {
        input.mode = mode;
        const TableTipPoint corner = PlaceTableTip(input);
        EXPECT_EQ(expected[mode - 1].x, corner.x) << mode;
        EXPECT_EQ(expected[mode - 1].y, corner.y) << mode;
    }
    // With no window under the cursor the tip goes to the cursor.
    input.window = nullptr;
    const TableTipPoint corner = PlaceTableTip(input);
    EXPECT_EQ(250, corner.x);
    EXPECT_EQ(352, corner.y);
}
