// The OBD adaptation panel under Wine: blank until a supporting unit sends live data, the
// trims, link and bank states of element 95, the adaptation button against the unit's
// state, and blanking by the engine status of every panel on its own.
#include "diag/CObdAdaptationPage.h"

#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class ObdAdaptationPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        // As the pages place them: 170 wide at their scale, here at scale 1 with room to
        // spare, and stretched more in height than in width, as a full-screen window has it,
        // with the 90 units of height that the map page leaves.
        struct Room {
            double scaleX;
            double scaleY;
            int height;
        };
        const Room rooms[] = {{1.0, 1.0, 140}, {1.45, 2.1, 90}};
        int left = 10;
        for (int i = 0; i < 2; ++i) {
            CObdAdaptationPage* panel = i == 0 ? &panel1 : &panel2;
            const Room& room = rooms[i];
            panel->SetDataHandler(&handler);
            panel->SetResourceManager(&resources);
            panel->SetFontCache(&fonts);
            panel->SetScale(room.scaleX, room.scaleY);
            const int width = static_cast<int>(170 * room.scaleX);
            panel->SetPlacement(left, 10, left + width, 10 + static_cast<int>(room.height * room.scaleY));
            ASSERT_TRUE(panel->Create(CObdAdaptationPage::kTemplateId, &main));
            left += width + 10;
        }
        ConnectIdle();
    }

    BYTE* Element(int element) { return handler.GetImage(kImageWorking) + handler.GetElementOffset(element); }

    void Support(BYTE value) {
        Element(79)[0] = value;
        for (CObdAdaptationPage* panel : {&panel1, &panel2}) {
            panel->PostMessage(WM_DH_ELEMENT_CHANGED, 1, 79 | kReasonLoaded);
        }
        PumpMessages();
    }

    // One live cycle with element 95's first twelve bytes and element 30's flag byte.
    void Cycle(std::vector<BYTE> block, BYTE engineFlags = 0) {
        block.resize(16, 0);
        std::copy(block.begin(), block.end(), Element(95));
        Element(30)[1] = engineFlags;
        for (CObdAdaptationPage* panel : {&panel1, &panel2}) {
            panel->PostMessage(WM_DH_NEW_DATA, 0, 0);
        }
        PumpMessages();
    }

    std::string Text(CObdAdaptationPage& panel, int id) {
        return WindowText(GetDlgItem(panel.GetSafeHwnd(), id));
    }

    HWND Button(CObdAdaptationPage& panel) {
        return GetDlgItem(panel.GetSafeHwnd(), CObdAdaptationPage::kButtonId);
    }

    bool Checked(CObdAdaptationPage& panel) {
        return SendMessageA(Button(panel), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    void ClickButton(CObdAdaptationPage& panel) {
        SendMessageA(Button(panel), BM_CLICK, 0, 0);
        PumpMessages();
    }

    CObdAdaptationPage panel1{nullptr};
    CObdAdaptationPage panel2{nullptr};
};

// Connected (15), bank 1 marker, adaptation on; trims 5, -2, 3, -4; base 10, long -3.
const std::vector<BYTE> kConnectedOn = {5, 0xFE, 3, 0xFC, 10, 0xFD, 0x9F, 0x08, 0x02, 7, 40, 95};

TEST_F(ObdAdaptationPageTest, StaysBlankWithoutAUnitThatSupportsIt) {
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kLinkId), "");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kButtonId), "Adaptation OFF");
    EXPECT_FALSE(IsWindowEnabled(Button(panel1)));
    Support(0);
    Cycle(kConnectedOn);
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kBaseId), "0");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kTrimIds[0]), "0");
    EXPECT_FALSE(IsWindowEnabled(Button(panel1)));
}

TEST_F(ObdAdaptationPageTest, ShowsTheTrimsLinkAndBanksOfAConnectedCar) {
    Support(1);
    Cycle(kConnectedOn);
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kLinkId), "connected");
    const char* trims[] = {"5", "-2", "3", "-4"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Text(panel1, CObdAdaptationPage::kTrimIds[i]), trims[i]);
    }
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kBaseId), "10");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kLongId), "-3");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kSumId), "7");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kExtraId), "7");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kBankTextIds[0]), "Closed loop");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kBankTextIds[1]), "Open loop");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kButtonId), "Adaptation ON");
    EXPECT_TRUE(Checked(panel1));
    EXPECT_TRUE(IsWindowEnabled(Button(panel1)));

    // An "i/o error" that has not lasted keeps the link and the trims.
    std::vector<BYTE> ioError = kConnectedOn;
    ioError[6] = 0x91;
    Cycle(ioError);
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kLinkId), "connected");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kTrimIds[0]), "5");

    std::vector<BYTE> noCar = kConnectedOn;
    noCar[6] = 0x82;
    Cycle(noCar);
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kLinkId), "not supported");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kTrimIds[0]), "0");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kBankTextIds[0]), "Unused");
}

TEST_F(ObdAdaptationPageTest, TheButtonBlinksUntilTheUnitFollows) {
    Support(1);
    std::vector<BYTE> off = kConnectedOn;
    off[6] = 0x1F;
    Cycle(off);
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kButtonId), "Adaptation OFF");
    ASSERT_FALSE(Checked(panel1));
    queue.requests.clear();
    ClickButton(panel1);
    EXPECT_EQ(Element(98)[0], 0xFF);
    EXPECT_EQ(QueuedElements(), std::vector<int>{98});
    EXPECT_EQ(panel1.GetRequest(), 1);

    Cycle(off);
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kButtonId), "Adaptation ON");
    EXPECT_TRUE(panel1.IsButtonBlinking());
    EXPECT_FALSE(panel2.IsButtonBlinking()) << "the other panel made no request";
    Cycle(kConnectedOn);
    EXPECT_FALSE(panel1.IsButtonBlinking());
    EXPECT_EQ(panel1.GetRequest(), 0);
    EXPECT_TRUE(Checked(panel1));
}

TEST_F(ObdAdaptationPageTest, EveryPanelBlanksWhileTheEngineStatusSaysSo) {
    Support(1);
    Cycle(kConnectedOn);
    ASSERT_EQ(Text(panel2, CObdAdaptationPage::kBaseId), "10");
    Cycle(kConnectedOn, 0x80);
    for (CObdAdaptationPage* panel : {&panel1, &panel2}) {
        EXPECT_EQ(Text(*panel, CObdAdaptationPage::kBaseId), "0");
        EXPECT_EQ(Text(*panel, CObdAdaptationPage::kButtonId), "Adaptation OFF");
        EXPECT_FALSE(IsWindowEnabled(Button(*panel)));
    }
    Cycle(kConnectedOn);
    EXPECT_EQ(Text(panel2, CObdAdaptationPage::kBaseId), "10");

    panel1.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kLinkId), "");
    EXPECT_EQ(Text(panel1, CObdAdaptationPage::kTrimIds[0]), "0");
}

const std::vector<int> kLabelIds = {2701, 2703, 2704, 2707, 2710, 2713, 2716, 2717, 2719, 2721, 2724, 2726};
const std::vector<int> kValueIds = {2705, 2706, 2708, 2709, 2718, 2720, 2722, 2723, 2725, 2727};
// The widest value of each field in practice: percents, their sum, load and trim factor.
const std::vector<const char*> kWidestValues = {"-99", "-99", "-99", "-99", "-99", "-99", "-198", "-99", "255", "255"};

// The controls of a panel that their text does not fit in the control's font, as "id: text".
std::vector<std::string> CutTexts(CObdAdaptationPage& panel, const std::vector<int>& ids) {
    std::vector<std::string> cut;
    for (const int id : ids) {
        HWND label = GetDlgItem(panel.GetSafeHwnd(), id);
        const std::string text = WindowText(label);
        HDC dc = GetDC(label);
        const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, previous);
        ReleaseDC(label, dc);
        RECT client = {};
        GetClientRect(label, &client);
        // A group box draws its caption from a few pixels in.
        const int needed = extent.cx + (id == 2703 || id == 2716 ? 12 : 0);
        if (needed > client.right || extent.cy > client.bottom) {
            cut.push_back(std::to_string(id) + ": " + text);
        }
    }
    return cut;
}

// In the room the pages give it, at their scale, every label shows its whole text, every
// value field holds its widest value, and no control covers another; a language change lays
// the labels out again.
TEST_F(ObdAdaptationPageTest, EveryTextFitsAndNoControlCoversAnother) {
    for (CObdAdaptationPage* panel : {&panel1, &panel2}) {
        EXPECT_EQ(Text(*panel, 2710), "Bank 1:");
        EXPECT_EQ(Text(*panel, 2726), "Trim factor:");
        EXPECT_EQ(Text(*panel, 2703), "data (%)");
        EXPECT_EQ(Text(*panel, 2716), "calculated (%)");
        EXPECT_EQ(CutTexts(*panel, kLabelIds), std::vector<std::string>{});
        EXPECT_EQ(LayoutClashes(panel->GetSafeHwnd()), std::vector<std::string>{});
        panel->PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
        PumpMessages();
        EXPECT_EQ(CutTexts(*panel, kLabelIds), std::vector<std::string>{});
        EXPECT_EQ(LayoutClashes(panel->GetSafeHwnd()), std::vector<std::string>{});
        for (std::size_t i = 0; i < kValueIds.size(); ++i) {
            SetWindowTextA(GetDlgItem(panel->GetSafeHwnd(), kValueIds[i]), kWidestValues[i]);
        }
        EXPECT_EQ(CutTexts(*panel, kValueIds), std::vector<std::string>{});
    }
}

}  // namespace
