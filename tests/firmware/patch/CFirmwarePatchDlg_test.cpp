// The firmware patch progress dialog under Wine, driven through the data handler as the
// communicator's thread would: its first texts, a whole run, the failures, and the modal run
// that ends only through Close with the run's result.
#include "firmware/CFirmwarePatchDlg.h"

#include "firmware/CFirmwarePatch.h"
#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Machine = PatchTransferMachine;

constexpr char kFailed[] = "Failed. Connection lost. You have to restart patching.";

CByteArray Bytes(std::initializer_list<BYTE> list) {
    CByteArray bytes;
    for (BYTE b : list) {
        bytes.Add(b);
    }
    return bytes;
}

class FirmwarePatchDlgTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        patch.SetVersion(0x011E);
        patch.SetBuild(0x0405);
        patch.SetDate(2009, 3, 17);
        patch.SetRecord(4, 0, Bytes({1}));
        patch.SetRecord(5, 1, Bytes({2, 3}));
        patch.SetRecord(6, 0, Bytes({4}));
        Prepare(dialog);
        ConnectIdle();
    }

    void Prepare(CFirmwarePatchDlg& target) {
        target.SetDataHandler(&handler);
        target.SetResourceManager(&resources);
        target.SetFontCache(&fonts);
        target.SetPatch(&patch);
        target.SetScale(1.5, 1.25);
    }

    void Open() {
        ASSERT_TRUE(dialog.Create(CFirmwarePatchDlg::kTemplateId, &main));
        PumpMessages();
    }

    HWND Item(int id) const { return GetDlgItem(dialog.GetSafeHwnd(), id); }

    std::string Phase() const { return WindowText(Item(CFirmwarePatchDlg::kPhaseTextId)); }

    std::string Status() const { return WindowText(Item(CFirmwarePatchDlg::kStatusTextId)); }

    bool CloseEnabled() const { return IsWindowEnabled(Item(CFirmwarePatchDlg::kCloseId)) != FALSE; }

    const CTimedProgressCtrl* Bar() const {
        return static_cast<const CTimedProgressCtrl*>(CWnd::FromHandlePermanent(Item(CFirmwarePatchDlg::kProgressId)));
    }

    // The unit answers the last queued request with a status byte (for a packet: a good
    // answer carrying it), and the data handler announces the end of the transfer.
    void Answer(BYTE status) {
        ASSERT_FALSE(queue.requests.empty());
        const QueuedRequest request = queue.requests.back();
        if (request.element == Machine::kElementPacket) {
            request.destination[0] = 3;
            request.destination[3] = status;
        } else {
            handler.GetImage(kImageWorking)[handler.GetElementOffset(request.element)] = status;
        }
        CommRequest done;
        done.descriptor = handler.GetDescriptor(request.element);
        done.kind = kKindOrdinary;
        handler.OnTaskFinished(&done, 1);
        PumpMessages();
    }

    CFirmwarePatch patch;
    CFirmwarePatchDlg dialog{nullptr};
};

TEST_F(FirmwarePatchDlgTest, OpensWithItsFirstTextsAndStartsTheSession) {
    Open();
    EXPECT_EQ(WindowText(dialog.GetSafeHwnd()), "MCU Firmware Patching");
    EXPECT_EQ(Phase(), "Initializing: 0%.");
    EXPECT_EQ(Status(), "Waiting ...");
    EXPECT_EQ(WindowText(Item(CFirmwarePatchDlg::kCloseId)), "Close");
    EXPECT_FALSE(CloseEnabled());
    EXPECT_EQ(QueuedElements(), (std::vector<int>{Machine::kElementStart}));

    RECT window = {};
    RECT parent = {};
    dialog.GetWindowRect(&window);
    main.GetWindowRect(&parent);
    EXPECT_EQ(window.right - window.left, 420);  // 280 x 1.5
    EXPECT_EQ(window.bottom - window.top, 200);  // 160 x 1.25
    EXPECT_EQ(window.left, (parent.left + parent.right) / 2 - 210);

    int lower = -1;
    int upper = -1;
    ASSERT_NE(Bar(), nullptr);
    Bar()->GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 7);
    dialog.DestroyWindow();
}

TEST_F(FirmwarePatchDlgTest, ProgramsTheFlaggedRecordAndFinishes) {
    Open();
    Answer(0);
    EXPECT_EQ(Phase(), "Initializing: 14%.");
    EXPECT_EQ(Status(), "Programming ...");
    Answer(0);
    EXPECT_EQ(Phase(), "Writing: 28%.");
    Answer(0);
    Answer(0);
    EXPECT_EQ(Phase(), "Writing: 71%.");
    EXPECT_FALSE(CloseEnabled());
    Answer(0);
    EXPECT_EQ(Phase(), "Writing: 100%.");
    EXPECT_EQ(Status(), "Finished successfully.");
    EXPECT_TRUE(CloseEnabled());
    EXPECT_EQ(QueuedElements(), (std::vector<int>{114, 116, 116, 116, 115}));
    EXPECT_EQ(queue.requests[3].source[0], 4);
    EXPECT_EQ(queue.requests[3].source[2], 5);
    EXPECT_EQ(Bar()->GetTargetUnits(), 10000);
    EXPECT_EQ(dialog.GetTransfer().GetResult(), Machine::kResultDone);
    dialog.DestroyWindow();
}

// The link may also go while the user chooses the file, before the dialog listens for the
// status: it opens failed, with Close offered.
TEST_F(FirmwarePatchDlgTest, ShowsTheFailureTextWhenTheUnitRefusesOrTheLinkGoes) {
    enum class Failure {
        UnitRefuses,
        LinkGoes,
        LinkGoneBeforeOpening
    };

    struct Case {
        Failure failure;
        int result;
    };

    const Case cases[] = {{Failure::UnitRefuses, Machine::kResultUnitFailed},
                          {Failure::LinkGoes, Machine::kResultConnectionLost},
                          {Failure::LinkGoneBeforeOpening, Machine::kResultConnectionLost}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.failure));
        ConnectIdle();
        if (c.failure == Failure::LinkGoneBeforeOpening) {
            handler.DataHandler(1, 7);
            PumpMessages();
            Open();
            EXPECT_TRUE(queue.requests.empty());
        } else {
            Open();
            Answer(0);
        }
        if (c.failure == Failure::LinkGoes) {
            handler.DataHandler(1, 7);
            PumpMessages();
        } else if (c.failure == Failure::UnitRefuses) {
            Answer(0x20);
        }
        EXPECT_EQ(Status(), kFailed);
        EXPECT_TRUE(CloseEnabled());
        EXPECT_EQ(dialog.GetTransfer().GetResult(), c.result);
        dialog.DestroyWindow();
    }
}

// The modal run as the main dialog drives it: Enter, Escape and the close box leave it open,
// Close is disabled until the run ended, and ends it with the run's result.
struct ModalScript {
    CFirmwarePatchDlg* dialog = nullptr;
    CDataHandler* handler = nullptr;
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
    const HWND close = GetDlgItem(window, CFirmwarePatchDlg::kCloseId);
    SendMessageA(close, BM_CLICK, 0, 0);
    PumpMessages();
    script.openAfterDisabledClose = IsWindow(window) && IsWindowVisible(window);
    script.handler->DataHandler(1, 7);
    PumpMessages();
    SendMessageA(close, BM_CLICK, 0, 0);
}

TEST_F(FirmwarePatchDlgTest, EndsOnlyThroughCloseWithTheRunsResult) {
    CFirmwarePatchDlg modal(&main);
    Prepare(modal);
    ModalScript script;
    script.dialog = &modal;
    script.handler = &handler;
    g_script = &script;
    SetTimer(nullptr, 0, 50, &DriveModalRun);
    EXPECT_EQ(modal.DoModal(), Machine::kResultConnectionLost);
    g_script = nullptr;
    EXPECT_TRUE(script.openAfterKeys);
    EXPECT_TRUE(script.openAfterDisabledClose);
}

}  // namespace
