// The firmware update progress dialog under Wine: its first texts and layout, the progress
// reports handed in by the main window, the connection status posted by the data handler,
// and the one way out through Close.
#include "firmware/CFirmwareUpdateDlg.h"

#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <commctrl.h>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr char kInitializing[] = "Initializing: 0%.";
constexpr char kWaiting[] = "Waiting ...";
constexpr char kProgramming[] = "Programming ...";
constexpr char kFinished[] = "Finished successfully.";
constexpr char kWriteError[] = "Write error. You have to restart updating.";
constexpr char kBroken[] = "The update is broken. You have to restart updating.";
constexpr char kAborted[] = "Aborted. Connection lost. You have to restart updating.";

class FirmwareUpdateDlgTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        dialog.SetDataHandler(&handler);
        dialog.SetResourceManager(&resources);
        dialog.SetFontCache(&fonts);
        dialog.SetScale(1.5, 1.25);
        handler.RegisterWindow(&dialog);
    }

    void TearDown() override { handler.UnregisterWindow(&dialog); }

    void Open() {
        ASSERT_TRUE(dialog.Create(CFirmwareUpdateDlg::kTemplateId, &main));
        PumpMessages();
    }

    HWND Item(int id) const { return GetDlgItem(dialog.GetSafeHwnd(), id); }

    std::string Phase() const { return WindowText(Item(CFirmwareUpdateDlg::kPhaseTextId)); }

    std::string Status() const { return WindowText(Item(CFirmwareUpdateDlg::kStatusTextId)); }

    bool CloseEnabled() const { return IsWindowEnabled(Item(CFirmwareUpdateDlg::kCloseId)) != FALSE; }

    const CTimedProgressCtrl* Bar() const {
        return static_cast<const CTimedProgressCtrl*>(
            CWnd::FromHandlePermanent(Item(CFirmwareUpdateDlg::kProgressId)));
    }

    // The data handler announces a new connection status as the communicator's thread would.
    void StatusArrives(int status) {
        handler.DataHandler(status, 7);
        PumpMessages();
    }

    // A status broadcast as posted to the dialog, whatever the handler's own status.
    void StatusPosted(int status) {
        dialog.PostMessage(WM_DH_STATUS_CHANGED, status, 7);
        PumpMessages();
    }

    CFirmwareUpdateDlg dialog{nullptr};
};

TEST_F(FirmwareUpdateDlgTest, OpensCentredOnItsParentWithItsFirstTextsAndCloseDisabled) {
    Open();
    EXPECT_EQ(WindowText(dialog.GetSafeHwnd()), "MCU Firmware Updating");
    EXPECT_EQ(Phase(), kInitializing);
    EXPECT_EQ(Status(), kWaiting);
    EXPECT_EQ(WindowText(Item(CFirmwareUpdateDlg::kCloseId)), "Close");
    EXPECT_FALSE(CloseEnabled());
    EXPECT_EQ(dialog.GetLastCode(), 0);

    RECT window = {};
    RECT parent = {};
    dialog.GetWindowRect(&window);
    main.GetWindowRect(&parent);
    EXPECT_EQ(window.right - window.left, 420);  // 280 x 1.5
    EXPECT_EQ(window.bottom - window.top, 200);  // 160 x 1.25
    EXPECT_EQ(window.left, (parent.left + parent.right) / 2 - 210);
    EXPECT_EQ(window.top, (parent.top + parent.bottom) / 2 - 100);

    int lower = -1;
    int upper = -1;
    ASSERT_NE(Bar(), nullptr);
    Bar()->GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 1000);
}

struct ProgressCase {
    int code;
    int perMille;
    const char* phase;
    const char* status;
    bool closeEnabled;
    int barTarget;  // bar units (0..10000) the bar glides to
};

// Each report after a writing report at 50%, so that "unchanged" is visible.
const ProgressCase kProgressCases[] = {
    {5, 120, "Erasing: 12%.", kProgramming, false, 1200},
    {4, 999, "Writing: 99%.", kProgramming, false, 9990},
    {3, 1000, "Writing: 100%.", kFinished, true, 10000},
    {1, 0, "Writing: 50%.", kWriteError, true, 5000},
    {2, 0, "Writing: 50%.", kBroken, true, 5000},
    {7, 300, "Writing: 50%.", kProgramming, false, 5000},
};

TEST_F(FirmwareUpdateDlgTest, ShowsEachProgressReportAsItsCodeSays) {
    Open();
    for (const ProgressCase& c : kProgressCases) {
        SCOPED_TRACE(c.code);
        dialog.OnUpdateProgress(4, 500);
        dialog.OnUpdateProgress(c.code, c.perMille);
        EXPECT_EQ(dialog.GetLastCode(), c.code);
        EXPECT_EQ(Phase(), c.phase);
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(CloseEnabled(), c.closeEnabled);
        EXPECT_EQ(Bar()->GetTargetUnits(), c.barTarget);
    }
}

TEST_F(FirmwareUpdateDlgTest, LosingTheConnectionAbortsOnlyWhileTheUploadRuns) {
    struct Case {
        int lastCode;  // 0: no report before the status change
        int status;
        const char* statusText;
        bool closeEnabled;
    };

    const Case cases[] = {
        {0, 1, kAborted, true},    {5, 2, kAborted, true},      {4, 1, kAborted, true},
        {0, 5, kWaiting, false},   {4, 5, kProgramming, false}, {3, 1, kFinished, true},
        {1, 1, kWriteError, true}, {2, 6, kBroken, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lastCode << " then status " << c.status);
        Open();
        if (c.lastCode != 0) {
            dialog.OnUpdateProgress(c.lastCode, 500);
        }
        StatusPosted(c.status);
        EXPECT_EQ(Status(), c.statusText);
        EXPECT_EQ(CloseEnabled(), c.closeEnabled);
        EXPECT_EQ(dialog.GetLastCode(), c.lastCode);
        dialog.DestroyWindow();
    }
}

TEST_F(FirmwareUpdateDlgTest, AReportAfterTheAbortStillActs) {
    Open();
    StatusArrives(1);
    ASSERT_EQ(Status(), kAborted);
    dialog.OnUpdateProgress(3, 1000);
    EXPECT_EQ(Status(), kFinished);
    EXPECT_EQ(Phase(), "Writing: 100%.");
}

// The modal run as the main dialog drives it: while Close is disabled Enter, Escape and the
// close box leave the dialog open; Close ends it with 1 once the upload finished.
struct ModalScript {
    CFirmwareUpdateDlg* dialog = nullptr;
    bool openAfterKeys = false;
    bool openAfterDisabledClose = false;
};

ModalScript* g_script = nullptr;

void CALLBACK DriveModalRun(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ModalScript& script = *g_script;
    const HWND window = script.dialog->GetSafeHwnd();
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    PumpMessages();
    script.openAfterKeys = IsWindow(window) && IsWindowVisible(window);
    const HWND close = GetDlgItem(window, CFirmwareUpdateDlg::kCloseId);
    SendMessageA(close, BM_CLICK, 0, 0);
    PumpMessages();
    script.openAfterDisabledClose = IsWindow(window) && IsWindowVisible(window);
    script.dialog->OnUpdateProgress(3, 1000);
    SendMessageA(close, BM_CLICK, 0, 0);
}

TEST_F(FirmwareUpdateDlgTest, EndsOnlyThroughCloseWithResultOne) {
    CFirmwareUpdateDlg modal(&main);
    modal.SetResourceManager(&resources);
    modal.SetFontCache(&fonts);
    ModalScript script;
    script.dialog = &modal;
    g_script = &script;
    SetTimer(nullptr, 0, 50, &DriveModalRun);
    EXPECT_EQ(modal.DoModal(), 1);
    g_script = nullptr;
    EXPECT_TRUE(script.openAfterKeys);
    EXPECT_TRUE(script.openAfterDisabledClose);
}

}  // namespace
