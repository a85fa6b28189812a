// The point calibration window under Wine: live cycles arrive as 0x602 over a data handler
// whose unit is connected; the core runs on a test clock; the map records what the dialog
// does with it; the status line, the buttons, the element-32 requests on the link and the
// log are checked.
#include "calib/CalibratorPts.h"

#include "calib/CalibratorCore.h"
#include "link/DataHandlerMessages.h"
#include "res/ResourceIds.h"
#include "tests/calib/CLogCapture.h"
#include "tests/calib/CTestClock.h"
#include "tests/calib/dialogs/CRecordingMap.h"
#include "tests/calib/dialogs/CalibDialogHost.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Dlg = CalibratorPts;

constexpr int kFuelRequest = 32;
constexpr int kPetrol = 0;
constexpr int kGas = 255;

struct Cycle {
    int rpm = 2000;
    int injectionUs = 4000;
    int fuel = kPetrol;
    int lambda = 255;
    int temperatureC = 80;
};

class CalibratorPtsTest : public CalibDialogHost {
protected:
    void SetUp() override {
        CalibDialogHost::SetUp();
        ConnectIdle();
        map.base = 10;
        map.cells[2] = 5;  // the cell at 2000 1/min
        map.SaveMatrix();
        core.SetClock(clock);
        dialog.SetClock(clock);
        dialog.SetConfigDynamic(&map);
        dialog.SetDataHandler(&handler);
        dialog.SetResourceManager(&resources);
        dialog.SetFontCache(&fonts);
        dialog.SetScale(1.0, 1.0);
        dialog.SetCore(&core);
    }

    void Open() {
        ASSERT_TRUE(dialog.Create(Dlg::kTemplateId, &page));
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    // One live cycle: the elements as the unit reports them, then 0x602.
    void Live(const Cycle& c, DWORD elapsedMs = 100) {
        SetElement(26, {static_cast<BYTE>(c.rpm & 0xFF), static_cast<BYTE>(c.rpm >> 8)});
        std::vector<BYTE> times;
        for (int i = 0; i < 8; ++i) {
            times.push_back(static_cast<BYTE>(c.injectionUs & 0xFF));
            times.push_back(static_cast<BYTE>(c.injectionUs >> 8));
        }
        SetElement(27, times);
        SetElement(kEngineStatus, {static_cast<BYTE>(c.fuel), 0, 0, 255, 0});
        SetElement(31, {static_cast<BYTE>(c.temperatureC)});
        SetElement(54, {static_cast<BYTE>(c.lambda)});
        clock.Advance(elapsedMs);
        SendMessageA(dialog.GetSafeHwnd(), WM_DH_NEW_DATA, 0, 0);
    }

    // Live cycles until the status line reads text; false when it never does.
    bool LiveUntil(const Cycle& c, const std::string& text, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            Live(c);
            if (Status() == text) {
                return true;
            }
        }
        return false;
    }

    std::string Status() { return ItemText(dialog, Dlg::kStatusId); }

    std::vector<int> FuelRequests() const { return queue.FirstBytesOf(kFuelRequest); }

    bool Called(const std::string& call) const {
        return std::find(map.calls.begin(), map.calls.end(), call) != map.calls.end();
    }

    // Started with the green button at 2000 1/min and 4.00 ms, through the petrol stage
    // up to the switch to gas.
    void RunToGas() {
        Live(Cycle{});
        Click(dialog, Dlg::kGreenLambdaId);
        ASSERT_TRUE(LiveUntil(Cycle{}, "Switching to gas mode ..."));
    }

    CRecordingMap map;
    CTestClock clock;
    CalibratorCore core;
    Dlg dialog{&page};
};

TEST_F(CalibratorPtsTest, OpensIdleOverThePageAndDragsByItsBody) {
    Open();
    EXPECT_EQ(Status(), "Start ...");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusGrey);
    EXPECT_EQ(ItemText(dialog, Dlg::kTotalizeId), "Totalize");
    EXPECT_EQ(ItemText(dialog, Dlg::kAcceptId), "Accept");
    EXPECT_EQ(ItemText(dialog, Dlg::kCancelId), "Cancel");
    EXPECT_EQ(ItemText(dialog, Dlg::kFrameId), "START");
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kUndoId));
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kRedoId));
    EXPECT_FALSE(ItemVisible(dialog, Dlg::kIgnoreId));

    POINT origin = {240, 236};
    ClientToScreen(page.GetSafeHwnd(), &origin);
    RECT window;
    GetWindowRect(dialog.GetSafeHwnd(), &window);
    EXPECT_EQ(window.left, origin.x);
    EXPECT_EQ(window.top, origin.y);
    EXPECT_EQ(window.right - window.left, 294);
    EXPECT_EQ(window.bottom - window.top, 140);

    const HWND hwnd = dialog.GetSafeHwnd();
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 30));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(40, 30));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 90));
    RECT moved;
    GetWindowRect(hwnd, &moved);
    EXPECT_EQ(moved.left, window.left + 30);
    EXPECT_EQ(moved.top, window.top + 20);
    EXPECT_EQ(moved.right - moved.left, 294);
}

TEST_F(CalibratorPtsTest, StartsOnlyAbove400RpmAndTheFirstButtonStopsTheRun) {
    Open();
    Live(Cycle{400});
    Click(dialog, Dlg::kGreenLambdaId);
    EXPECT_EQ(Status(), "Rev failure.");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusLight);
    EXPECT_EQ(core.GetState(), CalibratorCore::kStateIdle);

    Live(Cycle{401});
    Click(dialog, Dlg::kGreenLambdaId);
    EXPECT_EQ(Status(), "Start ...");
    EXPECT_EQ(dialog.GetRunningMode(), Dlg::kModeGreen);
    EXPECT_EQ(core.GetState(), CalibratorCore::kStateStart);
    EXPECT_EQ(ItemText(dialog, Dlg::kFrameId), "STOP");
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kGreenLambdaId));
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kRedLambdaId));
    for (int id : {Dlg::kTotalizeId, Dlg::kAcceptId, Dlg::kCancelId, Dlg::kUndoId, Dlg::kRedoId}) {
        EXPECT_FALSE(ItemEnabled(dialog, id)) << id;
    }
    EXPECT_EQ(dialog.GetSavedBase(), 10);

    Click(dialog, Dlg::kGreenLambdaId);
    EXPECT_EQ(Status(), "Cancelled by the user.");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusRed);
    EXPECT_EQ(core.GetState(), CalibratorCore::kStateStopped);
    EXPECT_EQ(FuelRequests(), std::vector<int>({0}));
    EXPECT_EQ(ItemText(dialog, Dlg::kFrameId), "START");
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kRedLambdaId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kTotalizeId));
    EXPECT_TRUE(Called("combine 10 masked"));
    EXPECT_EQ(map.base, 10);
}

TEST_F(CalibratorPtsTest, ARunMeasuresPetrolThenGasAndRecordsTheResult) {
    Open();
    RunToGas();
    // Petrol stage asked for petrol, the switch for gas with one percent everywhere: the
    // cell at the point (5) plus the base (10).
    EXPECT_EQ(FuelRequests(), std::vector<int>({0, 0xBB}));
    EXPECT_TRUE(Called("fill 0 (0,0)-(1,3)"));
    EXPECT_EQ(map.base, 15);
    EXPECT_EQ(dialog.GetPercentInEffect(), 15);

    Cycle gas;
    gas.fuel = kGas;
    gas.injectionUs = 4200;
    bool done = false;
    for (int i = 0; i < 400 && !done; ++i) {
        Live(gas);
        done = Status().rfind("Finished. (", 0) == 0;
    }
    ASSERT_TRUE(done);
    const int result = core.GetResultPercent();
    EXPECT_GT(result, 15) << "gas needed more time than petrol";
    EXPECT_EQ(Status(), "Finished. (" + std::to_string(result) + "%)");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusGreen);
    EXPECT_EQ(FuelRequests(), std::vector<int>({0, 0xBB, 0}));
    ASSERT_EQ(map.measurements.size(), 1u);
    EXPECT_EQ(map.measurements[0].rpm, 2000);
    EXPECT_DOUBLE_EQ(map.measurements[0].injectionMs, 4.0);
    EXPECT_EQ(map.measurements[0].percent, result);
    EXPECT_EQ(map.measurements[0].kind, 1);
    // The preview is folded relative to the base saved at the start, which is back in place.
    const std::vector<std::string> tail(map.calls.end() - 5, map.calls.end());
    EXPECT_EQ(tail, std::vector<std::string>({"base " + std::to_string(result),
                                              "add 2000 4.00 " + std::to_string(result) + " 1",
                                              "clear undone", "combine 10 masked", "base 10"}));
    EXPECT_EQ(map.base, 10);
    EXPECT_EQ(map.cells[2], result - 10);
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kUndoId));
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kRedoId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kAcceptId));
    EXPECT_EQ(dialog.GetRunningMode(), 0);

    // The arrows and the page's accelerators take the measurement back and forth.
    map.calls.clear();
    Click(dialog, Dlg::kUndoId);
    EXPECT_EQ(map.calls, std::vector<std::string>({"undo", "combine 10 masked", "base 10", "coverage"}));
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kUndoId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kRedoId));
    EXPECT_EQ(map.cells[2], 5);
    map.calls.clear();
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, ID_ACCEL_UNDO, 0);
    EXPECT_TRUE(map.calls.empty()) << "Ctrl+Z acted while \"<=\" was disabled";
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, ID_ACCEL_REDO, 0);
    EXPECT_EQ(map.calls, std::vector<std::string>({"redo", "combine 10 masked", "base 10", "coverage"}));
    EXPECT_EQ(map.measurements.size(), 1u);
}

TEST_F(CalibratorPtsTest, StatusLineFollowsTheCoreCodes) {
    Open();
    Live(Cycle{});
    Click(dialog, Dlg::kGreenLambdaId);
    Live(Cycle{});
    EXPECT_EQ(Status(), "Measuring in petrol mode.");

    struct Row {
        const char* name;
        Cycle cycle;
        const char* status;
        COLORREF color;
    };

    const Row rows[] = {
        {"cold engine",
         {2000, 4000, kPetrol, 255, 60},
         "Waiting for sufficient engine temperature (70 \xb0"
         "C).",
         Dlg::kStatusLight},
        {"not on petrol", {2000, 4000, kGas}, "Waiting for petrol mode.", Dlg::kStatusLight},
        {"lambda unsettled",
         {2000, 4000, kPetrol, 0},
         "Waiting for stable lambda control.",
         Dlg::kStatusOrange},
        {"speed off target", {2500, 4000}, "Please hold rev in position.", Dlg::kStatusOrange},
        {"injection off target", {2000, 9000}, "Please hold injection in position.", Dlg::kStatusOrange},
        {"back in position", {2000, 4000}, "Measuring in petrol mode.", Dlg::kStatusLight},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int i = 0; i < 4; ++i) {
            Live(row.cycle);
        }
        EXPECT_EQ(Status(), row.status);
        EXPECT_EQ(dialog.GetStatusColor(), row.color);
    }
}

TEST_F(CalibratorPtsTest, IgnoreAppearsOnTheLambdaWaitAndGoesFiveSecondsAfterTheLast) {
    Open();
    Live(Cycle{});
    Click(dialog, Dlg::kGreenLambdaId);
    Live(Cycle{});
    Cycle unsettled;
    unsettled.lambda = 0;
    Live(unsettled);
    ASSERT_EQ(Status(), "Waiting for stable lambda control.");
    EXPECT_TRUE(ItemVisible(dialog, Dlg::kIgnoreId));
    Live(unsettled, 2000);  // the last request to wait
    Cycle moved;
    moved.rpm = 2500;
    Live(moved, 2500);
    ASSERT_EQ(Status(), "Please hold rev in position.");
    Live(moved, 2500);
    EXPECT_TRUE(ItemVisible(dialog, Dlg::kIgnoreId)) << "hidden 5 s after the last wait, not before";
    Live(moved, 100);
    EXPECT_FALSE(ItemVisible(dialog, Dlg::kIgnoreId));

    // "Ignore" makes the core skip the lambda test.
    Live(unsettled);
    ASSERT_TRUE(ItemVisible(dialog, Dlg::kIgnoreId));
    Click(dialog, Dlg::kIgnoreId);
    Live(unsettled);
    EXPECT_EQ(Status(), "Measuring in petrol mode.");
}

TEST_F(CalibratorPtsTest, TheRedButtonStartsWithoutTheLambdaWait) {
    Open();
    Live(Cycle{});
    Click(dialog, Dlg::kRedLambdaId);
    EXPECT_EQ(dialog.GetRunningMode(), Dlg::kModeRed);
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kGreenLambdaId));
    Cycle unsettled;
    unsettled.lambda = 0;
    Live(unsettled);
    Live(unsettled);
    EXPECT_EQ(Status(), "Measuring in petrol mode.");
    // Escape during a run stops it as the button that started it.
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Status(), "Cancelled by the user.");
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(dialog.GetRunningMode(), 0);
}

// A link loss after the switch to gas would leave every cell at 0 and the base at the point's
// percent, and the next start would take that as the base: the preview is put back.
TEST_F(CalibratorPtsTest, ALinkLossDuringTheGasStageAbortsAndPutsThePreviewBack) {
    Open();
    RunToGas();
    ASSERT_EQ(map.base, 15);
    CLogCapture log;
    const size_t requestsBefore = queue.writes.size();
    handler.DataHandler(1, 7);
    PumpMessages();
    EXPECT_EQ(Status(), "Aborted. Connection lost.");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusRed);
    EXPECT_EQ(core.GetState(), CalibratorCore::kStateStopped);
    EXPECT_EQ(queue.writes.size(), requestsBefore) << "element 32 written with the link down";
    EXPECT_EQ(map.base, 10);
    EXPECT_EQ(map.cells[2], 5);
    EXPECT_EQ(ItemText(dialog, Dlg::kRevValueId), "0 1/min");
    EXPECT_EQ(ItemText(dialog, Dlg::kInjsValueId), "0.00 ms");
    EXPECT_EQ(ItemText(dialog, Dlg::kFrameId), "START");
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kRedLambdaId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kCancelId));
    const std::vector<std::string> lines = log.MessagesStartingWith("CalibratorPts:");
    EXPECT_EQ(lines, std::vector<std::string>({"CalibratorPts: aborted. connection lost."}));

    // The next start saves the original base again.
    handler.DataHandler(2, 7);
    PumpMessages();
    Live(Cycle{});
    Click(dialog, Dlg::kGreenLambdaId);
    EXPECT_EQ(dialog.GetSavedBase(), 10);
}

TEST_F(CalibratorPtsTest, ALinkLossWhileIdleResetsTheDisplayAndLogs) {
    Open();
    Live(Cycle{1500, 3000});
    EXPECT_EQ(ItemText(dialog, Dlg::kRevValueId), "1500 1/min");
    EXPECT_EQ(ItemText(dialog, Dlg::kInjsValueId), "3.00 ms");
    CLogCapture log;
    SendMessageA(dialog.GetSafeHwnd(), WM_DH_STATUS_CHANGED, 1, 7);
    EXPECT_EQ(Status(), "Start ...") << "no run to abort";
    EXPECT_EQ(ItemText(dialog, Dlg::kRevValueId), "0 1/min");
    EXPECT_EQ(ItemText(dialog, Dlg::kInjsValueId), "0.00 ms");
    EXPECT_EQ(log.MessagesStartingWith("CalibratorPts:").size(), 1u);
    EXPECT_TRUE(map.calls.empty());
}

TEST_F(CalibratorPtsTest, EndButtonsGiveTheirResults) {
    struct Row {
        int button;
        bool newMeasurement;
        int answer;
        INT_PTR result;
        size_t questions;
    };

    const Row rows[] = {
        {Dlg::kTotalizeId, true, IDOK, Dlg::kResultTotalize, 0},
        {Dlg::kAcceptId, true, IDOK, Dlg::kResultAccept, 0},
        {Dlg::kCancelId, false, IDOK, IDCANCEL, 0},
        {Dlg::kCancelId, true, IDOK, IDCANCEL, 1},
        {Dlg::kCancelId, true, IDCANCEL, kGaveUp, 1},
        {IDCANCEL, false, IDOK, IDCANCEL, 0},
        {IDOK, false, IDOK, kGaveUp, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.button) + (row.newMeasurement ? " with" : " without"));
        map.measurements.clear();
        if (row.newMeasurement) {
            map.measurements.push_back({2000, 4.0, 12, 1});
        }
        boxes.clear();
        boxTypes.clear();
        answer = row.answer;
        Dlg modal(&page);
        modal.SetConfigDynamic(&map);
        modal.SetDataHandler(&handler);
        modal.SetResourceManager(&resources);
        modal.SetCore(&core);
        const INT_PTR result = RunModal(modal, [&] { Click(modal, row.button); });
        EXPECT_EQ(result, row.result);
        ASSERT_EQ(boxes.size(), row.questions);
        if (row.questions > 0) {
            EXPECT_EQ(boxes[0],
                      "Are you sure you want to cancel calibration?\nMeasurements have been come by this "
                      "operation will be lost.");
            EXPECT_EQ(boxTypes[0], static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
        }
    }
}

}  // namespace
