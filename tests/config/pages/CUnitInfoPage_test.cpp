// The unit information page under Wine: the identity, version, running-time and patch
// elements as the data handler announces them, the live running times, and the contact
// stamp kept per unit in the registry.
#include "shell/CUnitInfoPage.h"

#include "classlib/win/CRegistryKey.h"
#include "link/DataHandlerMessages.h"
#include "link/RecentSettings.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;

// Element 64 of the test's units; their stamps are removed before each test.
constexpr char kUnitA[] = "PGTSTUNITAAAAAAA";
constexpr char kUnitB[] = "PGTSTUNITBBBBBBB";
constexpr int kIdentityRow = 31;
constexpr int kPatchRow = 42;

void ForgetStamp(LPCSTR unitId) {
    CString path;
    ASSERT_TRUE(GetSettingsKey("Contacts", path));
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, path, KEY_WRITE) == ERROR_SUCCESS) {
        RegDeleteValueA(key.Get(), unitId);
    }
}

Bytes Stamp(int hours, int minutes, int seconds) {
    return {static_cast<BYTE>(hours & 0xFF), static_cast<BYTE>(hours >> 8), static_cast<BYTE>(minutes),
            static_cast<BYTE>(seconds)};
}

Bytes Text16(const char* text) {
    Bytes bytes(16, 0);
    for (size_t i = 0; i < 16 && text[i] != '\0'; ++i) {
        bytes[i] = static_cast<BYTE>(text[i]);
    }
    return bytes;
}

class UnitInfoPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        ForgetStamp(kUnitA);
        ForgetStamp(kUnitB);
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(1.0, 1.0);
        ASSERT_TRUE(page.Create(CUnitInfoPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    void TearDown() override {
        ForgetStamp(kUnitA);
        ForgetStamp(kUnitB);
    }

    BYTE* Element(int element) { return handler.GetImage(kImageWorking) + handler.GetElementOffset(element); }

    // Puts the bytes into the working image without announcing them.
    void Put(int element, const Bytes& bytes) { std::copy(bytes.begin(), bytes.end(), Element(element)); }

    void Load(int element, const Bytes& bytes) {
        Put(element, bytes);
        page.PostMessage(WM_DH_ELEMENT_CHANGED, 1, element | kReasonLoaded);
        PumpMessages();
    }

    std::string Text(int id) const { return WindowText(GetDlgItem(page.GetSafeHwnd(), id)); }

    CUnitInfoPage page{nullptr};
};

TEST_F(UnitInfoPageTest, StartsWithDashesAndTheLabelTexts) {
    EXPECT_EQ(Text(CUnitInfoPage::kVersionId), "-");
    EXPECT_EQ(Text(CUnitInfoPage::kPatchDateId), "-");
    EXPECT_EQ(Text(CUnitInfoPage::kDescriptionId), "");
    EXPECT_EQ(Text(1101), "unit");
    EXPECT_EQ(Text(1106), "running time");
    EXPECT_EQ(Text(1112), "When MIL on:");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page.GetSafeHwnd(), CUnitInfoPage::kRemarkId)));
}

TEST_F(UnitInfoPageTest, LaysOutTheVisibleRowsWithoutOverlap) {
    EXPECT_EQ(LayoutClashes(page.GetSafeHwnd()), std::vector<std::string>{});
}

TEST_F(UnitInfoPageTest, ShowsEachElementInItsFormat) {
    struct Case {
        bool identityRowsSupported;
        bool patchRowsSupported;
        int element;
        Bytes bytes;
        int control;
        const char* shown;
    };

    const Case cases[] = {
        {false, false, 64, Text16("ABCDEFGHIJKLMNOP"), CUnitInfoPage::kIdentifierId, "ABCD E FGHI JK L MNOP"},
        {false, false, 66, {0xE7, 0x07, 5, 9}, CUnitInfoPage::kReleaseId, "2023-05-09"},
        {false, false, 70, Stamp(1234, 5, 6), CUnitInfoPage::kFinalizationId, "1234:05:06"},
        {false, false, 65, {1, 3, 2, 0x85}, CUnitInfoPage::kVersionId, "1.3 / 2.05\xDF"},
        {false, false, 65, {1, 3, 2, 0x05}, CUnitInfoPage::kVersionId, "1.3 / 2.05 "},
        {true, false, 65, {1, 3, 2, 0x85}, CUnitInfoPage::kVersionId, "1.3 / 2.05-0123 (3)"},
        {true, false, 108, {0xFF, 0xFF, 0xFF, 0xFF}, CUnitInfoPage::kMilTimeId, "-"},
        {true, false, 108, Stamp(1, 2, 3), CUnitInfoPage::kMilTimeId, "0001:02:03"},
        {false, false, 108, Stamp(1, 2, 3), CUnitInfoPage::kMilTimeId, "-"},
        {false, false, 111, {1, 5, 0x0C, 0x7B}, CUnitInfoPage::kPatchVersionId, "-"},
        {false, true, 111, {1, 5, 0x0C, 0x7B}, CUnitInfoPage::kPatchVersionId, "1.05-0123 (3)"},
        {false, true, 112, {0xE8, 0x07, 12, 24}, CUnitInfoPage::kPatchDateId, "2024-12-24"},
    };
    Put(106, {0x7B, 0x0C});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        queue.supportedRows.clear();
        if (c.identityRowsSupported) {
            queue.supportedRows.insert(kIdentityRow);
        }
        if (c.patchRowsSupported) {
            queue.supportedRows.insert(kPatchRow);
        }
        Load(c.element, c.bytes);
        EXPECT_EQ(Text(c.control), c.shown);
    }
}

TEST_F(UnitInfoPageTest, DescriptionShowsTheHistoryOfTheUnitsFirmwareBuild) {
    CMapStringToString descriptions;
    descriptions.SetAt("en", "Pages test build 456");
    resources.AddFirmwareDescriptions(9, 87, 456, 3, descriptions);
    Put(65, {1, 3, 9, 87});
    const Bytes buildWord = {0xC8, 0x0D};  // build 456, branch 3

    Load(106, buildWord);
    EXPECT_EQ(Text(CUnitInfoPage::kDescriptionId), "") << "the unit does not support the build word";

    queue.supportedRows.insert(kIdentityRow);
    Load(106, buildWord);
    EXPECT_NE(Text(CUnitInfoPage::kDescriptionId).find("Pages test build 456"), std::string::npos);
    EXPECT_EQ(Text(CUnitInfoPage::kVersionId), "-") << "element 65 itself has not arrived";
}

TEST_F(UnitInfoPageTest, PetrolTimeIsTotalLessGasOnceBothArrived) {
    Load(67, Stamp(12, 5, 10));
    EXPECT_EQ(Text(CUnitInfoPage::kPetrolTimeId), "-");
    Load(68, Stamp(3, 7, 20));
    EXPECT_EQ(Text(CUnitInfoPage::kTotalTimeId), "0012:05:10");
    EXPECT_EQ(Text(CUnitInfoPage::kGasTimeId), "0003:07:20");
    EXPECT_EQ(Text(CUnitInfoPage::kPetrolTimeId), "0008:57:50");

    // A lost connection between the two forgets the first.
    Load(67, Stamp(20, 0, 0));
    page.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    Load(68, Stamp(1, 0, 0));
    EXPECT_EQ(Text(CUnitInfoPage::kPetrolTimeId), "0008:57:50");
}

TEST_F(UnitInfoPageTest, LiveRunningTimesFollowEachCycle) {
    struct Case {
        Bytes total;
        Bytes gas;
        const char* petrol;
    };

    const Case cases[] = {
        {Stamp(12, 5, 10), Stamp(3, 7, 20), "0008:57:50"},
        {Stamp(100, 0, 0), Stamp(0, 0, 1), "0099:59:59"},
        {Stamp(1, 0, 0), Stamp(2, 0, 0), "0000:00:00"},  // inconsistent data: no negative time
    };
    for (const Case& c : cases) {
        Put(77, c.total);
        Put(78, c.gas);
        page.PostMessage(WM_DH_NEW_DATA, 0, 0);
        PumpMessages();
        EXPECT_EQ(Text(CUnitInfoPage::kPetrolTimeId), c.petrol);
    }
    EXPECT_EQ(Text(CUnitInfoPage::kTotalTimeId), "0001:00:00");
}

TEST_F(UnitInfoPageTest, ContactStampDecidesTheRemarkAndIsStoredAfterwards) {
    struct Case {
        const char* unit;
        Bytes lastContact;  // element 69
        Bytes stamp;        // element 76, stored afterwards
        int remark;
        const char* storedShown;
    };

    const Case cases[] = {
        {kUnitA, Stamp(10, 0, 0), Stamp(11, 22, 33), CUnitInfoPage::kRemarkNoStamp, "-"},
        {kUnitA, Stamp(11, 22, 33), Stamp(12, 0, 0), CUnitInfoPage::kRemarkOurContact, "0011:22:33"},
        {kUnitA, Stamp(11, 0, 0), Stamp(13, 0, 0), CUnitInfoPage::kRemarkOtherContact, "0012:00:00"},
        {kUnitB, Stamp(13, 0, 0), Stamp(14, 0, 0), CUnitInfoPage::kRemarkNoStamp, "-"},
    };
    const char* remarks[] = {"-", "There was no initiative to contact since this program has been installed.",
                             "The latest contact has NOT been done by this program.",
                             "The latest contact has been done by this program."};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedShown);
        Load(64, Text16(c.unit));
        Load(69, c.lastContact);
        Load(76, c.stamp);
        EXPECT_EQ(page.GetRemarkState(), c.remark);
        EXPECT_EQ(Text(CUnitInfoPage::kStoredStampId), c.storedShown);
        EXPECT_EQ(Text(CUnitInfoPage::kRemarkId), remarks[c.remark]);
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
        ASSERT_TRUE(CUnitInfoPage::ReadContactStamp(c.unit, hours, minutes, seconds));
        EXPECT_EQ(Stamp(hours, minutes, seconds), c.stamp);
    }
}

TEST_F(UnitInfoPageTest, AUnitWithoutIdentifierKeepsNoStamp) {
    Load(64, Bytes(16, 0));
    Load(69, Stamp(1, 0, 0));
    Load(76, Stamp(2, 0, 0));
    EXPECT_EQ(page.GetRemarkState(), CUnitInfoPage::kRemarkNone);
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    EXPECT_FALSE(CUnitInfoPage::ReadContactStamp("", hours, minutes, seconds));
    CString path;
    ASSERT_TRUE(GetSettingsKey("Contacts", path));
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, path, KEY_READ) == ERROR_SUCCESS) {
        EXPECT_NE(RegQueryValueExA(key.Get(), "", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS)
            << "the key's default value was written";
    }
}

TEST_F(UnitInfoPageTest, LanguageChangeResetsTheTexts) {
    SetWindowTextA(GetDlgItem(page.GetSafeHwnd(), 1114), "stale");
    page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
    PumpMessages();
    EXPECT_EQ(Text(1114), "Patch");
    EXPECT_EQ(Text(CUnitInfoPage::kRemarkId), "-");
}

}  // namespace
