// The measurement grid on the map page: its menu's states, the checked paste, Return and
// typing into a cell, the numpad steps, and the live marker's colour state.
#include "config/CMeasurementGridCtrl.h"

#include "tests/config/mappage/MapPageFixture.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class MeasurementGridTest : public MapPageFixture {
protected:
    // The menu of a right click at point: command -> (greyed, checked); nothing chosen.
    std::map<UINT, std::pair<bool, bool>> MenuAt(POINT point) {
        std::map<UINT, std::pair<bool, bool>> states;
        grid().SetMenuRunner([&states](HMENU menu, int, int) {
            for (UINT id = CMeasurementGridCtrl::kAddCommand; id <= CMeasurementGridCtrl::kTotalizeCommand;
                 ++id) {
                const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
                if (state != static_cast<UINT>(-1)) {
                    states[id] = {(state & MF_GRAYED) != 0, (state & MF_CHECKED) != 0};
                }
            }
            return 0u;
        });
        RightClick(point);
        return states;
    }

    bool Greyed(const std::map<UINT, std::pair<bool, bool>>& menu, UINT id) { return menu.at(id).first; }
};

TEST_F(MeasurementGridTest, AddIsGreyedUntilTheMapIsLoaded) {
    EXPECT_TRUE(Greyed(MenuAt({5, 5}), CMeasurementGridCtrl::kAddCommand));
    LoadGrid();
    const auto body = MenuAt(CellCentre(2, 2));
    EXPECT_FALSE(Greyed(body, CMeasurementGridCtrl::kAddCommand));
    EXPECT_TRUE(Greyed(body, CMeasurementGridCtrl::kEditCommand));
    EXPECT_TRUE(Greyed(body, CMeasurementGridCtrl::kDeleteCommand));
    EXPECT_TRUE(Greyed(body, CMeasurementGridCtrl::kTotalizeCommand));
    EXPECT_TRUE(body.at(CMeasurementGridCtrl::kShowMarksCommand).second);
    EXPECT_FALSE(body.at(CMeasurementGridCtrl::kShowSummaryCommand).second);
    EXPECT_TRUE(Greyed(MenuAt(CellCentre(0, 2)), CMeasurementGridCtrl::kAddCommand))
        << "a header is no place";
}

TEST_F(MeasurementGridTest, ARightClickOnAMarkOffersEditAndDelete) {
    LoadGrid();
    page.GetEditor().AddMeasurement(3000, 6.0, 15, 1);
    page.GetEditor().GetMeasurements().RefreshMeasurementMarks();
    ASSERT_EQ(grid().GetMarks().size(), 1u);
    const RECT mark = grid().GetMarks()[0].ellipse;
    const auto onMark = MenuAt({(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2});
    EXPECT_FALSE(Greyed(onMark, CMeasurementGridCtrl::kEditCommand));
    EXPECT_FALSE(Greyed(onMark, CMeasurementGridCtrl::kDeleteCommand));
    EXPECT_FALSE(Greyed(onMark, CMeasurementGridCtrl::kDeleteAllCommand));
    EXPECT_EQ(grid().GetSelectedMeasurement(),
              page.GetEditor().GetMeasurements().GetMeasurements().front().get());
    const auto elsewhere = MenuAt(CellCentre(1, 1));
    EXPECT_TRUE(Greyed(elsewhere, CMeasurementGridCtrl::kEditCommand));
    EXPECT_FALSE(Greyed(elsewhere, CMeasurementGridCtrl::kTotalizeCommand));
}

TEST_F(MeasurementGridTest, ARightClickBetweenCellsInterpolatesThePlace) {
    LoadGrid();
    grid().SetMenuRunner([](HMENU, int, int) { return 0u; });
    RightClick(CellCentre(2, 3));
    EXPECT_EQ(grid().GetNewRpm(), 3000);
    EXPECT_DOUBLE_EQ(grid().GetNewInjectionMs(), 4.0);
    EXPECT_EQ(grid().GetNewPercent(), 12);
    const POINT a = CellCentre(2, 3);
    const POINT b = CellCentre(3, 4);
    RightClick({(a.x + b.x) / 2, (a.y + b.y) / 2});
    EXPECT_NEAR(grid().GetNewRpm(), 3500, 60);
    EXPECT_NEAR(grid().GetNewInjectionMs(), 5.0, 0.2);
    EXPECT_NEAR(grid().GetNewPercent(), 18, 1);
}

TEST_F(MeasurementGridTest, PastedValuesAreCheckedAsAWhole) {
    struct Case {
        int base;
        const char* text;
        const char* problem;
    };

    const Case cases[] = {
        {98, "5\t6,7", "Element out of range: 5."},
        {28, "5\t6,x", "Attempt to paste an invalid element: x."},
        {28, "-100\t101", "Element out of range: 101."},
        {-10, "-95", "Element out of range: -95."},
        {28, "5\t6\r\n7\t8\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LoadGrid(c.base);
        EXPECT_EQ(std::string(grid().CheckPastedText(c.text)), c.problem);
    }
}

TEST_F(MeasurementGridTest, APasteWritesTheSelectedBox) {
    LoadGrid();
    grid().SetSelectedRange(2, 2, 3, 3);
    ASSERT_TRUE(grid().PasteText(2, 2, "5\t6\r\n7\t8\r\n"));
    PumpMessages();
    EXPECT_EQ(Writes(kElementCorrectionMap).size(), 1u);
    EXPECT_EQ(page.GetEditor().GetCell(1, 1), 5);
    EXPECT_EQ(page.GetEditor().GetCell(2, 2), 8);

    LoadGrid(98);
    EXPECT_FALSE(grid().PasteText(2, 2, "5\t6,7"));
    EXPECT_EQ(boxes.back(), "Element out of range: 5.");
    EXPECT_EQ(CellText(2, 2), "11");
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty());
}

TEST_F(MeasurementGridTest, ReturnStartsEditingAndTypingReplacesTheText) {
    LoadGrid();
    grid().SetFocusRowCol(2, 2);
    MSG msg = {grid().GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    grid().PreTranslateMessage(&msg);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_F2));

    grid().SendMessage(WM_CHAR, '7', 0);
    PumpMessages();
    ASSERT_TRUE(grid().IsCellEditing(2, 2));
    HWND editor = GetDlgItem(grid().GetSafeHwnd(), CGridCtrl::kEditorId);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(editor), "7");
}

TEST_F(MeasurementGridTest, NumpadKeysAskThePageToStep) {
    LoadGrid();
    grid().SetSelectedRange(1, 1, 1, 2);
    grid().SendMessage(WM_KEYDOWN, VK_ADD, 0);
    PumpMessages();
    EXPECT_EQ(page.GetEditor().GetCell(0, 0), 1);
    EXPECT_EQ(page.GetEditor().GetCell(0, 1), 2);
    grid().SendMessage(WM_KEYDOWN, VK_SUBTRACT, 0);
    PumpMessages();
    EXPECT_EQ(page.GetEditor().GetCell(0, 1), 1);
    grid().SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages();
    EXPECT_EQ(CellText(1, 2), "1") << "Delete clears nothing";
}

TEST_F(MeasurementGridTest, TheLiveMarkerFollowsTheLinkAndTheFuel) {
    handler.CheckConnectedUnit();  // the marker moves only over a configuration
    PumpMessages();
    LoadGrid();
    const BYTE rpm[2] = {0xB8, 0x0B};  // 3000
    std::copy(rpm, rpm + 2, Element(26));
    for (int i = 0; i < 8; ++i) {
        Element(27)[2 * i] = 0xA0;  // 4000
        Element(27)[2 * i + 1] = 0x0F;
    }
    Element(30)[0] = 0xFF;
    Element(30)[1] = 0;
    grid().SendMessage(WM_DH_NEW_DATA, 0, 0);
    EXPECT_EQ(grid().GetLiveState(), CMeasurementGridCtrl::kLiveGas);
    const RECT marker = grid().GetMarkerRect();
    const POINT centre = CellCentre(2, 3);
    EXPECT_NEAR((marker.left + marker.right) / 2, centre.x, 2);
    EXPECT_NEAR((marker.top + marker.bottom) / 2, centre.y, 2);

    Element(30)[0] = 0;
    grid().SendMessage(WM_DH_NEW_DATA, 0, 0);
    EXPECT_EQ(grid().GetLiveState(), CMeasurementGridCtrl::kLiveOther);
    Element(30)[1] = 0x80;
    grid().SendMessage(WM_DH_NEW_DATA, 0, 0);
    EXPECT_EQ(grid().GetLiveState(), CMeasurementGridCtrl::kLiveNone);

    Element(30)[1] = 0;
    grid().SendMessage(WM_DH_NEW_DATA, 0, 0);
    grid().SendMessage(WM_DH_STATUS_CHANGED, 1, 0);
    EXPECT_EQ(grid().GetLiveState(), CMeasurementGridCtrl::kLiveNone) << "grey without the link";
}

}  // namespace
