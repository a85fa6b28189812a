// The sensor characteristic dialog under Wine, set up as the settings page sets it up for the
// gas level sensor: the grid it shows, edits refused and accepted as the grid's end-of-edit
// notice reports them, the reverse box and the live values after a polling cycle.
#include "config/CSensorSettingDlg.h"

#include "config/CSensorCurvePreset.h"
#include "config/TablesIds.h"
#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr int kLevelElement = 61;

class SensorSettingDlgTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        const double measured[] = {0.5, 1.0, 2.0, 3.0, 4.0, 4.5};
        const double calculated[] = {0, 5, 25, 50, 75, 100};
        dialog.SetDataHandler(&handler);
        dialog.SetResourceManager(&resources);
        dialog.SetFontCache(&fonts);
        dialog.SetScale(1.0, 1.0);
        dialog.SetPointCount(6);
        dialog.SetMeasuredRange(0.0, 5.0);
        dialog.SetCalculatedRange(-1.0, 101.0);
        dialog.SetMeasuredPoints(measured);
        dialog.SetCalculatedPoints(calculated);
        dialog.SetMeasuredDecimals(-2);
        dialog.SetCalculatedDecimals(0);
        dialog.SetMeasuredName("Voltage", "V");
        dialog.SetCalculatedName("Level", "%");
        dialog.SetMeasuredFixedMask(0);
        dialog.SetCalculatedFixedMask(0x01);
        dialog.SetLiveElement(kLevelElement);
        handler.RegisterWindow(&dialog);
    }

    void TearDown() override {
        if (dialog.GetSafeHwnd() != nullptr) {
            dialog.DestroyWindow();
        }
    }

    void Open() {
        ASSERT_TRUE(dialog.Create(CSensorSettingDlg::kTemplateId, &main));
        PumpMessages();
    }

    std::string Cell(int row, int col) { return std::string(dialog.GetGrid().GetCellText(row, col)); }

    // Types the text into the cell and ends the edit as the grid does; the dialog's answer.
    LRESULT Edit(int row, int col, const char* text) {
        dialog.GetGrid().SetCellText(row, col, text);
        GridNotifyRecord record = {};
        record.hdr.hwndFrom = dialog.GetGrid().GetSafeHwnd();
        record.hdr.idFrom = IDC_SENSOR_GRID;
        record.hdr.code = static_cast<UINT>(GRIDN_ENDEDIT);
        record.row = row;
        record.col = col;
        return SendMessageA(dialog.GetSafeHwnd(), WM_NOTIFY, IDC_SENSOR_GRID,
                            reinterpret_cast<LPARAM>(&record));
    }

    std::string Text(int id) const { return WindowText(GetDlgItem(dialog.GetSafeHwnd(), id)); }

    CSensorSettingDlg dialog;
};

TEST_F(SensorSettingDlgTest, ShowsTheCharacteristicWithItsEndsAndNames) {
    Open();
    CGridCtrl& grid = dialog.GetGrid();
    EXPECT_EQ(2, grid.GetRowCount());
    EXPECT_EQ(9, grid.GetColumnCount());
    EXPECT_EQ(1, grid.GetFixedColumnCount());
    EXPECT_EQ(0, grid.GetFixedRowCount());
    const char* const expected[2][9] = {
        {"Voltage ( V )", "0.00", "0.50", "1.00", "2.00", "3.00", "4.00", "4.50", "5.00"},
        {"Level ( % )", "b.w.*", "0", "5", "25", "50", "75", "100", "s.c.*"},
    };
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 9; ++col) {
            EXPECT_EQ(expected[row][col], Cell(row, col)) << row << "/" << col;
        }
    }
    for (int row = 0; row < 2; ++row) {
        for (const int col : {1, 8}) {
            EXPECT_NE(0u, grid.GetCellState(row, col) & GRID_STATE_READONLY) << row << "/" << col;
            EXPECT_EQ(RGB(224, 224, 224), grid.GetCellBackColour(row, col));
        }
    }
    EXPECT_NE(0u, grid.GetCellState(1, 2) & GRID_STATE_READONLY) << "masked point";
    EXPECT_EQ(0u, grid.GetCellState(1, 3) & GRID_STATE_READONLY);
    EXPECT_EQ("Pirolex: Sensor setting", WindowText(dialog.GetSafeHwnd()));
    EXPECT_EQ("0.00", Text(IDC_SENSOR_MEASURED_VALUE));
    EXPECT_EQ("-1", Text(IDC_SENSOR_CALCULATED_VALUE));
    EXPECT_EQ("V", Text(IDC_SENSOR_MEASURED_UNIT));
    EXPECT_EQ("%", Text(IDC_SENSOR_CALCULATED_UNIT));
    EXPECT_EQ(BST_UNCHECKED,
              SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_SENSOR_REVERSE, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(LayoutClashes(dialog.GetSafeHwnd()).empty());
}

struct EditCase {
    int row;
    int col;
    const char* typed;
    LRESULT answer;
    const char* shown;  // the cell's text after an accepted edit
    const char* box;    // the message box, or empty
};

TEST_F(SensorSettingDlgTest, EditsMustLieStrictlyBetweenTheNeighbours) {
    Open();
    const EditCase cases[] = {
        {0, 3, "0.5", -1, "", "Element out of range: 0.50 <- (0.50; 2.00)."},
        {0, 3, "1.999", 0, "1.99", ""},
        {0, 3, "2.000", -1, "", "Element out of range: 2.00 <- (0.50; 2.00)."},
        {0, 2, "0.01", 0, "0.01", ""},
        {0, 7, "4.99", 0, "4.99", ""},
        {0, 7, "5", -1, "", "Element out of range: 5.00 <- (4.00; 5.00)."},
        {1, 3, "24.9", 0, "24", ""},
        {1, 7, "101", -1, "", "Element out of range: 101 <- (75; 101)."},
        {1, 3, "abc", -1, "", "Attempt to write an invalid element: abc."},
    };
    for (const EditCase& c : cases) {
        boxes.clear();
        EXPECT_EQ(c.answer, Edit(c.row, c.col, c.typed)) << c.typed;
        if (c.answer == 0) {
            EXPECT_EQ(c.shown, Cell(c.row, c.col)) << c.typed;
            EXPECT_TRUE(boxes.empty()) << c.typed;
        } else {
            ASSERT_EQ(1u, boxes.size()) << c.typed;
            EXPECT_EQ(c.box, boxes[0]);
        }
    }
}

// A paste and a Delete reach the characteristic as a typed edit does: a pasted point is
// checked and taken, a blanked one is refused once and keeps its value.
TEST_F(SensorSettingDlgTest, PasteAndDeleteGoThroughTheEditChecks) {
    Open();
    CGridCtrl& grid = dialog.GetGrid();
    boxes.clear();
    EXPECT_TRUE(grid.PasteText(0, 3, "1.5", FALSE));
    EXPECT_EQ(Cell(0, 3), "1.50");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(grid.PasteText(0, 3, "3.5", FALSE));
    EXPECT_EQ(Cell(0, 3), "1.50") << "beyond the next point";
    EXPECT_EQ(boxes, std::vector<std::string>{"Element out of range: 3.50 <- (0.50; 2.00)."});

    boxes.clear();
    grid.SetFocusRowCol(0, 3);
    grid.SetSelectedRange(0, 3, 0, 5);
    grid.SendMessage(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(Cell(0, 3), "1.50");
    EXPECT_EQ(Cell(0, 4), "2.00");
    EXPECT_LE(boxes.size(), 1u);
}

TEST_F(SensorSettingDlgTest, FixedCellsRefuseWithoutAsking) {
    Open();
    for (const int col : {1, 8}) {
        EXPECT_EQ(-1, Edit(0, col, "1.00"));
    }
    EXPECT_EQ(-1, Edit(1, 2, "3"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SensorSettingDlgTest, ReverseTurnsTheCalculatedRowAndTheEndValues) {
    Open();
    SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_SENSOR_REVERSE, BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_TRUE(dialog.GetCharacteristic().IsReverse());
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog.GetSafeHwnd(), IDC_SENSOR_REVERSE, BM_GETCHECK, 0, 0));
    const char* const expected[] = {"100", "75", "50", "25", "5", "0"};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(expected[k], Cell(1, k + 2));
    }
    EXPECT_DOUBLE_EQ(101, dialog.Convert(0.3));
    // The bounds of a reversed row run the other way.
    EXPECT_EQ(-1, Edit(1, 3, "40"));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Element out of range: 40 <- (50; 100).", boxes[0]);
    EXPECT_EQ(0, Edit(1, 3, "80"));
}

TEST_F(SensorSettingDlgTest, LiveCycleShowsTheSensorVoltageAndItsValue) {
    Open();
    BYTE* live = handler.GetImage(kImageWorking) + handler.GetElementOffset(kLevelElement);
    live[0] = 2500 & 0xFF;
    live[1] = 2500 >> 8;
    dialog.PostMessage(WM_DH_NEW_DATA, 0, 0);
    PumpMessages();
    EXPECT_EQ("2.50", Text(IDC_SENSOR_MEASURED_VALUE));
    EXPECT_EQ("38", Text(IDC_SENSOR_CALCULATED_VALUE));

    dialog.SetLiveElement(-1);
    dialog.PostMessage(WM_DH_NEW_DATA, 0, 0);
    PumpMessages();
    EXPECT_EQ("0.00", Text(IDC_SENSOR_MEASURED_VALUE));
    EXPECT_EQ("-1", Text(IDC_SENSOR_CALCULATED_VALUE));
}

struct PresetCase {
    int buttonId;
    int columns;
    const char* calculatedName;
    const char* firstPoints;  // measured and calculated text of the first point
    const char* lastPoints;
    bool calculatedFixed;
};

TEST_F(SensorSettingDlgTest, SettingsPageButtonsOpenTheirCharacteristics) {
    const PresetCase cases[] = {
        {1447, 9, "Level ( % )", "0.50/0", "4.50/100", true},
        {1444, 5, "Press ( bar )", "0.50/1.00", "4.50/3.00", false},
        {1441, 13,
         "Temperature ( \xB0"
         "C )",
         "0.20/0", "4.90/90", false},
    };
    for (const PresetCase& c : cases) {
        const CSensorCurvePreset* preset = CSensorCurvePreset::FindByButton(c.buttonId);
        ASSERT_NE(nullptr, preset) << c.buttonId;
        dialog.SetReverse(true);
        dialog.SetMeasuredFixedMask(0xFF);
        dialog.ApplyPreset(*preset);
        Open();
        const int last = c.columns - 2;
        EXPECT_EQ(c.columns, dialog.GetGrid().GetColumnCount()) << c.buttonId;
        EXPECT_EQ("Voltage ( V )", Cell(0, 0));
        EXPECT_EQ(c.calculatedName, Cell(1, 0));
        EXPECT_EQ(c.firstPoints, Cell(0, 2) + "/" + Cell(1, 2));
        EXPECT_EQ(c.lastPoints, Cell(0, last) + "/" + Cell(1, last));
        EXPECT_FALSE(dialog.GetCharacteristic().IsReverse());
        EXPECT_EQ(0u, dialog.GetGrid().GetCellState(0, 2) & GRID_STATE_READONLY);
        EXPECT_EQ(c.calculatedFixed, (dialog.GetGrid().GetCellState(1, last) & GRID_STATE_READONLY) != 0);
        dialog.DestroyWindow();
    }
    EXPECT_EQ(nullptr, CSensorCurvePreset::FindByButton(1440));
}

}  // namespace
