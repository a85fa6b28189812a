// The phase test page under Wine: choosing a phase reads element 109 with the phase as
// request data, the read answer fills the fields, and "Senden" checks them and queues the
// 15-byte write.
#include "diag/CPhaseTestPage.h"

#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class PhaseTestPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        ASSERT_TRUE(page.Create(CPhaseTestPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
        boxes.clear();
    }

    HWND Item(int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }

    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    int Selection(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }

    void Choose(int id, int index) {
        SendMessageA(Item(id), CB_SETCURSEL, index, 0);
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    // The unit answers the read of a phase; transferred 0 reports the transfer as failed.
    void Answer(std::vector<BYTE> bytes, WPARAM transferred = 1) {
        bytes.resize(16, 0);
        std::copy(bytes.begin(), bytes.end(),
                  handler.GetImage(kImageWorking) + handler.GetElementOffset(109));
        page.PostMessage(WM_DH_ELEMENT_CHANGED, transferred, 109 | (4 << 16));
        PumpMessages();
    }

    void ExpectValuesEmptyAndDisabled() {
        for (const int id : {CPhaseTestPage::kSendId, CPhaseTestPage::kLambdaId, CPhaseTestPage::kGasId,
                             CPhaseTestPage::kTimeId}) {
            EXPECT_FALSE(Enabled(id)) << id;
        }
        EXPECT_EQ(WindowText(Item(CPhaseTestPage::kLambdaId)), "");
        EXPECT_EQ(WindowText(Item(CPhaseTestPage::kTimeId)), "");
        EXPECT_EQ(SendMessageA(Item(CPhaseTestPage::kGasId), CB_GETCOUNT, 0, 0), 0);
    }

    void Type(int id, const char* text) { SetWindowTextA(Item(id), text); }

    void Send() {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CPhaseTestPage::kSendId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(CPhaseTestPage::kSendId)));
        PumpMessages();
    }

    void Status(int status) {
        page.PostMessage(WM_DH_STATUS_CHANGED, status, 7);
        PumpMessages();
    }

    CPhaseTestPage page{nullptr};
};

TEST_F(PhaseTestPageTest, ReadsTheChosenPhaseAndShowsIt) {
    Status(2);
    ASSERT_TRUE(Enabled(CPhaseTestPage::kPhaseId));
    EXPECT_FALSE(Enabled(CPhaseTestPage::kSendId));
    Choose(CPhaseTestPage::kPhaseId, 3);
    ASSERT_EQ(queue.requests.size(), 1u);
    EXPECT_EQ(queue.requests[0].element, 109);
    ASSERT_NE(queue.requests[0].source, nullptr);
    EXPECT_EQ(queue.requests[0].source[0], 3);

    Answer({0xF6, 0x00, 0x2C, 0x01});
    EXPECT_EQ(WindowText(Item(CPhaseTestPage::kLambdaId)), "-10");
    EXPECT_EQ(WindowText(Item(CPhaseTestPage::kTimeId)), "300");
    EXPECT_EQ(WindowText(Item(CPhaseTestPage::kGasId)), "Gesperrt");
    EXPECT_TRUE(Enabled(CPhaseTestPage::kSendId));
    Answer({5, 0x01});
    EXPECT_EQ(WindowText(Item(CPhaseTestPage::kGasId)), "Freigegeben");

    Choose(CPhaseTestPage::kPhaseId, 0);
    EXPECT_FALSE(Enabled(CPhaseTestPage::kSendId));
    EXPECT_FALSE(Enabled(CPhaseTestPage::kLambdaId));
    EXPECT_EQ(WindowText(Item(CPhaseTestPage::kLambdaId)), "");
    EXPECT_EQ(queue.requests.size(), 1u) << "choosing no phase read again";
}

TEST_F(PhaseTestPageTest, SendsCheckedValuesAndRefusesTheRest) {
    struct Case {
        const char* lambda;
        const char* time;
        const char* box;
        std::vector<BYTE> sent;  // empty: nothing queued
    };

    const Case cases[] = {
        {"99", "300", "OK", {4, 99, 0xFF, 0x2C, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"-50", "65535", "OK", {4, 0xCE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"51", "300", "Element out of range: 51 <- (-50; 50).", {}},
        {"-51", "300", "Element out of range: -51 <- (-50; 50).", {}},
        {"10", "65536", "Element out of range: 65536 <- (0; 65535).", {}},
        {"x", "300", "Attempt to write an invalid element: x.", {}},
        {"10", "", "Attempt to write an invalid element: .", {}},
    };
    Status(2);
    Choose(CPhaseTestPage::kPhaseId, 4);
    Answer({0, 0x01, 0, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lambda) + " / " + c.time);
        queue.requests.clear();
        boxes.clear();
        Type(CPhaseTestPage::kLambdaId, c.lambda);
        Type(CPhaseTestPage::kTimeId, c.time);
        Send();
        EXPECT_EQ(boxes, std::vector<std::string>{c.box});
        if (c.sent.empty()) {
            EXPECT_TRUE(queue.requests.empty());
            continue;
        }
        ASSERT_EQ(queue.requests.size(), 1u);
        EXPECT_EQ(queue.requests[0].element, 109);
        ASSERT_NE(queue.requests[0].source, nullptr);
        EXPECT_EQ(std::vector<BYTE>(queue.requests[0].source, queue.requests[0].source + 15), c.sent);
    }
}

TEST_F(PhaseTestPageTest, AConnectionLossDisablesEverythingButKeepsThePhase) {
    Status(2);
    Choose(CPhaseTestPage::kPhaseId, 2);
    Answer({7, 1, 10, 0});
    Status(1);
    EXPECT_FALSE(Enabled(CPhaseTestPage::kPhaseId));
    EXPECT_EQ(Selection(CPhaseTestPage::kPhaseId), 2);
    ExpectValuesEmptyAndDisabled();
    Status(4);
    EXPECT_TRUE(Enabled(CPhaseTestPage::kPhaseId));
}

// A failed transfer leaves nothing to send: not the bytes it did not read, nor the phase
// shown before, which "Senden" would write to the newly chosen one.
TEST_F(PhaseTestPageTest, AFailedTransferEmptiesAndDisablesTheValues) {
    Status(2);
    Choose(CPhaseTestPage::kPhaseId, 2);
    Answer({7, 1, 10, 0});
    Choose(CPhaseTestPage::kPhaseId, 5);
    Answer({33, 0, 44, 0}, 0);
    ExpectValuesEmptyAndDisabled();
    EXPECT_TRUE(Enabled(CPhaseTestPage::kPhaseId));
    EXPECT_EQ(Selection(CPhaseTestPage::kPhaseId), 5);

    queue.requests.clear();
    Choose(CPhaseTestPage::kPhaseId, 5);
    ASSERT_EQ(queue.requests.size(), 1u) << "the phase can be read again";
    Answer({33, 0, 44, 0});
    EXPECT_EQ(WindowText(Item(CPhaseTestPage::kLambdaId)), "33");

    Send();
    Answer({33, 0, 44, 0}, 0);
    ExpectValuesEmptyAndDisabled();
}

}  // namespace
