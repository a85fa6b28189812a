// The map page: what it shows of a loaded map, what typed, stepped, undone and pasted edits
// send to the unit, the base percent edit, the measurement commands of the grid's menu, and
// how a cell calibration is started and wound up.
#include "config/CConfigDynamic.h"

#include "calib/CalibratorContDlg.h"
#include "calib/CalibratorPts.h"
#include "config/CMeasurementEditDlg.h"
#include "tests/classlib/core/SeparatorScope.h"
#include "tests/config/mappage/MapPageFixture.h"
#include "tests/config/pages/GridTextFit.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr UINT kUndo = 32771;
constexpr UINT kRedo = 32772;

class MapPageTest : public MapPageFixture {
protected:
    // Ends an in-place edit of a grid cell with the typed text, as the grid does.
    void TypeIntoCell(int row, int column, const char* text) {
        const CString old = grid().GetCellText(row, column);
        grid().SetCellText(row, column, text);
        const LRESULT answer = grid().SendNotify(row, column, GRIDN_ENDEDIT);
        EXPECT_LT(answer, 0) << "the grid keeps its text until the map comes back";
        grid().SetCellText(row, column, old);
        PumpMessages();
    }

    void Select(int minRow, int minColumn, int maxRow, int maxColumn) {
        grid().SetSelectedRange(minRow, minColumn, maxRow, maxColumn);
    }

    void TypeBase(const char* text) {
        HWND edit = GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kBaseEditId);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CConfigDynamic::kBaseEditId, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(edit));
        PumpMessages();
    }

    std::string BaseText() { return WindowText(GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kBaseEditId)); }
};

TEST_F(MapPageTest, ShowsTheLoadedMapWithItsAxes) {
    EXPECT_FALSE(grid().IsWindowEnabled()) << "nothing to edit before the map arrives";
    LoadGrid(40);
    ASSERT_EQ(grid().GetRowCount(), 5);
    ASSERT_EQ(grid().GetColumnCount(), 6);
    EXPECT_EQ(CellText(0, 0), "%");
    EXPECT_EQ(CellText(0, 1), "1000");
    EXPECT_EQ(CellText(0, 5), "5000");
    EXPECT_EQ(CellText(1, 0), "2.00");
    EXPECT_EQ(CellText(4, 0), "8.00");
    EXPECT_EQ(CellText(3, 4), "23");
    EXPECT_EQ(grid().GetCellBackColour(1, 1), 0xEFD0D0u) << "even map rows are darker";
    EXPECT_EQ(grid().GetCellBackColour(2, 1), 0xFFE0E0u);
    EXPECT_EQ(BaseText(), "40");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kBaseEditId)));
    EXPECT_TRUE(grid().IsWindowEnabled());
    EXPECT_EQ(LayoutClashes(page.GetSafeHwnd()), std::vector<std::string>{});
}

// A map of sixteen columns: four-digit rpm headers and times up to 10.50 ms keep room
// between neighbours; a language that writes decimals with a comma shows the times with it.
TEST_F(MapPageTest, AxisTextsFitTheirCellsAndFollowTheLanguage) {
    std::vector<int> rpm;
    for (int value = 1000; value <= 8500; value += 500) {
        rpm.push_back(value);
    }
    std::vector<int> times;
    for (int value = 5000; value <= 10500; value += 500) {
        times.push_back(value);
    }
    Load(kElementBasePercent, {0});
    Load(kElementCorrectionMap, EncodeMap(rpm, times, [](int r, int c) { return r - c; }));
    ASSERT_EQ(grid().GetColumnCount(), 17);
    ASSERT_EQ(grid().GetRowCount(), 13);
    EXPECT_EQ(CellText(12, 0), "10.50");
    EXPECT_EQ(CutGridTexts(grid(), 1), std::vector<std::string>{});

    SeparatorScope comma(',');
    page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
    PumpMessages();
    EXPECT_EQ(CellText(1, 0), "5,00");
    EXPECT_EQ(CellText(12, 0), "10,50");
    EXPECT_EQ(CellText(0, 16), "8500");
}

TEST_F(MapPageTest, AMapWithTooManyBreakpointsLeavesNothingToEdit) {
    LoadGrid();
    std::vector<BYTE> refused(1024, 0);
    refused[0] = 40;
    Load(kElementCorrectionMap, refused);
    EXPECT_EQ(grid().GetRowCount(), 0);
    EXPECT_FALSE(grid().IsWindowEnabled());
    bool ran = false;
    dialogRunner = [&ran](CDialog&) -> INT_PTR {
        ran = true;
        return IDCANCEL;
    };
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CConfigDynamic::kCalCellId, BN_CLICKED), 0);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(MapPageTest, ATypedValueOutOfRangeChangesNothing) {
    LoadGrid(80);
    TypeIntoCell(2, 2, "30");
    EXPECT_EQ(boxes, std::vector<std::string>{"Element out of range: 30."});
    TypeIntoCell(2, 2, "x");
    EXPECT_EQ(boxes.back(), "Attempt to write an invalid element: x.");
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty());
    EXPECT_EQ(CellText(2, 2), "11");
}

TEST_F(MapPageTest, ATypedValueFillsTheSelectionInOneWrite) {
    LoadGrid();
    Select(1, 2, 2, 4);
    TypeIntoCell(1, 2, "5");
    const std::vector<QueuedRequest> writes = Writes(kElementCorrectionMap);
    ASSERT_EQ(writes.size(), 1u);
    const BYTE five = static_cast<BYTE>(5 - 28);
    EXPECT_EQ(std::vector<BYTE>(writes[0].source, writes[0].source + 10),
              (std::vector<BYTE>{1, 0, 3, 1, five, five, five, five, five, five}));
    EXPECT_EQ(CellText(2, 4), "5") << "the grid shows the map written";
    EXPECT_EQ(CellText(3, 4), "23");
}

TEST_F(MapPageTest, HotKeysStepTheSelectionOrRefuseAsAWhole) {
    LoadGrid();
    Select(3, 1, 4, 2);
    page.SendMessage(CMeasurementGridCtrl::kHotKeyStepMessage, 1, 0x73);
    PumpMessages();
    EXPECT_EQ(CellText(3, 1), "10");
    EXPECT_EQ(CellText(4, 2), "21");
    page.SendMessage(CMeasurementGridCtrl::kHotKeyStepMessage, 0, 0x6B);
    PumpMessages();
    EXPECT_EQ(CellText(4, 2), "22");

    page.GetEditor().FillBox(-95, 0, 0, 0, 0);
    PumpMessages();
    Select(1, 1, 2, 2);
    queue.requests.clear();
    page.SendMessage(CMeasurementGridCtrl::kHotKeyStepMessage, 1, 0x73);
    PumpMessages();
    EXPECT_EQ(boxes, std::vector<std::string>{"Element out of range: -95."});
    EXPECT_TRUE(Writes(kElementCorrectionMap).empty());
}

TEST_F(MapPageTest, UndoAndRedoSelectTheBoxTheyChange) {
    LoadGrid();
    Select(2, 3, 3, 4);
    TypeIntoCell(2, 3, "-7");
    grid().ClearSelection();
    Command(kUndo);
    EXPECT_EQ(CellText(3, 4), "23");
    const GridCellRange selected = grid().GetSelectionBounds();
    EXPECT_EQ(selected.minRow, 2);
    EXPECT_EQ(selected.minCol, 3);
    EXPECT_EQ(selected.maxRow, 3);
    EXPECT_EQ(selected.maxCol, 4);
    Command(kRedo);
    EXPECT_EQ(CellText(3, 4), "-7");
    EXPECT_EQ(Writes(kElementCorrectionMap).size(), 3u);
}

TEST_F(MapPageTest, TheBaseEditWritesOrUndoesTheTyping) {
    LoadGrid(40);
    TypeBase("50");
    ASSERT_EQ(Writes(kElementBasePercent).size(), 1u);
    EXPECT_EQ(*Element(kElementBasePercent), static_cast<BYTE>(50 - 28));

    TypeBase("67");
    EXPECT_EQ(boxes, std::vector<std::string>{"Element out of range: 67."});
    EXPECT_EQ(BaseText(), "50");
    TypeBase("a");
    EXPECT_EQ(boxes.back(), "Attempt to write an invalid element: a.");
    EXPECT_EQ(BaseText(), "50");
    EXPECT_EQ(Writes(kElementBasePercent).size(), 1u);
}

TEST_F(MapPageTest, MeasurementsAddedEditedAndDeletedThroughTheMenu) {
    LoadGrid(20);
    UINT chosen = CMeasurementGridCtrl::kAddCommand;
    grid().SetMenuRunner([&chosen](HMENU, int, int) { return chosen; });
    std::vector<int> dialogValues;
    dialogRunner = [&](CDialog& dialog) -> INT_PTR {
        auto* edit = dynamic_cast<CMeasurementEditDlg*>(&dialog);
        EXPECT_NE(edit, nullptr);
        dialogValues = {edit->GetRev(), static_cast<int>(edit->GetInjection() * 1000),
                        edit->GetMeasurement()};
        return IDOK;
    };
    RightClick(CellCentre(2, 3));
    EXPECT_EQ(dialogValues, (std::vector<int>{3000, 4000, 12 + 20})) << "the cell plus the base";
    const auto& measurements = page.GetEditor().GetMeasurements().GetMeasurements();
    ASSERT_EQ(measurements.size(), 1u);
    EXPECT_EQ(measurements.front()->flags, 1);
    ASSERT_EQ(grid().GetMarks().size(), 1u);
    EXPECT_EQ(grid().GetCellBackColour(2, 3), 0xE0FFE0u) << "covered by a user measurement";

    chosen = CMeasurementGridCtrl::kEditCommand;
    const RECT mark = grid().GetMarks()[0].ellipse;
    RightClick({(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2});
    EXPECT_EQ(dialogValues, (std::vector<int>{3000, 4000, 32}));

    chosen = CMeasurementGridCtrl::kDeleteCommand;
    RightClick({(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2});
    EXPECT_TRUE(measurements.empty());
    EXPECT_TRUE(grid().GetMarks().empty());
    EXPECT_EQ(grid().GetCellBackColour(2, 3), 0xFFE0E0u);
}

// The map arrives again (a unit taken over, a file loaded) while the edit dialog is open:
// the measurement the dialog was opened for is gone, and its OK must change none of the
// measurements that came with the new map.
TEST_F(MapPageTest, AMapReloadedWhileTheEditDialogIsOpenKeepsTheNewMeasurements) {
    LoadGrid(20);
    handler.AddMeasurement(3000, 4.0, 15);
    LoadGrid(20);
    const auto& measurements = page.GetEditor().GetMeasurements().GetMeasurements();
    ASSERT_EQ(measurements.size(), 1u);
    ASSERT_EQ(grid().GetMarks().size(), 1u);
    grid().SetMenuRunner([](HMENU, int, int) { return CMeasurementGridCtrl::kEditCommand; });
    dialogRunner = [&](CDialog& dialog) -> INT_PTR {
        auto* edit = dynamic_cast<CMeasurementEditDlg*>(&dialog);
        EXPECT_NE(edit, nullptr);
        edit->SetMeasurement(-7, -100, 100);
        LoadGrid(20);
        return IDOK;
    };
    const RECT mark = grid().GetMarks()[0].ellipse;
    RightClick({(mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2});
    ASSERT_EQ(measurements.size(), 1u);
    EXPECT_EQ(measurements.front()->percent, 15);
    EXPECT_EQ(measurements.front()->rpm, 3000);
}

TEST_F(MapPageTest, TotalizeFromTheDialogFoldsTheMeasurement) {
    LoadGrid(20);
    grid().SetMenuRunner([](HMENU, int, int) { return CMeasurementGridCtrl::kAddCommand; });
    dialogRunner = [](CDialog&) -> INT_PTR { return CMeasurementEditDlg::kResultTotalize; };
    RightClick(CellCentre(3, 2));
    EXPECT_EQ(page.GetEditor().GetCell(2, 1) + 20, 21 + 20);
    EXPECT_EQ(Writes(kElementCorrectionMap).size(), 1u) << "one write of the whole map";
    Command(kUndo);
    EXPECT_EQ(CellText(1, 1), "0");
}

TEST_F(MapPageTest, DeleteAllAsksFirst) {
    LoadGrid();
    page.GetEditor().AddMeasurement(2000, 4.0, 5, 1);
    page.GetEditor().GetMeasurements().ConfirmNewMeasurements(false);
    page.GetEditor().GetMeasurements().RefreshMeasurementMarks();
    ASSERT_EQ(grid().GetMarks().size(), 1u);
    Command(CMeasurementGridCtrl::kDeleteAllCommand);
    EXPECT_EQ(boxes,
              std::vector<std::string>{
                  "Are you sure you want to delete all measurements? This operation can not be undone."});
    EXPECT_TRUE(page.GetEditor().GetMeasurements().GetMeasurements().empty());
    EXPECT_TRUE(grid().GetMarks().empty());
}

TEST_F(MapPageTest, PointCalibrationStartsWithoutAMenuAndACancelRestoresTheMap) {
    LoadGrid(30);
    page.SendMessage(WM_DH_STATUS_CHANGED, 2, 7);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kCalCellId)));
    page.SetModeChooser([]() {
        ADD_FAILURE() << "no menu without element 79";
        return 0;
    });
    bool ranPoints = false;
    dialogRunner = [&](CDialog& dialog) -> INT_PTR {
        ranPoints = dynamic_cast<CalibratorPts*>(&dialog) != nullptr;
        EXPECT_EQ(page.GetActiveDialog(), &dialog);
        page.GetEditor().FillBox(-50, 0, 0, 3, 4);
        page.GetEditor().AddMeasurement(3000, 6.0, 40, 1);
        return IDCANCEL;
    };
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CConfigDynamic::kCalCellId, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_TRUE(ranPoints);
    EXPECT_EQ(page.GetActiveDialog(), nullptr);
    EXPECT_EQ(CellText(4, 5), "34");
    EXPECT_EQ(page.GetEditor().GetBasePercent(), 30);
    EXPECT_TRUE(page.GetEditor().GetMeasurements().GetMeasurements().empty());
}

TEST_F(MapPageTest, TheModeMenuChoosesTheContinuousCalibration) {
    LoadGrid();
    Load(79, {1});
    int offered = 0;
    page.SetModeChooser([&offered]() {
        ++offered;
        return CMapEditor::kModeContinuous;
    });
    bool ranContinuous = false;
    dialogRunner = [&](CDialog& dialog) -> INT_PTR {
        ranContinuous = dynamic_cast<CalibratorContDlg*>(&dialog) != nullptr;
        return IDCANCEL;
    };
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CConfigDynamic::kCalCellId, BN_CLICKED), 0);
    EXPECT_EQ(offered, 1);
    EXPECT_TRUE(ranContinuous);

    page.SetModeChooser([]() { return 0; });
    ranContinuous = false;
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CConfigDynamic::kCalCellId, BN_CLICKED), 0);
    EXPECT_FALSE(ranContinuous) << "a dismissed menu starts nothing";
}

// The button is live only while the link is up and a map is there to calibrate.
TEST_F(MapPageTest, NoCalibrationBeforeTheMapArrived) {
    const HWND button = GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kCalCellId);
    page.SendMessage(WM_DH_STATUS_CHANGED, 2, 7);
    EXPECT_FALSE(IsWindowEnabled(button)) << "link up, no map yet";
    bool ran = false;
    dialogRunner = [&ran](CDialog&) -> INT_PTR {
        ran = true;
        return IDCANCEL;
    };
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CConfigDynamic::kCalCellId, BN_CLICKED), 0);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(queue.requests.empty());

    LoadGrid();
    EXPECT_TRUE(IsWindowEnabled(button)) << "the map arrived while the link is up";
    page.SendMessage(WM_DH_STATUS_CHANGED, 1, 0);
    EXPECT_FALSE(IsWindowEnabled(button)) << "the link went";
    page.SendMessage(WM_DH_STATUS_CHANGED, 4, 0);
    EXPECT_TRUE(IsWindowEnabled(button)) << "the link is back and the map still there";
    std::vector<BYTE> refused(1024, 0);
    refused[0] = 40;
    Load(kElementCorrectionMap, refused);
    EXPECT_FALSE(IsWindowEnabled(button)) << "a refused map leaves nothing to calibrate";
}

TEST_F(MapPageTest, LosingTheLinkResetsTheLiveDisplay) {
    LoadGrid();
    page.SendMessage(WM_DH_STATUS_CHANGED, 2, 7);
    const BYTE lambda[2] = {0x4C, 0x04};  // 1.100
    std::copy(lambda, lambda + 2, Element(34));
    *Element(92) = static_cast<BYTE>(-7);
    page.SendMessage(WM_DH_NEW_DATA, 0, 0);
    EXPECT_EQ(WindowText(GetDlgItem(page.GetSafeHwnd(), 1072)), "1.10 ");
    EXPECT_EQ(WindowText(GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kCorrectionId)), "-7 %");
    page.SendMessage(WM_DH_STATUS_CHANGED, 1, 0);
    EXPECT_EQ(WindowText(GetDlgItem(page.GetSafeHwnd(), 1072)), "0.00 ");
    EXPECT_EQ(WindowText(GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kCorrectionId)), "0 %");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page.GetSafeHwnd(), CConfigDynamic::kCalCellId)));
}

TEST_F(MapPageTest, TheSummaryNamesTheCellsTimes) {
    LoadGrid(40);
    CString text;
    LOGFONTA font = {};
    ASSERT_TRUE(page.FormatSummary(text, font, 2, 2));
    EXPECT_EQ(std::string(text),
              "SUMMARY (toggle between ON and OFF by right click)\nthis value: 11%\noffset: 40%\ntotal: 51%\n"
              "min. injection time: 4.00 ms\nmax. injection time: 60.00 ms (from rev: 2000 1/min)\n"
              "calculated injection time: 6.04 ms");
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_FALSE(page.FormatSummary(text, font, 0, 2));
}

}  // namespace
