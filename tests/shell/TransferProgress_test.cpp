// The block transfer dialog under Wine against a scripted request queue: reading and
// writing a 288-byte block in steps of 18, a lost link, and refused transfers.
#include "forms/fonts/CFontCache.h"
#include "link/CDataDescriptor.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/IRequestQueue.h"
#include "link/LinkStatus.h"
#include "shell/CResourceManager.h"
#include "shell/CTransferProgressDlg.h"

#include <windows.h>

#include <commctrl.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int kStepBytes = 18;

struct Request {
    int element;
    std::vector<BYTE> source;
    BYTE* destination;
    CDataDescriptor* descriptor;
    unsigned withdrawals;  // the descriptor's when queued
};

// Takes every request; the test answers them as the unit would.
class CScriptedQueue : public IRequestQueue {
public:
    bool QueueRequest(CDataDescriptor* descriptor,
                      int kind,
                      int row,
                      const BYTE* source,
                      BYTE* destination,
                      std::size_t destinationSize) override {
        Request request{descriptor != nullptr ? descriptor->GetID() : -1,
                        {},
                        destination,
                        descriptor,
                        descriptor != nullptr ? descriptor->GetWithdrawals() : 0};
        // Only the block transfer's records are kept; the start of the full read is not.
        if (request.element != CTransferProgressDlg::kElementBlock &&
            request.element != CTransferProgressDlg::kElementStep) {
            return true;
        }
        // A block record has one byte, a step record a header and (writing) a step.
        const size_t length = request.element == CTransferProgressDlg::kElementBlock ? 1 : 3 + kStepBytes;
        request.source.assign(source, source + length);
        pending.push_back(request);
        return true;
    }

    int GetWaitState() const override { return 0; }

    void SetWaitState(int) override {}

    BOOL IsRowSupported(int) const override { return TRUE; }

    BOOL HasTables() const override { return FALSE; }

    std::deque<Request> pending;
    std::vector<Request> served;
};

constexpr int kTotal = 288;
constexpr int kStep = kStepBytes;

BYTE UnitByte(int index) {
    return static_cast<BYTE>(index * 7 + 3);
}

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class TransferProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        m_handler.SetRequestQueue(&m_queue);
        m_handler.DataHandler(2, 12);
        m_dialog.SetDataHandler(&m_handler);
        m_dialog.SetResourceManager(&m_resources);
        m_dialog.SetFontCache(&m_fonts);
    }

    void TearDown() override { m_handler.SetRequestQueue(nullptr); }

    // Answers the queued requests, the reads with the unit's bytes of their step; drops the
    // withdrawn ones, as the communicator does.
    void Serve() {
        while (!m_hold && !m_queue.pending.empty()) {
            Request request = m_queue.pending.front();
            m_queue.pending.pop_front();
            if (request.descriptor != nullptr &&
                request.descriptor->GetWithdrawals() != request.withdrawals) {
                ++m_withdrawnDropped;
                continue;
            }
            if (request.element == CTransferProgressDlg::kElementStep && request.source[1] == 0 &&
                m_reading) {
                for (int i = 0; i < kStep; ++i) {
                    request.destination[i] = UnitByte(request.source[0] * kStep + i);
                }
            }
            m_queue.served.push_back(request);
            const bool fails =
                request.element == CTransferProgressDlg::kElementStep && request.source[0] == m_failingStep;
            m_dialog.PostMessage(WM_DH_ELEMENT_CHANGED, fails ? 0 : 1, request.element | kReasonTransferred);
        }
    }

    struct Outcome {
        INT_PTR result = -1;
        int state = 0;
        std::string progress;
        std::string status;
        std::string caption;
        bool closeEnabled = false;
        int barPosition = -1;
    };

    // Runs the dialog, serving requests every tick, until stop() says so; then presses Close.
    Outcome Run(const std::function<bool()>& stop) {
        m_outcome = Outcome();
        m_stop = stop;
        s_test = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &Tick);
        m_outcome.result = m_dialog.DoModal();
        KillTimer(nullptr, timer);
        s_test = nullptr;
        return m_outcome;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TransferProgressTest* test = s_test;
        const HWND dialog = test != nullptr ? test->m_dialog.GetSafeHwnd() : nullptr;
        if (dialog == nullptr) {
            return;
        }
        if (test->m_ticks == 0 && test->m_beforeFirstServe) {
            test->m_beforeFirstServe();
        }
        test->Serve();
        if (++test->m_ticks < 600 && !test->m_stop()) {
            return;
        }
        Outcome& outcome = test->m_outcome;
        outcome.state = test->m_dialog.GetState();
        outcome.progress = ItemText(dialog, CTransferProgressDlg::kProgressTextId);
        outcome.status = ItemText(dialog, CTransferProgressDlg::kStateTextId);
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        outcome.caption = caption;
        outcome.closeEnabled = IsWindowEnabled(GetDlgItem(dialog, CTransferProgressDlg::kCloseId)) != FALSE;
        outcome.barPosition = static_cast<int>(
            SendMessageA(GetDlgItem(dialog, CTransferProgressDlg::kProgressId), PBM_GETPOS, 0, 0));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(CTransferProgressDlg::kCloseId, BN_CLICKED), 0);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (test->m_ticks >= 650) {
            test->m_dialog.EndDialog(-2);
        }
    }

    int Served(int element) const {
        int count = 0;
        for (const Request& request : m_queue.served) {
            count += request.element == element ? 1 : 0;
        }
        return count;
    }

    static TransferProgressTest* s_test;
    CScriptedQueue m_queue;
    CDataHandler m_handler;
    CResourceManager m_resources;
    CFontCache m_fonts;
    CTransferProgressDlg m_dialog;
    bool m_reading = true;
    bool m_hold = false;  // the unit answers nothing while set
    int m_withdrawnDropped = 0;
    int m_failingStep = -1;  // the unit fails this step
    std::function<void()> m_beforeFirstServe;
    int m_ticks = 0;
    std::function<bool()> m_stop;
    Outcome m_outcome;
};

TransferProgressTest* TransferProgressTest::s_test = nullptr;

TEST_F(TransferProgressTest, ReadsTheBlockStepByStepIntoTheBuffer) {
    std::vector<BYTE> buffer(kTotal, 0);
    ASSERT_TRUE(m_dialog.SetTransfer(true, 0x2A, buffer.data(), kTotal, kStep));
    // The glide has arrived once the bar shows the whole block.
    const Outcome outcome = Run([&] {
        return m_dialog.GetState() == CTransferProgressDlg::kFinished &&
               SendMessageA(GetDlgItem(m_dialog.GetSafeHwnd(), CTransferProgressDlg::kProgressId), PBM_GETPOS,
                            0, 0) == 10000;
    });
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.state, CTransferProgressDlg::kFinished);
    EXPECT_EQ(outcome.caption,
              "\xDC"
              "bertrage Daten ...");
    EXPECT_EQ(outcome.progress, "Reading: 100%.");
    EXPECT_EQ(outcome.barPosition, 10000);
    EXPECT_EQ(outcome.status, "Finished successfully.");
    EXPECT_TRUE(outcome.closeEnabled);
    EXPECT_EQ(m_dialog.GetSafeHwnd(), nullptr);
    for (int i = 0; i < kTotal; ++i) {
        ASSERT_EQ(buffer[i], UnitByte(i)) << i;
    }
    ASSERT_EQ(Served(CTransferProgressDlg::kElementStep), kTotal / kStep);
    ASSERT_EQ(Served(CTransferProgressDlg::kElementBlock), 2);
    EXPECT_EQ(m_queue.served.front().source[0], 0x2A);
    EXPECT_EQ(m_queue.served.back().source[0], 0);
    for (size_t k = 1; k + 1 < m_queue.served.size(); ++k) {
        EXPECT_EQ(m_queue.served[k].source[0], k - 1);
        EXPECT_EQ(m_queue.served[k].source[2], kStep - 1);
    }
}

TEST_F(TransferProgressTest, WritesTheBufferInStepsOfItsSize) {
    m_reading = false;
    std::vector<BYTE> buffer(kTotal);
    for (int i = 0; i < kTotal; ++i) {
        buffer[i] = UnitByte(i);
    }
    ASSERT_TRUE(m_dialog.SetTransfer(false, 7, buffer.data(), kTotal, kStep));
    const Outcome outcome = Run([&] { return m_dialog.GetState() == CTransferProgressDlg::kFinished; });
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.progress, "Writing: 100%.");
    ASSERT_EQ(Served(CTransferProgressDlg::kElementStep), kTotal / kStep);
    for (size_t k = 1; k + 1 < m_queue.served.size(); ++k) {
        const Request& step = m_queue.served[k];
        EXPECT_EQ(step.source[2], kStep - 1);
        EXPECT_EQ(std::vector<BYTE>(step.source.begin() + 3, step.source.begin() + 3 + kStep),
                  std::vector<BYTE>(buffer.begin() + (k - 1) * kStep, buffer.begin() + k * kStep));
    }
}

TEST_F(TransferProgressTest, LostLinkStopsTheTransferAndOffersClose) {
    std::vector<BYTE> buffer(kTotal, 0);
    ASSERT_TRUE(m_dialog.SetTransfer(true, 1, buffer.data(), kTotal, kStep));
    const Outcome outcome = Run([&] {
        if (Served(CTransferProgressDlg::kElementStep) == 5 &&
            m_dialog.GetState() == CTransferProgressDlg::kStepping) {
            m_handler.DataHandler(1, 0);
        }
        return m_dialog.GetState() == CTransferProgressDlg::kFailed;
    });
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.status, "Failed. Connection lost. You have to restart patching.");
    EXPECT_TRUE(outcome.closeEnabled);
    EXPECT_LT(Served(CTransferProgressDlg::kElementStep), kTotal / kStep);
}

// With a step queued the link leaves its normal state (down, incompatible unit, update
// mode) and comes back, or the dialog is closed while the step waits: the step must not be
// served then, neither into the receive buffer of a dialog that failed or is gone nor, when
// writing, to a unit that never gets the closing record.
struct Interruption {
    const char* name;
    int status;  // the link's status meanwhile; kStatusNone: the dialog is closed instead
    INT_PTR result;
    int state;
};

class TransferProgressInterrupted : public TransferProgressTest,
                                    public ::testing::WithParamInterface<Interruption> {};

TEST_P(TransferProgressInterrupted, WithdrawsTheStepItHadQueued) {
    std::vector<BYTE> buffer(kTotal, 0);
    ASSERT_TRUE(m_dialog.SetTransfer(true, 1, buffer.data(), kTotal, kStep));
    const int status = GetParam().status;
    int phase = 0;
    const Outcome outcome = Run([&] {
        if (phase == 0 && Served(CTransferProgressDlg::kElementStep) == 5) {
            m_hold = true;
            phase = 1;
        } else if (phase == 1 && !m_queue.pending.empty() && status == kStatusNone) {
            m_dialog.EndDialog(7);
            phase = 3;
        } else if (phase == 1 && !m_queue.pending.empty()) {
            m_handler.DataHandler(status, 0);
            phase = 2;
        } else if (phase == 2 && m_dialog.GetState() == CTransferProgressDlg::kFailed) {
            m_handler.DataHandler(2, 12);
            m_hold = false;
            phase = 3;
        } else if (phase == 3) {
            return m_queue.pending.empty();
        }
        return false;
    });
    m_hold = false;
    Serve();
    EXPECT_EQ(outcome.result, GetParam().result);
    EXPECT_EQ(m_dialog.GetState(), GetParam().state);
    EXPECT_EQ(Served(CTransferProgressDlg::kElementStep), 5);
    EXPECT_EQ(m_withdrawnDropped, 1);
    EXPECT_TRUE(m_queue.pending.empty());
}

INSTANTIATE_TEST_SUITE_P(
    LinkOrDialog,
    TransferProgressInterrupted,
    ::testing::Values(Interruption{"LinkDown", kStatusNotConnected, 1, CTransferProgressDlg::kFailed},
                      Interruption{"Incompatible", kStatusIncompatible, 1, CTransferProgressDlg::kFailed},
                      Interruption{"UpdateMode", kStatusUpdateMode, 1, CTransferProgressDlg::kFailed},
                      Interruption{"IncompatibleUpdate", kStatusIncompatibleUpdate, 1, CTransferProgressDlg::kFailed},
                      Interruption{"DialogClosed", kStatusNone, 7, CTransferProgressDlg::kStepping}),
    [](const ::testing::TestParamInfo<Interruption>& info) { return std::string(info.param.name); });

// A step the unit fails ends the run as a lost link does, and nothing more is asked.
TEST_F(TransferProgressTest, AFailedStepEndsTheRun) {
    std::vector<BYTE> buffer(kTotal, 0);
    ASSERT_TRUE(m_dialog.SetTransfer(true, 1, buffer.data(), kTotal, kStep));
    m_failingStep = 3;
    const Outcome outcome = Run([&] { return m_dialog.GetState() == CTransferProgressDlg::kFailed; });
    EXPECT_EQ(outcome.state, CTransferProgressDlg::kFailed);
    EXPECT_EQ(outcome.status, "Failed. Connection lost. You have to restart patching.");
    EXPECT_TRUE(outcome.closeEnabled);
    EXPECT_EQ(Served(CTransferProgressDlg::kElementStep), 4);
    EXPECT_EQ(Served(CTransferProgressDlg::kElementBlock), 1);
}

// A step completion or failure left from an earlier run (wParam 1 or 0) arrives while the
// block is being opened: this run neither takes it as its own nor fails for it.
class TransferProgressLateStep : public TransferProgressTest, public ::testing::WithParamInterface<int> {};

TEST_P(TransferProgressLateStep, WhileOpeningChangesNothing) {
    std::vector<BYTE> guarded(kStep + kTotal, 0xEE);
    BYTE* buffer = guarded.data() + kStep;
    ASSERT_TRUE(m_dialog.SetTransfer(true, 1, buffer, kTotal, kStep));
    m_beforeFirstServe = [&] {
        m_dialog.PostMessage(WM_DH_ELEMENT_CHANGED, static_cast<UINT_PTR>(GetParam()),
                             CTransferProgressDlg::kElementStep | kReasonTransferred);
    };
    const Outcome outcome = Run([&] { return m_dialog.GetState() == CTransferProgressDlg::kFinished; });
    EXPECT_EQ(outcome.status, "Finished successfully.");
    EXPECT_EQ(std::vector<BYTE>(guarded.begin(), guarded.begin() + kStep), std::vector<BYTE>(kStep, 0xEE));
    for (int i = 0; i < kTotal; ++i) {
        ASSERT_EQ(buffer[i], UnitByte(i)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(CompletedOrFailed, TransferProgressLateStep, ::testing::Values(1, 0));

// Nothing is queued on a link that is down, and no completion would ever come.
TEST_F(TransferProgressTest, OpenedWithTheLinkDownItFailsAtOnce) {
    m_handler.DataHandler(1, 0);
    std::vector<BYTE> buffer(kTotal, 0);
    ASSERT_TRUE(m_dialog.SetTransfer(true, 1, buffer.data(), kTotal, kStep));
    const Outcome outcome = Run([] { return true; });
    EXPECT_EQ(outcome.state, CTransferProgressDlg::kFailed);
    EXPECT_EQ(outcome.status, "Failed. Connection lost. You have to restart patching.");
    EXPECT_TRUE(outcome.closeEnabled);
    EXPECT_TRUE(m_queue.served.empty());
}

TEST(TransferProgress, RefusesTransfersThatAreNotWholeSteps) {
    CTransferProgressDlg dialog;
    std::vector<BYTE> buffer(600);

    struct Case {
        int total;
        int step;
        bool accepted;
    };

    // The unit's step commands carry 18 bytes each way; any other step would send or take
    // bytes beyond the dialog's buffers.
    for (const Case& c :
         {Case{288, 18, true}, Case{100, 18, false}, Case{288, 0, false}, Case{512, 256, false},
          Case{288, 16, false}, Case{576, 36, false}, Case{0, 18, true}}) {
        SCOPED_TRACE(std::to_string(c.total) + "/" + std::to_string(c.step));
        EXPECT_EQ(dialog.SetTransfer(true, 1, buffer.data(), c.total, c.step), c.accepted);
    }
    EXPECT_FALSE(dialog.SetTransfer(true, 1, nullptr, 288, 18));
}

}  // namespace
