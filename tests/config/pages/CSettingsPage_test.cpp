// The settings page under Wine, in a stand-in main window and fed by a data handler whose
// unit is connected and idle: elements arrive as 0x600, the user types, chooses and clicks,
// and the bytes that reach the working image and the request queue are checked.
#include "config/CSettingsPage.h"

#include "link/DataHandlerMessages.h"
#include "tests/classlib/core/SeparatorScope.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <commctrl.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

class SettingsPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        ASSERT_TRUE(page.Create(CSettingsPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
        boxes.clear();
    }

    HWND Item(int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }

    BYTE* Element(int element) { return handler.GetImage(kImageWorking) + handler.GetElementOffset(element); }

    Bytes ElementBytes(int element) {
        return Bytes(Element(element), Element(element) + handler.GetElementLength(element));
    }

    // The element arrives loaded as a whole (from a file or the unit's full read).
    void Load(int element, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), Element(element));
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | kReasonLoaded);
        PumpMessages();
    }

    // Replaces the edit's text as typing over a full selection does (undoable).
    void Type(int id, const char* text) {
        SendMessageA(Item(id), EM_SETSEL, 0, -1);
        SendMessageA(Item(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }

    void LeaveField(int id) {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    void Choose(int id, int index) {
        SendMessageA(Item(id), CB_SETCURSEL, index, 0);
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    std::string Text(int id) const { return WindowText(Item(id)); }

    int Selection(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }

    std::string SelectedText(int id) const {
        const int selection = Selection(id);
        if (selection < 0) {
            return "<none>";
        }
        char text[128] = {};
        SendMessageA(Item(id), CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(text));
        return text;
    }

    int Count(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0)); }

    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }

    CSettingsPage page{nullptr};
};

TEST_F(SettingsPageTest, LaysOutTheVisibleRowsWithoutOverlap) {
    EXPECT_EQ(LayoutClashes(page.GetSafeHwnd()), std::vector<std::string>{});
    EXPECT_FALSE(Visible(CSettingsPage::kTempTypeId));
    EXPECT_FALSE(Visible(CSettingsPage::kExtra2Id));
    EXPECT_FALSE(Visible(CSettingsPage::kEngineGroupId));
}

TEST_F(SettingsPageTest, ShowsLoadedElementsAndEnablesTheirControls) {
    struct Case {
        int element;
        Bytes bytes;
        int control;
        const char* shown;  // edit text or selected item
        bool enabled;
    };

    const Case cases[] = {
        {3, {12}, CSettingsPage::kChangeRevId, "1200", true},
        {4, {0xF6}, CSettingsPage::kChangeTempId, "-10", true},
        {5, {0xD2, 0x04}, CSettingsPage::kChangePressId, "1.23", true},
        {50, {0x90, 0x01}, CSettingsPage::kMinInjectionId, "0.40", true},
        {71, {0xDC, 0x05}, CSettingsPage::kOverlapId, "1500", true},
        {1, {4}, CSettingsPage::kRevDivisorId, "4", true},
        {101, {6}, CSettingsPage::kCylindersId, "6", false},
        {2, {1}, CSettingsPage::kChangeTypeId, "Normal", true},
        {2, {170}, CSettingsPage::kChangeTypeId, "Synchronized", true},
        {2, {255}, CSettingsPage::kChangeTypeId, "Cutoff", true},
        {0, {7}, CSettingsPage::kRevSignalId, "Normal", true},
        {0, {255}, CSettingsPage::kRevSignalId, "Weak", true},
        {35, {3}, CSettingsPage::kOxygenSensorId, "0.8-1.6 V", true},
        {35, {4}, CSettingsPage::kOxygenSensorId, "Broadb. 5V", true},
        {36, {255}, CSettingsPage::kTempTypeId, "User defined", false},
        {38, {3}, CSettingsPage::kLevelTypeId, "Default", false},
    };
    EXPECT_FALSE(Enabled(CSettingsPage::kChangeRevId));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        Load(c.element, c.bytes);
        const bool isList =
            c.control == CSettingsPage::kChangeTypeId || c.control == CSettingsPage::kRevSignalId ||
            c.control == CSettingsPage::kOxygenSensorId || c.control == CSettingsPage::kTempTypeId ||
            c.control == CSettingsPage::kLevelTypeId;
        EXPECT_EQ(isList ? SelectedText(c.control) : Text(c.control), c.shown);
        EXPECT_EQ(Enabled(c.control), c.enabled);
    }
    EXPECT_FALSE(Enabled(CSettingsPage::kTempCurveId));
    EXPECT_TRUE(queue.requests.empty()) << "showing an element wrote it";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsPageTest, ALocalChangeIsShownButEnablesNothing) {
    const BYTE rev = 5;
    handler.WriteDataLocal(3, &rev);
    PumpMessages();
    EXPECT_EQ(Text(CSettingsPage::kChangeRevId), "500");
    EXPECT_FALSE(Enabled(CSettingsPage::kChangeRevId));
}

TEST_F(SettingsPageTest, WritesTypedValuesInRangeAndRefusesTheRest) {
    struct Case {
        int control;
        int element;
        Bytes before;
        const char* typed;
        const char* box;  // "" when none
        Bytes after;
        const char* shownAfter;
    };

    const Case cases[] = {
        {CSettingsPage::kChangeRevId, 3, {10}, "250", "", {2}, "200"},
        {CSettingsPage::kChangeRevId,
         3,
         {10},
         "2050",
         "Element out of range: 2050 <- (200; 2000).",
         {10},
         "1000"},
        {CSettingsPage::kChangeRevId,
         3,
         {10},
         "12a",
         "Attempt to write an invalid element: 12a.",
         {10},
         "1000"},
        {CSettingsPage::kChangeRevId, 3, {10}, "1050", "", {10}, "1000"},
        {CSettingsPage::kChangeTempId, 4, {20}, "95", "Element out of range: 95 <- (0; 80).", {20}, "20"},
        {CSettingsPage::kChangePressId,
         5,
         {0xE8, 0x03},
         "4.5",
         "Element out of range: 4.50 <- (0.20; 4.00).",
         {0xE8, 0x03},
         "1.00"},
        {CSettingsPage::kChangePressId, 5, {0xE8, 0x03}, "1.239", "", {0xCE, 0x04}, "1.23"},
        {CSettingsPage::kMinInjectionId, 50, {0x90, 0x01}, "0.57", "", {0x3A, 0x02}, "0.57"},
        {CSettingsPage::kLoadMinimumId,
         100,
         {50},
         "150",
         "Element out of range: 150 <- (0; 100).",
         {50},
         "50"},
        {CSettingsPage::kExtra2Id, 103, {0}, "-1", "", {0xFF}, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " into element " + std::to_string(c.element));
        Load(c.element, c.before);
        queue.requests.clear();
        boxes.clear();
        Type(c.control, c.typed);
        LeaveField(c.control);
        EXPECT_EQ(ElementBytes(c.element), c.after);
        EXPECT_EQ(Text(c.control), c.shownAfter);
        if (*c.box != '\0') {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], c.box);
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        EXPECT_EQ(!queue.requests.empty(), c.after != c.before)
            << "a write reaches the unit only when it changes";
    }
}

// Typing past the edit's width scrolls it; the text that comes back after a refusal shows
// from its first character, not as its scrolled tail.
TEST_F(SettingsPageTest, ARefusedTextGivesBackThePreviousValueFromItsStart) {
    for (const char* typed : {"20000000000000000000", "1234567890123456789x"}) {
        SCOPED_TRACE(typed);
        Load(3, {10});
        boxes.clear();
        Type(CSettingsPage::kChangeRevId, typed);
        SendMessageA(Item(CSettingsPage::kChangeRevId), EM_SETSEL, 20, 20);
        SendMessageA(Item(CSettingsPage::kChangeRevId), EM_SCROLLCARET, 0, 0);
        ASSERT_GT(SendMessageA(Item(CSettingsPage::kChangeRevId), EM_GETFIRSTVISIBLELINE, 0, 0), 0)
            << "the typed text is wider than the field";
        LeaveField(CSettingsPage::kChangeRevId);
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(Text(CSettingsPage::kChangeRevId), "1000");
        EXPECT_EQ(SendMessageA(Item(CSettingsPage::kChangeRevId), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    }
}

TEST_F(SettingsPageTest, EnterWritesTheFocusedFieldAndEscapeUndoesTheTyping) {
    Load(4, {20});
    SetFocus(Item(CSettingsPage::kChangeTempId));
    Type(CSettingsPage::kChangeTempId, "55");
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    PumpMessages();
    EXPECT_EQ(ElementBytes(4), Bytes{55});

    queue.requests.clear();
    Type(CSettingsPage::kChangeTempId, "66");
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_EQ(Text(CSettingsPage::kChangeTempId), "55");
    EXPECT_EQ(ElementBytes(4), Bytes{55});
    EXPECT_TRUE(queue.requests.empty());

    // Nothing left to undo: Escape is not the page's, and it still does not close it.
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    PumpMessages();
    EXPECT_TRUE(page.IsWindowVisible());
}

TEST_F(SettingsPageTest, AChoiceWritesItsValueAsOneByteOnlyWhenItChanges) {
    Load(2, {0});
    Choose(CSettingsPage::kChangeTypeId, 2);
    EXPECT_EQ(ElementBytes(2), Bytes{170});
    EXPECT_FALSE(queue.requests.empty());

    queue.requests.clear();
    Choose(CSettingsPage::kChangeTypeId, 2);
    EXPECT_TRUE(queue.requests.empty()) << "choosing the item already chosen wrote again";

    Load(35, {0});
    Choose(CSettingsPage::kOxygenSensorId, 5);
    EXPECT_EQ(ElementBytes(35), Bytes{5});

    Load(122, {1});
    Choose(CSettingsPage::kPumpTypeId, 2);
    EXPECT_EQ(ElementBytes(122), Bytes{3});
}

TEST_F(SettingsPageTest, TankValveListOffersTheTypesTheUnitReports) {
    struct Case {
        BYTE value;
        int count;
        int selection;
    };

    const Case cases[] = {{0x11, 2, 1}, {0x01, 1, -1}, {0x10, 2, 0}, {0x31, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.value));
        Load(45, {c.value});
        EXPECT_EQ(Count(CSettingsPage::kTankValveId), c.count);
        EXPECT_EQ(Selection(CSettingsPage::kTankValveId), c.selection);
    }
    EXPECT_TRUE(queue.requests.empty());

    // The chosen index is written as the whole byte.
    Load(45, {0x11});
    Choose(CSettingsPage::kTankValveId, 0);
    EXPECT_EQ(ElementBytes(45), Bytes{0x00});
}

TEST_F(SettingsPageTest, LubricationGroupFollowsPumpTypeAndInterval) {
    Load(122, {2});
    EXPECT_TRUE(Visible(CSettingsPage::kLubricationGroupId));
    EXPECT_EQ(SelectedText(CSettingsPage::kPumpTypeId), "Type A");

    Load(102, {6});
    EXPECT_EQ(Text(CSettingsPage::kIntervalEditId), "6");
    EXPECT_EQ(SendMessageA(Item(CSettingsPage::kIntervalSliderId), TBM_GETPOS, 0, 0), 6);
    EXPECT_TRUE(Enabled(CSettingsPage::kIntervalSliderId));

    // Releasing the slider writes its position.
    queue.requests.clear();
    SendMessageA(Item(CSettingsPage::kIntervalSliderId), TBM_SETPOS, TRUE, 9);
    NMHDR header = {Item(CSettingsPage::kIntervalSliderId),
                    static_cast<UINT_PTR>(CSettingsPage::kIntervalSliderId),
                    static_cast<UINT>(NM_RELEASEDCAPTURE)};
    SendMessageA(page.GetSafeHwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    PumpMessages();
    EXPECT_EQ(Text(CSettingsPage::kIntervalEditId), "9");
    EXPECT_EQ(ElementBytes(102), Bytes{9});
    EXPECT_FALSE(queue.requests.empty());

    // A unit value outside 4..10 is reported, not written.
    queue.requests.clear();
    Load(102, {12});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Element out of range: 12 <- (4; 10).");
    EXPECT_TRUE(queue.requests.empty());
}

// Both elements are shown from the data whichever arrives last: the group stays while either
// holds a value, and the interval shows its own value, 0 included.
TEST_F(SettingsPageTest, LubricationShowsTheDataWhateverTheOrderOfItsElements) {
    struct Case {
        BYTE pump;
        BYTE interval;
        bool visible;
        const char* intervalText;
        const char* pumpText;
    };

    const Case cases[] = {
        {3, 0, true, "0", "Type B"},
        {2, 6, true, "6", "Type A"},
        {0, 6, true, "6", nullptr},
        {0, 0, false, "0", nullptr},
    };
    for (const Case& c : cases) {
        for (const bool pumpFirst : {true, false}) {
            SCOPED_TRACE(std::to_string(c.pump) + ", " + std::to_string(c.interval) +
                         (pumpFirst ? ", pump type first" : ", interval first"));
            Load(122, {0});
            Load(102, {0});
            boxes.clear();
            // The other element is already in the image when the first one is refreshed.
            Element(122)[0] = c.pump;
            Element(102)[0] = c.interval;
            Load(pumpFirst ? 122 : 102, {pumpFirst ? c.pump : c.interval});
            Load(pumpFirst ? 102 : 122, {pumpFirst ? c.interval : c.pump});
            EXPECT_EQ(Visible(CSettingsPage::kLubricationGroupId), c.visible);
            EXPECT_EQ(Visible(CSettingsPage::kPumpTypeId), c.visible);
            EXPECT_EQ(Visible(CSettingsPage::kIntervalEditId), c.visible);
            EXPECT_EQ(Text(CSettingsPage::kIntervalEditId), c.intervalText);
            if (c.pumpText != nullptr) {
                EXPECT_EQ(SelectedText(CSettingsPage::kPumpTypeId), c.pumpText);
            }
            EXPECT_TRUE(boxes.empty());
        }
    }
}

TEST_F(SettingsPageTest, TheFocusLeavingForTheRangeBoxOpensNoSecondBox) {
    Load(122, {2});
    // A refreshed interval of 12 cannot be undone to a valid text; the box takes the focus
    // from the edit while it is open.
    int focusLosses = 0;
    duringBox = [this, &focusLosses] {
        if (++focusLosses <= 3) {
            LeaveField(CSettingsPage::kIntervalEditId);
        }
    };
    Load(102, {12});
    duringBox = nullptr;
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(queue.requests.empty());
}

TEST_F(SettingsPageTest, LambdaCheckBoxTogglesBetween0And255) {
    Load(74, {0});
    EXPECT_TRUE(Enabled(CSettingsPage::kLambdaCheckId));
    for (const BYTE expected : {BYTE{255}, BYTE{0}, BYTE{255}}) {
        SendMessageA(Item(CSettingsPage::kLambdaCheckId), BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_EQ(ElementBytes(74), Bytes{expected});
    }
    Load(74, {7});
    SendMessageA(Item(CSettingsPage::kLambdaCheckId), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_EQ(ElementBytes(74), Bytes{0}) << "any non-zero value counts as ticked";
}

TEST_F(SettingsPageTest, LanguageChangeReloadsTextsAndKeepsEverySelection) {
    EXPECT_EQ(Text(CSettingsPage::kChangeGroupId), "changing to gas");
    Load(2, {170});
    Load(35, {3});
    Load(45, {0x11});
    SetWindowTextA(Item(CSettingsPage::kChangeGroupId), "stale");

    page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
    PumpMessages();

    EXPECT_EQ(Text(CSettingsPage::kChangeGroupId), "changing to gas");
    EXPECT_EQ(SelectedText(CSettingsPage::kChangeTypeId), "Synchronized");
    EXPECT_EQ(SelectedText(CSettingsPage::kOxygenSensorId), "0.8-1.6 V");
    EXPECT_EQ(SelectedText(CSettingsPage::kTankValveId), "Ceodeux");
    EXPECT_EQ(Count(CSettingsPage::kOxygenSensorId), 6);
}

// A language that writes decimals with a comma shows the decimal settings with it at once;
// whole numbers and fields not yet shown stay as they are.
TEST_F(SettingsPageTest, LanguageChangeShowsTheDecimalsInItsSeparator) {
    Load(5, {0xD2, 0x04});
    Load(3, {12});
    ASSERT_EQ(Text(CSettingsPage::kChangePressId), "1.23");
    SeparatorScope comma(',');
    page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
    PumpMessages();
    EXPECT_EQ(Text(CSettingsPage::kChangePressId), "1,23");
    EXPECT_EQ(Text(CSettingsPage::kChangeRevId), "1200");
    EXPECT_EQ(Text(CSettingsPage::kMinInjectionId), "");
}

}  // namespace
