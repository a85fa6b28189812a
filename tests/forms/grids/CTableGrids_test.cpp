// The table grids: the live operating-point marker and the checked paste.
#include "../../grid/GridTestHost.h"
#include "classlib/win/AfxMessageBox.h"
#include "forms/CLiveMarkerGridCtrl.h"
#include "forms/CPasteGridCtrl.h"
#include "link/CDataHandler.h"
#include "link/CalibrationHelpers.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const int kSpeedAxis[] = {1000, 2000, 3000, 4000};
const int kTimeAxis[] = {2000, 4000, 6000, 8000};

void BuildTable(CLiveMarkerGridCtrl& grid, GridTestHost& host) {
    ASSERT_TRUE(host.CreateGrid(grid, 300, 200));
    grid.SetRowCount(5);
    grid.SetColumnCount(5);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int i = 0; i < 5; ++i) {
        grid.SetRowHeight(i, 20);
        grid.SetColumnWidth(i, 40);
    }
}

// The marker rectangle expected for a speed and an injection time.
CRect ExpectedMarker(CGridCtrl& grid, int speed, int time) {
    int col = 0;
    int row = 0;
    double colFraction = 0.0;
    double rowFraction = 0.0;
    LocateAxisCell(speed, time, 4, 4, kSpeedAxis, kTimeAxis, &col, &colFraction, &row, &rowFraction);
    CRect cell;
    grid.GetCellRect(row + 1, col + 1, cell);
    const int x = cell.left + static_cast<int>(cell.Width() * colFraction);
    const int y = cell.top + static_cast<int>(cell.Height() * rowFraction);
    const int radius = cell.Height() >> 2;
    return CRect(x - radius, y - radius, x + radius, y + radius);
}

bool SameRect(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A table of the test axes whose marker follows a data handler's live values.
void BuildMarkerTable(CLiveMarkerGridCtrl& grid, GridTestHost& host, CDataHandler& handler) {
    BuildTable(grid, host);
    grid.SetDataHandler(&handler);
    grid.InitMarker();
    grid.SetAxes(4, kSpeedAxis, 4, kTimeAxis);
}

void WriteLive(CDataHandler& handler,
               int speed,
               const std::vector<int>& times,
               BYTE trim0,
               BYTE trim2,
               BYTE status7,
               BYTE status8) {
    BYTE speedBytes[8] = {static_cast<BYTE>(speed & 0xFF), static_cast<BYTE>(speed >> 8)};
    handler.WriteDataLocal(26, speedBytes);
    BYTE timeBytes[16] = {};
    for (size_t i = 0; i < times.size() && i < 8; ++i) {
        timeBytes[2 * i] = static_cast<BYTE>(times[i] & 0xFF);
        timeBytes[2 * i + 1] = static_cast<BYTE>(times[i] >> 8);
    }
    handler.WriteDataLocal(27, timeBytes);
    std::vector<BYTE> trims(std::max(9, handler.GetElementLength(95)));
    trims[0] = trim0;
    trims[2] = trim2;
    trims[7] = status7;
    trims[8] = status8;
    handler.WriteDataLocal(95, trims.data());
}

}  // namespace

TEST(CLiveMarkerGridCtrl, TheMarkerFollowsTheLiveValuesAndFallsBackWhenTheLinkGoes) {
    CDataHandler handler;
    GridTestHost host;
    CLiveMarkerGridCtrl grid;
    BuildMarkerTable(grid, host, handler);

    WriteLive(handler, 2500, {5000, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 0);
    grid.SendMessage(0x602);
    EXPECT_EQ(0, grid.GetMarkerRect().Width()) << "a disabled marker does not move";

    grid.EnableMarker(TRUE);
    grid.SendMessage(0x602);
    EXPECT_TRUE(SameRect(ExpectedMarker(grid, 2500, 5000), grid.GetMarkerRect()));

    // A momentary 500 keeps cylinder 1's last plausible 5000; cylinder 2's 7000 joins.
    WriteLive(handler, 2500, {500, 7000, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 0);
    grid.SendMessage(0x602);
    EXPECT_TRUE(SameRect(ExpectedMarker(grid, 2500, 6000), grid.GetMarkerRect()));

    // One trim with a single status bit counts (+20 %); one with two bits set does not.
    WriteLive(handler, 2500, {6000, 6000, 0, 0, 0, 0, 0, 0}, 50, 20, 0x01, 0x03);
    grid.SendMessage(0x602);
    EXPECT_TRUE(SameRect(ExpectedMarker(grid, 2500, 5000), grid.GetMarkerRect()));

    grid.SendMessage(0x601, 2);
    EXPECT_TRUE(SameRect(ExpectedMarker(grid, 2500, 5000), grid.GetMarkerRect()));
    grid.SendMessage(0x601, 1);
    EXPECT_TRUE(SameRect(ExpectedMarker(grid, 0, 0), grid.GetMarkerRect()));
    WriteLive(handler, 0, {0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 0);
    grid.SendMessage(0x602);
}

// A trim of -100 % or less leaves no factor to divide by: the marker shows the untrimmed time
// instead of a negative one parked in the first cell's corner.
TEST(CLiveMarkerGridCtrl, TrimsOfMinusOneHundredPercentOrLessLeaveTheTimeUntrimmed) {
    CDataHandler handler;
    GridTestHost host;
    CLiveMarkerGridCtrl grid;
    BuildMarkerTable(grid, host, handler);
    grid.EnableMarker(TRUE);

    for (const int trim : {-100, -101, -110, -128}) {
        SCOPED_TRACE(trim);
        WriteLive(handler, 3500, {7000, 0, 0, 0, 0, 0, 0, 0}, 0, static_cast<BYTE>(trim), 0x01, 0);
        grid.SendMessage(0x602);
        EXPECT_TRUE(SameRect(ExpectedMarker(grid, 3500, 7000), grid.GetMarkerRect()));
    }
}

TEST(CPasteGridCtrl, AnyBadValueRefusesTheWholePasteWithOneMessage) {
    GridTestHost host;
    CPasteGridCtrl grid;
    BuildTable(grid, host);
    std::vector<std::string> messages;
    const AfxPrompter previous = AfxSetPrompter([&messages](const char* text, UINT, const char*) {
        messages.emplace_back(text);
        return IDOK;
    });
    int updates = 0;
    grid.SetPasteHandler([&updates] { ++updates; });

    struct Case {
        const char* name;
        const char* text;
        const char* message;  // empty: the paste goes through
    };

    const Case cases[] = {
        {"bounds and blanks pass", "0\t100\r\n 7 ,1", ""},
        {"an empty line is skipped", "5\n\n6", ""},
        {"above the range", "1,101,x", "Element out of range: 101."},
        {"below the range", "-1", "Element out of range: -1."},
        {"a digit and a letter", "4a", "Attempt to paste an invalid element: 4a."},
        {"an empty value between separators", "1,,2", "Attempt to paste an invalid element: ."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int row = 1; row < 5; ++row) {
            for (int col = 1; col < 5; ++col) {
                grid.SetCellText(row, col, "old");
            }
        }
        messages.clear();
        updates = 0;
        const bool good = c.message[0] == '\0';
        EXPECT_EQ(good, grid.PasteText(1, 1, c.text, TRUE) != FALSE);
        if (good) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(1, updates);
            EXPECT_NE(CString("old"), grid.GetCellText(1, 1));
            EXPECT_EQ(GridCellId(1, 1), grid.GetFocusCell());
        } else {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ(c.message, messages[0]);
            EXPECT_EQ(0, updates);
            EXPECT_EQ(CString("old"), grid.GetCellText(1, 1));
        }
    }
    AfxSetPrompter(previous);
}
