// The continuous calibration window under Wine: live cycles with OBD fuel trims arrive as
// 0x602; the core runs on a test clock; every point found is recorded on the recording map
// and folded in full.
#include "calib/CalibratorContDlg.h"

#include "calib/CalibratorCoreCont.h"
#include "link/DataHandlerMessages.h"
#include "tests/calib/CTestClock.h"
#include "tests/calib/dialogs/CRecordingMap.h"
#include "tests/calib/dialogs/CalibDialogHost.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Dlg = CalibratorContDlg;

class CalibratorContDlgTest : public CalibDialogHost {
protected:
    void SetUp() override {
        CalibDialogHost::SetUp();
        ConnectIdle();
        map.base = 10;
        map.cells[2] = 5;  // the cell at 2000 1/min
        map.SaveMatrix();
        core.SetClock(clock);
        // A steady speed passes the trend test (the default asks for a rising one).
        core.GetParameters().maxRevsDescentDeg = 10.0;
        dialog.SetClock(clock);
        dialog.SetConfigDynamic(&map);
        dialog.SetDataHandler(&handler);
        dialog.SetResourceManager(&resources);
        dialog.SetFontCache(&fonts);
        dialog.SetCore(&core);
        ASSERT_TRUE(dialog.Create(Dlg::kTemplateId, &page));
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    void Live(const LiveCycle& c) {
        SetLiveElements(c);
        clock.Advance(100);
        SendMessageA(dialog.GetSafeHwnd(), WM_DH_NEW_DATA, 0, 0);
    }

    bool LiveUntilPrefix(const LiveCycle& c, const std::string& prefix, int limit = 100) {
        for (int i = 0; i < limit; ++i) {
            Live(c);
            if (Status().rfind(prefix, 0) == 0) {
                return true;
            }
        }
        return false;
    }

    void Start(const LiveCycle& c = LiveCycle{}) {
        Live(c);
        Click(dialog, Dlg::kStartId);
    }

    std::string Status() { return ItemText(dialog, Dlg::kStatusId); }

    CRecordingMap map;
    CTestClock clock;
    CalibratorCoreCont core;
    Dlg dialog{&page};
};

TEST_F(CalibratorContDlgTest, RecordsAndFoldsEveryPointOfARun) {
    EXPECT_EQ(Status(), "Start ...");
    EXPECT_EQ(ItemText(dialog, Dlg::kUseLongLabelId), "use long value(s)");
    LiveCycle trims;
    trims.shortTrim1 = 10;
    Start(trims);
    EXPECT_EQ(ItemText(dialog, Dlg::kStartId), "STOP");
    EXPECT_EQ(dialog.GetRunningMode(), Dlg::kModeRunning);
    for (int id : {Dlg::kOkId, Dlg::kCancelId, Dlg::kUseLongId, Dlg::kUseLongLabelId, Dlg::kUndoId}) {
        EXPECT_FALSE(ItemEnabled(dialog, id)) << id;
    }
    Live(trims);
    EXPECT_EQ(queue.FirstBytesOf(32), std::vector<int>({0xBB}));

    // Percent in effect: cell 5 + base 10; the mean trim 10 counts 95 %: 9.
    ASSERT_TRUE(LiveUntilPrefix(trims, "Finished."));
    EXPECT_EQ(Status(), "Finished. (24%)");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusGreen);
    ASSERT_EQ(map.measurements.size(), 1u);
    EXPECT_EQ(map.measurements[0].percent, 24);
    EXPECT_EQ(map.measurements[0].rpm, 2000);
    EXPECT_EQ(map.measurements[0].kind, 1);
    EXPECT_EQ(map.calls.back(), "combine 10 full");
    EXPECT_EQ(map.cells[2], 14);
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kOkId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kUseLongId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kUndoId));
    EXPECT_EQ(dialog.GetRunningMode(), 0);

    // The core goes on by itself: the next point starts from the folded map.
    ASSERT_TRUE(LiveUntilPrefix(trims, "Measuring ..."));
    ASSERT_TRUE(LiveUntilPrefix(trims, "Finished."));
    EXPECT_EQ(Status(), "Finished. (33%)");
    ASSERT_EQ(map.measurements.size(), 2u);
    EXPECT_EQ(queue.FirstBytesOf(32), std::vector<int>({0xBB, 0xBB}));
}

TEST_F(CalibratorContDlgTest, UndoAfterTheOnlyPointRestoresTheSavedMap) {
    LiveCycle trims;
    trims.shortTrim1 = 10;
    Start(trims);
    ASSERT_TRUE(LiveUntilPrefix(trims, "Finished."));
    Click(dialog, Dlg::kStartId);
    EXPECT_EQ(Status(), "Stopped.");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusOrange);
    EXPECT_EQ(core.GetState(), CalibratorCoreCont::kStateStopped);
    map.calls.clear();
    Click(dialog, Dlg::kUndoId);
    EXPECT_EQ(map.calls, std::vector<std::string>({"undo", "restore", "coverage"}));
    EXPECT_EQ(map.cells[2], 5);
    EXPECT_EQ(map.base, 10);
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kUndoId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kRedoId));
    map.calls.clear();
    Click(dialog, Dlg::kRedoId);
    EXPECT_EQ(map.calls, std::vector<std::string>({"redo", "combine 10 full", "coverage"}));
}

TEST_F(CalibratorContDlgTest, TheCheckBoxTogglesOnlyWhileNoRunIsOn) {
    Click(dialog, Dlg::kUseLongId);
    EXPECT_EQ(core.GetUseLongTrim(), 1);
    Start();
    Click(dialog, Dlg::kUseLongId);
    EXPECT_EQ(core.GetUseLongTrim(), 1);
    SendMessageA(dialog.GetSafeHwnd(), WM_DH_STATUS_CHANGED, 1, 7);
    EXPECT_EQ(Status(), "Aborted. Connection lost.");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusRed);
    EXPECT_EQ(core.GetState(), CalibratorCoreCont::kStateStopped);
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kUseLongId));
    Click(dialog, Dlg::kUseLongId);
    EXPECT_EQ(core.GetUseLongTrim(), 0);
}

TEST_F(CalibratorContDlgTest, StatusLineFollowsTheCoreCodes) {
    Live(LiveCycle{400});
    Click(dialog, Dlg::kStartId);
    EXPECT_EQ(Status(), "Rev failure.");
    EXPECT_EQ(core.GetState(), CalibratorCoreCont::kStateIdle);

    LiveCycle cold;
    cold.temperatureC = 60;
    Start(cold);
    Live(cold);
    EXPECT_EQ(Status(),
              "Waiting for sufficient engine temperature (70 \xb0"
              "C).");

    struct Row {
        const char* name;
        LiveCycle cycle;
        const char* status;
        COLORREF color;
    };

    LiveCycle invalid;
    invalid.validity = 0x07;
    LiveCycle openLoop;
    openLoop.status1 = 1;
    LiveCycle slow;
    slow.rpm = 400;
    LiveCycle petrol;
    petrol.fuel = 0;
    const Row rows[] = {
        {"steady", LiveCycle{}, "Measuring ...", Dlg::kStatusLight},
        {"trims invalid", invalid, "Waiting for connection to OBD ...", Dlg::kStatusOrange},
        {"open loop", openLoop, "Waiting for closed loop ...", Dlg::kStatusOrange},
        {"too slow", slow, "Waiting for revs ...", Dlg::kStatusOrange},
        {"gas lost", petrol, "Aborted. Gas mode lost.", Dlg::kStatusRed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Live(row.cycle);
        Live(row.cycle);
        EXPECT_EQ(Status(), row.status);
        EXPECT_EQ(dialog.GetStatusColor(), row.color);
    }
    EXPECT_EQ(ItemText(dialog, Dlg::kStartId), "START");
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kOkId));
}

TEST_F(CalibratorContDlgTest, EscapeStopsARunAndOtherwiseCancels) {
    Start();
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Status(), "Stopped.");
    EXPECT_TRUE(dialog.IsWindowVisible());
    map.measurements.push_back({2000, 4.0, 12, 1});
    answer = IDCANCEL;
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(dialog.IsWindowVisible()) << "the question was answered with Cancel";
    answer = IDOK;
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(dialog.IsWindowVisible());
}

}  // namespace
