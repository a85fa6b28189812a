// The live status strip under Wine: live cycles read from the working image, the fuel
// buttons and the fuel request written through the data handler, the idle state, the
// diagnosis colours and the way to the Diagnosis mode.
#include "config/CConfigStatus.h"
#include "link/DataHandlerMessages.h"
#include "res/ResourceIds.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Word(int value) {
    return {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>((value >> 8) & 0xFF)};
}

Bytes Times(int each) {
    Bytes bytes;
    for (int i = 0; i < 8; ++i) {
        const Bytes word = Word(each);
        bytes.insert(bytes.end(), word.begin(), word.end());
    }
    return bytes;
}

// The main window records the commands the strip posts to it.
class CRecordingMain : public CDialog {
public:
    CRecordingMain() : CDialog(102, nullptr) {}

    int m_cancels = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == IDCANCEL) {
            ++m_cancels;
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

class ConfigStatusTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        CStatusPageReadings::ForgetInjectionTimes();
        ASSERT_TRUE(stripOwner.Create(102, nullptr));
        stripOwner.MoveWindow(0, 0, 620, 440, TRUE);
        stripOwner.ShowWindow(SW_SHOW);
        strip.SetDataHandler(&handler);
        strip.SetResourceManager(&resources);
        strip.SetFontCache(&fonts);
        strip.SetNextPageRequest([this](int mode, int tab) { nextPages.push_back(mode * 100 + tab); });
        ASSERT_TRUE(strip.Create(CConfigStatus::kTemplateId, &stripOwner));
        strip.ShowWindow(SW_SHOW);
        ConnectIdle();
        // A plain running engine on petrol.
        Put(26, Word(3000));
        Put(30, {0, 0, 0, 255, 0});
        Put(31, {90});
        Put(58, Word(1300));
        Put(29, Word(2300));
        Put(59, Word(0));
        Put(60, {3});
        Put(33, Word(700));
        Put(54, {255});
        Put(90, {40});
        Put(27, Times(3000));
        Put(28, Times(3500));
    }

    void Put(int element, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(),
                  handler.GetImage(kImageWorking) + handler.GetElementOffset(element));
    }

    void Cycle() {
        strip.PostMessage(WM_DH_NEW_DATA, 0, 0);
        PumpMessages();
    }

    HWND Item(int id) const { return GetDlgItem(strip.GetSafeHwnd(), id); }

    std::string Text(int id) const { return WindowText(Item(id)); }

    int Checked(int id) const { return static_cast<int>(SendMessageA(Item(id), BM_GETCHECK, 0, 0)); }

    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    Bytes FuelRequest() {
        const BYTE* at = handler.GetImage(kImageWorking) + handler.GetElementOffset(32);
        return Bytes(at, at + 1);
    }

    CRecordingMain stripOwner;
    CConfigStatus strip;
    std::vector<int> nextPages;
};

TEST_F(ConfigStatusTest, ShowsTheLiveValuesOfACycle) {
    Cycle();
    EXPECT_EQ(Text(CConfigStatus::kSpeedId), "3000");
    EXPECT_EQ(Text(CConfigStatus::kEngineTempId), "90");
    EXPECT_EQ(Text(CConfigStatus::kEnginePressId), "0.30");
    EXPECT_EQ(Text(CConfigStatus::kGasPressId), "1.30");
    EXPECT_EQ(Text(CConfigStatus::kInjectionPressId), "1.00");
    EXPECT_EQ(Text(CConfigStatus::kGasTempId), "40");
    EXPECT_EQ(Text(CConfigStatus::kPetrolTimeId), "3.00");
    EXPECT_EQ(Text(CConfigStatus::kGasTimeId), "3.50");
    EXPECT_EQ(Text(CConfigStatus::kLambdaId), "0.70 V");
    EXPECT_EQ(strip.GetLambdaStateColour(), RGB(62, 232, 17));
    EXPECT_EQ(strip.GetPressureTip(),
              "\\lcACTUAL PRESSES\n\\lcengine:\t\\rc 0.30 bar\n\\lcinjection:\t\\rc 1.00 bar\n\\lcgas:\t\\rc "
              "1.30 bar\n");
    const std::string tip = static_cast<LPCSTR>(strip.GetInjectionTip());
    EXPECT_EQ(tip.substr(0, 19), "#\t\\rcPETROL\t\\rcGAS\n");
    EXPECT_NE(tip.find("\\rc8.\t\\rc 3.00 ms\t\\rc 3.50 ms\n"), std::string::npos) << tip;
}

TEST_F(ConfigStatusTest, ReadoutsFollowTheirSpecialValues) {
    struct Case {
        int element;
        Bytes bytes;
        int control;
        const char* shown;
    };

    const Case cases[] = {
        {90, {static_cast<BYTE>(-21)}, CConfigStatus::kGasTempId, "-"},
        {90, {static_cast<BYTE>(-20)}, CConfigStatus::kGasTempId, "-20"},
        {31, {static_cast<BYTE>(-5)}, CConfigStatus::kEngineTempId, "-5"},
        {59, Word(5000), CConfigStatus::kEnginePressId, "-"},
        {59, Word(5000), CConfigStatus::kInjectionPressId, "-"},
        {59, Word(4999), CConfigStatus::kInjectionPressId, "1.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        Put(c.element, c.bytes);
        Cycle();
        EXPECT_EQ(Text(c.control), c.shown);
    }
}

TEST_F(ConfigStatusTest, LambdaColourDependsOnTheSensorType) {
    struct Case {
        BYTE type;
        int millivolts;
        COLORREF colour;
    };

    const Case cases[] = {
        {4, 3000, RGB(0, 119, 255)},
        {1, 3000, RGB(255, 102, 0)},
        {0, 499, RGB(0, 119, 255)},
        {0, 500, RGB(255, 102, 0)},
    };
    for (const Case& c : cases) {
        handler.WriteDataLocal(35, &c.type);
        Put(33, Word(c.millivolts));
        PumpMessages();
        Cycle();
        EXPECT_EQ(strip.GetLambdaColour(), c.colour) << static_cast<int>(c.type) << " at " << c.millivolts;
    }
}

TEST_F(ConfigStatusTest, FuelButtonsShowTheFuelInUse) {
    struct Case {
        BYTE fuel;
        int petrolChecked;
        int gasChecked;
        bool petrolEnabled;
        bool gasEnabled;
    };

    const Case cases[] = {
        {0, 1, 0, true, true},   {170, 0, 1, true, false}, {255, 0, 1, true, true},
        {85, 0, 1, true, false}, {7, 0, 1, true, false},  // unknown state: left as they were
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fuel));
        Put(30, {c.fuel, 0, 0, 255, 0});
        Cycle();
        EXPECT_EQ(Checked(CConfigStatus::kPetrolButtonId), c.petrolChecked);
        EXPECT_EQ(Checked(CConfigStatus::kGasButtonId), c.gasChecked);
        EXPECT_EQ(Enabled(CConfigStatus::kPetrolButtonId), c.petrolEnabled);
        EXPECT_EQ(Enabled(CConfigStatus::kGasButtonId), c.gasEnabled);
    }
}

TEST_F(ConfigStatusTest, AFuelRequestHoldsTheButtonsUntilItReachedTheUnit) {
    Cycle();
    SendMessageA(strip.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CConfigStatus::kGasButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(CConfigStatus::kGasButtonId)));
    PumpMessages();
    EXPECT_EQ(FuelRequest(), Bytes{170});
    EXPECT_FALSE(queue.requests.empty());
    EXPECT_TRUE(strip.IsFuelRequestPending());
    EXPECT_TRUE(Enabled(CConfigStatus::kPetrolButtonId));
    EXPECT_FALSE(Enabled(CConfigStatus::kGasButtonId));

    // The unit still reports petrol: the buttons stay as the press left them.
    Cycle();
    EXPECT_FALSE(Enabled(CConfigStatus::kGasButtonId));

    // The write reached the unit.
    strip.PostMessage(WM_DH_ELEMENT_CHANGED, 1, 32 | kReasonTransferred);
    PumpMessages();
    EXPECT_FALSE(strip.IsFuelRequestPending());
    Cycle();
    EXPECT_TRUE(Enabled(CConfigStatus::kGasButtonId));

    // Petrol: both buttons wait; the accelerator Ctrl+B does the same while PETROL is enabled.
    queue.requests.clear();
    SendMessageA(strip.GetSafeHwnd(), WM_COMMAND, ID_ACCEL_PETROL, 0);
    PumpMessages();
    EXPECT_EQ(FuelRequest(), Bytes{0});
    EXPECT_FALSE(queue.requests.empty());
    EXPECT_FALSE(Enabled(CConfigStatus::kPetrolButtonId));
    EXPECT_FALSE(Enabled(CConfigStatus::kGasButtonId));
    queue.requests.clear();
    SendMessageA(strip.GetSafeHwnd(), WM_COMMAND, ID_ACCEL_GAS, 0);
    PumpMessages();
    EXPECT_TRUE(queue.requests.empty()) << "Ctrl+G acted on a disabled GAS button";
}

TEST_F(ConfigStatusTest, InjectionTimesFollowTheStatusFlags) {
    struct Case {
        BYTE flags;
        int speed;
        const char* petrol;
        const char* gas;
        COLORREF petrolColour;
    };

    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    const Case cases[] = {
        {0x00, 3000, "3.00", "3.50", text},
        {0x01, 3000, "0.00", "0.00", GetSysColor(COLOR_BTNSHADOW)},
        {0x02, 3000, "40.00", "3.50", RGB(192, 32, 32)},
        {0x02, 0, "0.00", "3.50", RGB(192, 32, 32)},
        {0x04, 2000, "3.00", "60.00", text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.flags));
        Put(26, Word(c.speed));
        Put(30, {0, c.flags, 0, 255, 0});
        Cycle();
        EXPECT_EQ(Text(CConfigStatus::kPetrolTimeId), c.petrol);
        EXPECT_EQ(Text(CConfigStatus::kGasTimeId), c.gas);
        EXPECT_EQ(strip.GetPetrolTimeColour(), c.petrolColour);
    }
}

TEST_F(ConfigStatusTest, IdleUnitAndLostLinkResetTheDisplay) {
    Cycle();
    ASSERT_EQ(Text(CConfigStatus::kSpeedId), "3000");
    Put(30, {0, 0x80, 0, 255, 0});
    Cycle();
    EXPECT_EQ(Text(CConfigStatus::kSpeedId), "0");
    EXPECT_EQ(Text(CConfigStatus::kLambdaId), "0.00 V");
    EXPECT_FALSE(Enabled(CConfigStatus::kPetrolButtonId));
    Put(30, {0, 0, 0, 255, 0});
    Cycle();
    EXPECT_EQ(Text(CConfigStatus::kSpeedId), "3000");

    strip.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_EQ(Text(CConfigStatus::kGasPressId), "0.00");
    EXPECT_FALSE(Enabled(CConfigStatus::kGasButtonId));
    // The averages start afresh after the reconnect.
    Put(58, Word(2000));
    Put(29, Word(3000));
    Cycle();
    EXPECT_EQ(Text(CConfigStatus::kEnginePressId), "1.00");
}

TEST_F(ConfigStatusTest, DiagnosisButtonTakesTheEventLogColourAndLeadsToDiagnosis) {
    struct Case {
        UINT message;
        WPARAM wParam;
        int state;
        COLORREF colour;
    };

    const Case cases[] = {
        {WM_DH_STATUS_CHANGED, 2, 1, RGB(108, 191, 143)},
        {WM_DH_EVENTLOG_CHANGED, 2, 2, RGB(255, 155, 96)},
        {WM_DH_EVENTLOG_CHANGED, 3, 3, RGB(247, 85, 81)},
        {WM_DH_EVENTLOG_CHANGED, 9, 9, RGB(247, 85, 81)},
        {WM_DH_STATUS_CHANGED, 1, 0, GetSysColor(COLOR_BTNSHADOW)},
    };
    for (const Case& c : cases) {
        strip.PostMessage(c.message, c.wParam, 7);
        PumpMessages();
        EXPECT_EQ(strip.GetDiagnosisState(), c.state);
        EXPECT_EQ(strip.GetDiagnosisColour(), c.colour) << c.state;
    }

    SendMessageA(strip.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CConfigStatus::kDiagnosisButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(CConfigStatus::kDiagnosisButtonId)));
    PumpMessages();
    EXPECT_EQ(nextPages, std::vector<int>{300});
    EXPECT_EQ(stripOwner.m_cancels, 1);
}

TEST_F(ConfigStatusTest, SpansTheMainWindowAboveItsStatusLine) {
    RECT owner = {};
    stripOwner.GetClientRect(&owner);
    RECT area = {};
    strip.GetWindowRect(&area);
    stripOwner.ScreenToClient(&area);
    const double sy = owner.bottom / 440.0;
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.right, owner.right);
    EXPECT_EQ(area.bottom - area.top, static_cast<int>(94 * sy));
    EXPECT_EQ(area.bottom, owner.bottom - static_cast<int>(24 * sy));
    EXPECT_EQ(LayoutClashes(strip.GetSafeHwnd()), std::vector<std::string>{});
}

}  // namespace
