// Remembered folders and per-unit files in the registry (Windows only).
#include "link/RecentSettings.h"

#include "CTempFolder.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// A version no real program has, so the tests never touch a user's settings.
constexpr int kTestMajor = 97;
constexpr int kTestMinor = 5;
const char kTestKey[] = "Software\\ZYLMOR\\Merivan\\v97.05";

void TestVersion(int& major, int& minor) {
    major = kTestMajor;
    minor = kTestMinor;
}

std::string ReadValue(HKEY root, const std::string& key, const char* name) {
    char buffer[600] = {};
    DWORD bytes = sizeof buffer - 1;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) {
        return "<none>";
    }
    return buffer;
}

void SetValue(HKEY root, const std::string& key, const char* name, const std::string& text) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(handle);
}

class RecentSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTestKeys();
        SetAppVersionSource(&TestVersion);
    }

    void TearDown() override {
        SetAppVersionSource(nullptr);
        RemoveTestKeys();
    }

    static void RemoveTestKeys() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
    }

    CTempFolder m_folder;
};

}  // namespace

TEST_F(RecentSettingsTest, WritesFoldersAndFilesUnderTheVersionKey) {
    const std::string saves = m_folder.Path("");
    ASSERT_TRUE(WriteDirectorySetting("Saves", saves.c_str()));
    ASSERT_TRUE(WriteRecentFileSetting("0123456789ABCDEF", "C:\\cars\\a.zcf"));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Directories", "Saves"), saves);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Files", "0123456789ABCDEF"),
              "C:\\cars\\a.zcf");
    CString folder;
    EXPECT_TRUE(ReadDirectorySetting("Saves", folder));
    EXPECT_STREQ(folder, saves.c_str());
    CString path;
    EXPECT_TRUE(ReadRecentFileSetting("0123456789ABCDEF", path));
    EXPECT_STREQ(path, "C:\\cars\\a.zcf");
    EXPECT_FALSE(ReadRecentFileSetting("FEDCBA9876543210", path));
}

TEST_F(RecentSettingsTest, FallsBackToTheMachineFolderWhenTheUsersIsGone) {
    const std::string gone = m_folder.Path("deleted");
    const std::string machine = m_folder.Path("machine");
    std::filesystem::create_directory(machine);
    ASSERT_TRUE(WriteDirectorySetting("Updates", gone.c_str()));
    CString folder;
    EXPECT_FALSE(ReadDirectorySetting("Updates", folder));
    SetValue(HKEY_LOCAL_MACHINE, std::string(kTestKey) + "\\Directories", "Updates", machine);
    EXPECT_TRUE(ReadDirectorySetting("Updates", folder));
    EXPECT_STREQ(folder, machine.c_str());
}

TEST_F(RecentSettingsTest, PruningRemovesFilesThatAreGone) {
    const std::string kept = m_folder.Path("kept.zcf");
    CTempFolder::WriteBytes(kept, {1, 2, 3});
    ASSERT_TRUE(WriteRecentFileSetting("AAAAAAAAAAAAAAAA", kept.c_str()));
    ASSERT_TRUE(WriteRecentFileSetting("BBBBBBBBBBBBBBBB", m_folder.Path("gone.zcf").c_str()));
    ASSERT_TRUE(WriteRecentFileSetting("CCCCCCCCCCCCCCCC", ""));
    ASSERT_TRUE(WriteRecentFileSetting("DDDDDDDDDDDDDDDD", m_folder.Path("").c_str()));
    // A name longer than the walk's buffer is passed over without ending the walk.
    ASSERT_TRUE(WriteRecentFileSetting(std::string(300, 'L').c_str(), "C:\\nowhere.zcf"));
    ASSERT_TRUE(WriteRecentFileSetting("EEEEEEEEEEEEEEEE", m_folder.Path("gone too.zcf").c_str()));
    PruneRecentFiles();
    CString path;
    EXPECT_TRUE(ReadRecentFileSetting("AAAAAAAAAAAAAAAA", path));
    for (const char* unit :
         {"BBBBBBBBBBBBBBBB", "CCCCCCCCCCCCCCCC", "DDDDDDDDDDDDDDDD", "EEEEEEEEEEEEEEEE"}) {
        SCOPED_TRACE(unit);
        EXPECT_FALSE(ReadRecentFileSetting(unit, path));
    }
}

TEST_F(RecentSettingsTest, DoNothingWithoutAProgramVersion) {
    SetAppVersionSource(nullptr);
    EXPECT_FALSE(WriteDirectorySetting("Saves", "C:\\"));
    CString folder;
    EXPECT_FALSE(ReadDirectorySetting("Saves", folder));
    PruneRecentFiles();
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Directories", "Saves"), "<none>");
}

TEST(RecentSettingsKey, NamesTheVersionWithTwoMinorDigits) {
    EXPECT_STREQ(FormatSettingsKey(1, 2, "Files"), "Software\\ZYLMOR\\Merivan\\v1.02\\Files");
    EXPECT_STREQ(FormatSettingsKey(3, 10, "Directories"), "Software\\ZYLMOR\\Merivan\\v3.10\\Directories");
}
