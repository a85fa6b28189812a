// The adaptive calibration window under Wine: the core measures the trim at the percent in
// effect, the dialog moves the base, the core measures again and the result is recorded on
// the recording map and folded in full.
#include "calib/CalibratorAdapDlg.h"

#include "calib/CalibratorCoreAdap.h"
#include "link/DataHandlerMessages.h"
#include "tests/calib/CTestClock.h"
#include "tests/calib/dialogs/CRecordingMap.h"
#include "tests/calib/dialogs/CalibDialogHost.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Dlg = CalibratorAdapDlg;

class CalibratorAdapDlgTest : public CalibDialogHost {
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
        dialog.SetCore(&core);
        ASSERT_TRUE(dialog.Create(Dlg::kTemplateId, &page));
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    void Live(const LiveCycle& c) {
        SetLiveElements(c);
        clock.Advance(250);
        SendMessageA(dialog.GetSafeHwnd(), WM_DH_NEW_DATA, 0, 0);
    }

    // Live cycles until the core's state is state; false when it never is.
    bool LiveUntilState(const LiveCycle& c, int state, int limit = 100) {
        for (int i = 0; i < limit; ++i) {
            Live(c);
            if (core.GetState() == state) {
                return true;
            }
        }
        return false;
    }

    static LiveCycle Trim(int shortTrim) {
        LiveCycle c;
        c.shortTrim1 = shortTrim;
        return c;
    }

    std::string Status() { return ItemText(dialog, Dlg::kStatusId); }

    CRecordingMap map;
    CTestClock clock;
    CalibratorCoreAdap core;
    Dlg dialog{&page};
};

TEST_F(CalibratorAdapDlgTest, MovesTheBaseAfterTheFirstStageAndRecordsTheResult) {
    EXPECT_EQ(dialog.GetSavedBase(), 10);
    Live(Trim(8));
    Click(dialog, Dlg::kStartId);
    EXPECT_EQ(Status(), "Start ...");
    EXPECT_EQ(ItemText(dialog, Dlg::kStartId), "STOP");
    EXPECT_FALSE(ItemEnabled(dialog, Dlg::kOkId));
    Live(Trim(8));
    EXPECT_EQ(queue.FirstBytesOf(32), std::vector<int>({0xBB}));

    // Trim 8 at 15 % (cell 5 + base 10) counts 95 %: 7, so the point needs 22 %.
    ASSERT_TRUE(LiveUntilState(Trim(8), CalibratorCoreAdap::kStateExchange));
    EXPECT_EQ(map.base, 17) << "the base moved by the new percent less the percent in effect";
    EXPECT_EQ(Status(), "Measuring ...");

    // At 22 % the trim is nearly gone: finished at that percent.
    ASSERT_TRUE(LiveUntilState(Trim(2), CalibratorCoreAdap::kStateFinished));
    EXPECT_EQ(Status(), "Finished. (22%)");
    EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusGreen);
    ASSERT_EQ(map.measurements.size(), 1u);
    EXPECT_EQ(map.measurements[0].percent, 22);
    EXPECT_EQ(map.measurements[0].rpm, 2000);
    EXPECT_EQ(map.measurements[0].kind, 1);
    const std::vector<std::string> tail(map.calls.end() - 3, map.calls.end());
    EXPECT_EQ(tail, std::vector<std::string>({"combine 10 full", "base 10", "clear undone"}));
    EXPECT_EQ(map.base, 10);
    EXPECT_EQ(ItemText(dialog, Dlg::kStartId), "START");
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kOkId));
    EXPECT_TRUE(ItemEnabled(dialog, Dlg::kUndoId));
    EXPECT_EQ(dialog.GetRunningMode(), 0);
}

// A stop after the base was moved leaves neither the moved base nor the filled map behind.
TEST_F(CalibratorAdapDlgTest, AStopPutsTheSavedMapBack) {
    Live(Trim(8));
    Click(dialog, Dlg::kStartId);
    ASSERT_TRUE(LiveUntilState(Trim(8), CalibratorCoreAdap::kStateExchange));
    ASSERT_EQ(map.base, 17);
    Click(dialog, Dlg::kStartId);
    EXPECT_EQ(Status(), "Cancelled by the user.");
    EXPECT_EQ(core.GetState(), CalibratorCoreAdap::kStateAborted);
    EXPECT_EQ(map.calls.back(), "restore");
    EXPECT_EQ(map.base, 10);

    map.measurements.push_back({3000, 4.0, 12, 1});
    Live(Trim(8));
    Click(dialog, Dlg::kStartId);
    ASSERT_TRUE(LiveUntilState(Trim(8), CalibratorCoreAdap::kStateExchange));
    Click(dialog, Dlg::kStartId);
    const std::vector<std::string> tail(map.calls.end() - 2, map.calls.end());
    EXPECT_EQ(tail, std::vector<std::string>({"combine 10 full", "base 10"}));
    EXPECT_EQ(map.base, 10);
}

TEST_F(CalibratorAdapDlgTest, AbortsShowTheirCause) {
    struct Row {
        const char* name;
        LiveCycle cycle;
        const char* status;
    };

    LiveCycle invalid = Trim(8);
    invalid.validity = 0;
    LiveCycle petrol = Trim(8);
    petrol.fuel = 0;
    const Row rows[] = {
        {"trims invalid", invalid, "Lost connection to OBD"},
        {"gas lost", petrol, "Aborted. Gas mode lost."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Live(Trim(8));
        Click(dialog, Dlg::kStartId);
        Live(Trim(8));
        Live(Trim(8));
        Live(row.cycle);
        EXPECT_EQ(Status(), row.status);
        EXPECT_EQ(dialog.GetStatusColor(), Dlg::kStatusRed);
        EXPECT_EQ(core.GetState(), CalibratorCoreAdap::kStateAborted);
        EXPECT_EQ(ItemText(dialog, Dlg::kStartId), "START");
        EXPECT_TRUE(ItemEnabled(dialog, Dlg::kUseLongId));
    }
}

TEST_F(CalibratorAdapDlgTest, ShowsTheLiveTrimOfTheBanksInClosedLoop) {
    struct Row {
        const char* name;
        int shortTrim;
        int longTrim;
        int status;
        bool useLong;
        const char* shown;
    };

    const Row rows[] = {
        {"short trim only", 8, 4, 2, false, "8 %"},
        {"with the long trim", 8, 4, 2, true, "6 %"},
        {"negative", -7, 0, 16, false, "-7 %"},
        {"open loop", 8, 4, 1, false, "0 %"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        core.SetUseLongTrim(row.useLong ? 1 : 0);
        LiveCycle c;
        c.shortTrim1 = row.shortTrim;
        c.longTrim1 = row.longTrim;
        c.status1 = row.status;
        Live(c);
        EXPECT_EQ(ItemText(dialog, Dlg::kTrimValueId), row.shown);
        EXPECT_EQ(ItemText(dialog, Dlg::kSpeedValueId), "2000 1/min");
    }
    SendMessageA(dialog.GetSafeHwnd(), WM_DH_STATUS_CHANGED, 4, 7);
    EXPECT_EQ(ItemText(dialog, Dlg::kSpeedValueId), "2000 1/min") << "a jammed link is still up";
    SendMessageA(dialog.GetSafeHwnd(), WM_DH_STATUS_CHANGED, 1, 7);
    EXPECT_EQ(ItemText(dialog, Dlg::kSpeedValueId), "0 1/min");
    EXPECT_EQ(ItemText(dialog, Dlg::kTrimValueId), "0 %");
}

}  // namespace
