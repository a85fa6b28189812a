// The shell's small modal dialogs under Wine: the exit confirmation, the transfer direction
// question, the unit busy dialog and the retrieving dialog, each driven by timed steps
// while it runs modally.
#include "forms/fonts/CFontCache.h"
#include "forms/CTimedProgressCtrl.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ElementTable.h"
#include "link/IUserPrompter.h"
#include "shell/CBusyProgressDlg.h"
#include "shell/CExitDlg.h"
#include "shell/CResourceManager.h"
#include "shell/CRetrieveDataDlg.h"
#include "shell/CTransferDirectionDlg.h"

#include <windows.h>

#include <commctrl.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Step = std::function<void()>;

// Runs the steps one per timer tick while the dialog runs modally; a dialog that is still
// up well after the last step is ended with -2, so a fault cannot hang the test.
struct StepRunner {
    CDialog* dialog = nullptr;
    std::vector<Step> steps;
    size_t next = 0;
    int idleTicks = 0;
};

StepRunner g_runner;

constexpr int kIdleTicksBeforeGivingUp = 100;
constexpr INT_PTR kGaveUp = -2;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_runner.dialog == nullptr || g_runner.dialog->GetSafeHwnd() == nullptr) {
        return;
    }
    if (g_runner.next < g_runner.steps.size()) {
        g_runner.steps[g_runner.next++]();
        return;
    }
    if (++g_runner.idleTicks > kIdleTicksBeforeGivingUp) {
        g_runner.dialog->EndDialog(static_cast<int>(kGaveUp));
    }
}

INT_PTR RunModalWithSteps(CDialog& dialog, std::vector<Step> steps) {
    g_runner = StepRunner();
    g_runner.dialog = &dialog;
    g_runner.steps = std::move(steps);
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, &RunNextStep);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    g_runner = StepRunner();
    return result;
}

std::string WindowText(HWND window) {
    char text[512] = {};
    return std::string(text, GetWindowTextA(window, text, sizeof(text)));
}

std::string ItemText(CDialog& dialog, int id) {
    return WindowText(GetDlgItem(dialog.GetSafeHwnd(), id));
}

bool ItemVisible(CDialog& dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog.GetSafeHwnd(), id)) != FALSE;
}

bool ItemEnabled(CDialog& dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog.GetSafeHwnd(), id)) != FALSE;
}

void Press(CDialog& dialog, int id) {
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.GetSafeHwnd(), id)));
}

class ShellDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }

    CResourceManager m_resources;
    CFontCache m_fonts;
};

// ---- Exit dialog ----------------------------------------------------------------------

TEST_F(ShellDialogsTest, ExitDialogShowsTheReasonsAndEndsAsTheUserChooses) {
    for (int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button);
        CExitDlg dialog;
        dialog.SetResourceManager(&m_resources);
        dialog.SetMessage("first reason\nsecond reason\n");
        std::string caption, okText, cancelText, message;
        const INT_PTR result = RunModalWithSteps(dialog, {[&] {
            caption = WindowText(dialog.GetSafeHwnd());
            okText = ItemText(dialog, IDOK);
            cancelText = ItemText(dialog, IDCANCEL);
            message = ItemText(dialog, CExitDlg::kMessageId);
            Press(dialog, button);
        }});
        EXPECT_EQ(result, button);
        EXPECT_EQ(caption, "Pirolex: Exiting ...");
        EXPECT_EQ(okText, "Exit");
        EXPECT_EQ(cancelText, "Cancel");
        EXPECT_EQ(message, "first reason\nsecond reason\n");
    }
}

// ---- Transfer direction dialog --------------------------------------------------------

struct DirectionView {
    bool cancelVisible = false;
    bool cancelEnabled = false;
    bool fromUnitEnabled = false;
    bool toUnitEnabled = false;
};

DirectionView ViewOf(CTransferDirectionDlg& dialog) {
    return {ItemVisible(dialog, CTransferDirectionDlg::kCancelId), ItemEnabled(dialog, CTransferDirectionDlg::kCancelId),
            ItemEnabled(dialog, CTransferDirectionDlg::kFromUnitId),
            ItemEnabled(dialog, CTransferDirectionDlg::kToUnitId)};
}

TEST_F(ShellDialogsTest, DirectionDialogWithTheLinkUpEndsOnlyByADirection) {
    struct Case {
        int button;
        INT_PTR result;
    };

    for (const Case& c : {Case{CTransferDirectionDlg::kFromUnitId, kTransferFromUnit},
                          Case{CTransferDirectionDlg::kToUnitId, kTransferToUnit}}) {
        SCOPED_TRACE(c.button);
        CTransferDirectionDlg dialog;
        dialog.SetResourceManager(&m_resources);
        dialog.SetMessage("A new unit.");
        std::string caption, fromText, toText, message;
        DirectionView view;
        const INT_PTR result = RunModalWithSteps(
            dialog, {[&] {
                         caption = WindowText(dialog.GetSafeHwnd());
                         fromText = ItemText(dialog, CTransferDirectionDlg::kFromUnitId);
                         toText = ItemText(dialog, CTransferDirectionDlg::kToUnitId);
                         message = ItemText(dialog, CTransferDirectionDlg::kMessageId);
                         view = ViewOf(dialog);
                         // Enter and Escape must not end it.
                         SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
                         SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
                     },
                     [&] { Press(dialog, c.button); }});
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(caption, "Pirolex: Refresh target");
        EXPECT_EQ(fromText, "MCU -> Memory");
        EXPECT_EQ(toText, "Memory -> MCU");
        EXPECT_EQ(message, "A new unit.");
        EXPECT_FALSE(view.cancelVisible);
        EXPECT_FALSE(view.cancelEnabled);
        EXPECT_TRUE(view.fromUnitEnabled);
        EXPECT_TRUE(view.toUnitEnabled);
    }
}

TEST_F(ShellDialogsTest, DirectionDialogOffersCancelWhileTheLinkIsDown) {
    CTransferDirectionDlg dialog;
    dialog.SetResourceManager(&m_resources);
    DirectionView down, up, downAgain;
    std::string cancelText;
    const INT_PTR result = RunModalWithSteps(
        dialog, {// The worker reports from its own thread.
                 [&] { std::thread([&] { dialog.AdjustTransferChoice(false); }).join(); },
                 [&] {
                     down = ViewOf(dialog);
                     cancelText = ItemText(dialog, CTransferDirectionDlg::kCancelId);
                     dialog.AdjustTransferChoice(true);
                 },
                 [&] {
                     up = ViewOf(dialog);
                     dialog.AdjustTransferChoice(false);
                 },
                 [&] {
                     downAgain = ViewOf(dialog);
                     Press(dialog, CTransferDirectionDlg::kCancelId);
                 }});
    EXPECT_EQ(result, kTransferCancel);
    EXPECT_EQ(cancelText, "Cancel");
    EXPECT_TRUE(down.cancelVisible && down.cancelEnabled);
    EXPECT_FALSE(down.fromUnitEnabled || down.toUnitEnabled);
    EXPECT_FALSE(up.cancelVisible || up.cancelEnabled);
    EXPECT_TRUE(up.fromUnitEnabled && up.toUnitEnabled);
    EXPECT_TRUE(downAgain.cancelVisible && downAgain.cancelEnabled);
    // Reports after the dialog has gone reach no window.
    dialog.AdjustTransferChoice(true);
}

// A link lost before the dialog opened is never reported to it: it must offer Cancel at once.
TEST_F(ShellDialogsTest, DirectionDialogOpenedWithTheLinkDownCanBeCancelled) {
    CTransferDirectionDlg dialog;
    dialog.SetResourceManager(&m_resources);
    dialog.SetLinkUp(false);
    DirectionView view;
    const INT_PTR result = RunModalWithSteps(dialog, {[&] {
        view = ViewOf(dialog);
        Press(dialog, CTransferDirectionDlg::kCancelId);
    }});
    EXPECT_EQ(result, kTransferCancel);
    EXPECT_TRUE(view.cancelVisible && view.cancelEnabled);
    EXPECT_FALSE(view.fromUnitEnabled || view.toUnitEnabled);
}

// ---- Unit busy dialog -----------------------------------------------------------------

TEST(BusyProgressDialog, JobStatesMapToActions) {
    using Action = CBusyProgressDlg::JobAction;
    struct Case {
        int state;
        Action action;
    };

    for (const Case& c : {Case{0, Action::Move}, Case{10, Action::Move}, Case{200, Action::Move},
                          Case{201, Action::Fail}, Case{239, Action::Fail}, Case{240, Action::Stay},
                          Case{241, Action::Stay}, Case{242, Action::Fail}, Case{252, Action::Fail},
                          Case{253, Action::Abort}, Case{254, Action::EndFull}, Case{255, Action::End}}) {
        SCOPED_TRACE(c.state);
        EXPECT_EQ(CBusyProgressDlg::ActionOf(c.state), c.action);
    }
}

class BusyDialogTest : public ShellDialogsTest {
protected:
    void SetUp() override {
        ShellDialogsTest::SetUp();
        m_dialog.SetDataHandler(&m_handler);
        m_dialog.SetResourceManager(&m_resources);
        m_dialog.SetFontCache(&m_fonts);
        m_dialog.SetScale(1.0, 1.0);
        m_handler.RegisterWindow(&m_dialog);
        m_handler.DataHandler(2, 12);
    }

    void TearDown() override { m_handler.UnregisterWindow(&m_dialog); }

    // Stands for a live cycle that read the job state.
    void LiveCycle(BYTE jobState) {
        m_handler.GetImage(kImageWorking)[m_handler.GetElementOffset(DATA_STATUS_ENGINE_STATUS) + 3] = jobState;
        m_dialog.PostMessage(WM_DH_NEW_DATA, 0, 0);
    }

    int Target() { return m_dialog.GetProgressCtrl().GetTargetUnits(); }

    CDataHandler m_handler;
    CBusyProgressDlg m_dialog;
};

TEST_F(BusyDialogTest, BarFollowsTheJobUntilItEnds) {
    std::vector<int> targets;
    RECT window = {};
    std::string text;
    bool openAfterKeys = false;
    const INT_PTR result = RunModalWithSteps(
        m_dialog, {[&] {
                       GetWindowRect(m_dialog.GetSafeHwnd(), &window);
                       text = ItemText(m_dialog, CProgressPopupDlg::kStatusTextId);
                       SendMessageA(m_dialog.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
                       SendMessageA(m_dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
                       openAfterKeys = m_dialog.GetSafeHwnd() != nullptr;
                       LiveCycle(10);
                   },
                   [&] {
                       targets.push_back(Target());
                       LiveCycle(120);
                   },
                   [&] {
                       targets.push_back(Target());
                       LiveCycle(240);
                   },
                   [&] {
                       targets.push_back(Target());
                       LiveCycle(200);
                   },
                   [&] {
                       targets.push_back(Target());
                       LiveCycle(254);
                   }});
    EXPECT_EQ(result, CBusyProgressDlg::kResultJobEnded);
    EXPECT_EQ(text, "The MCU is busy. Please be patient ...");
    EXPECT_EQ(window.right - window.left, 220);
    EXPECT_EQ(window.bottom - window.top, 46);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(targets, (std::vector<int>{500, 6000, 6000, 10000}));
    EXPECT_EQ(Target(), 10000);
    EXPECT_EQ(m_dialog.GetLastJobState(), 254);
}

TEST_F(BusyDialogTest, EndStatesAndALostLinkEndTheDialogWithTheirResult) {
    struct Case {
        const char* name;
        std::function<void()> end;
        INT_PTR result;
    };

    const Case cases[] = {
        {"255", [this] { LiveCycle(255); }, CBusyProgressDlg::kResultJobEnded},
        {"253", [this] { LiveCycle(253); }, CBusyProgressDlg::kResultAborted},
        {"230", [this] { LiveCycle(230); }, CBusyProgressDlg::kResultLinkLost},
        {"link lost", [this] { m_handler.DataHandler(1, 0); }, CBusyProgressDlg::kResultLinkLost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_handler.DataHandler(2, 12);
        const INT_PTR result =
            RunModalWithSteps(m_dialog, {[&] { LiveCycle(50); }, [&] { c.end(); }});
        EXPECT_EQ(result, c.result);
    }
}

// Nothing would ever end a dialog opened on a link that is already down.
TEST_F(BusyDialogTest, OpenedWithTheLinkDownItEndsAtOnce) {
    m_handler.DataHandler(1, 0);
    EXPECT_EQ(RunModalWithSteps(m_dialog, {}), CBusyProgressDlg::kResultLinkLost);
}

// ---- Retrieving dialog and the gliding bar --------------------------------------------

TEST_F(ShellDialogsTest, RetrieveDialogGlidesToTheReportedPerMille) {
    CRetrieveDataDlg dialog;
    dialog.SetResourceManager(&m_resources);
    dialog.SetFontCache(&m_fonts);
    dialog.SetScale(2.0, 1.5);
    std::string text;
    RECT window = {};
    int shownAtStart = -1;
    std::vector<Step> steps = {[&] {
        text = ItemText(dialog, CProgressPopupDlg::kStatusTextId);
        GetWindowRect(dialog.GetSafeHwnd(), &window);
        shownAtStart = static_cast<int>(
            SendMessageA(GetDlgItem(dialog.GetSafeHwnd(), CProgressPopupDlg::kProgressId), PBM_GETPOS, 0, 0));
        dialog.SetProgress(500);
    }};
    // The glide takes some 45 ticks of 20 ms; the bar is watched until it arrives.
    int shownAtEnd = -1;
    for (int i = 0; i < 150; ++i) {
        steps.push_back([&] {
            shownAtEnd = static_cast<int>(
                SendMessageA(GetDlgItem(dialog.GetSafeHwnd(), CProgressPopupDlg::kProgressId), PBM_GETPOS, 0, 0));
            if (shownAtEnd == 5000) {
                dialog.EndDialog(1);
            }
        });
    }
    EXPECT_EQ(RunModalWithSteps(dialog, steps), 1);
    EXPECT_EQ(text, "Retrieving data ...");
    EXPECT_EQ(window.right - window.left, 440);
    EXPECT_EQ(window.bottom - window.top, 69);
    EXPECT_EQ(shownAtStart, 0);
    EXPECT_EQ(shownAtEnd, 5000);
    EXPECT_EQ(dialog.GetProgressCtrl().GetPos(), 500);
}

TEST_F(ShellDialogsTest, GlidingBarJumpsWhenAskedAndClampsOutsideItsRange) {
    CRetrieveDataDlg dialog;
    dialog.SetResourceManager(&m_resources);
    std::vector<int> shown;
    RunModalWithSteps(dialog, {[&] {
        CTimedProgressCtrl& bar = dialog.GetProgressCtrl();
        const HWND window = GetDlgItem(dialog.GetSafeHwnd(), CProgressPopupDlg::kProgressId);
        EXPECT_EQ(bar.SetPos(250, TRUE), 0);
        shown.push_back(static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0)));
        bar.SetPos(5000, TRUE);
        shown.push_back(static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0)));
        bar.SetPos(-20, TRUE);
        shown.push_back(static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0)));
        bar.SetRange(0, 100);
        bar.SetPos(50);
        shown.push_back(bar.GetTargetUnits());
        dialog.EndDialog(1);
    }});
    EXPECT_EQ(shown, (std::vector<int>{2500, 10000, 0, 5000}));
}

}  // namespace
