// What the data handler remembers in the registry: the folders of configuration and update
// files, and per unit the configuration file last used with it, which makes a reconnected
// unit's data file backed when they match.
#include "link/RecentSettings.h"
#include "tests/datafiles/DataFilesFixture.h"
#include "tests/files/FileBytes.h"
#include "tests/files/ReferenceFiles.h"

#include <windows.h>

namespace {

// A version no real program has, and not that of the other registry tests, which may run
// at the same time in the same prefix.
constexpr int kTestMajor = 97;
constexpr int kTestMinor = 6;
const char kTestKey[] = "Software\\ZYLMOR\\Merivan\\v97.06";
const char kUnitId[] = "UNIT-0000000001A";

void TestVersion(int& major, int& minor) {
    major = kTestMajor;
    minor = kTestMinor;
}

std::string Remembered(const char* unitId) {
    CString path;
    return ReadRecentFileSetting(unitId, path) ? std::string(path) : "<none>";
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

}  // namespace

class CDataHandlerRemembered : public DataFilesFixture {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        SetAppVersionSource(&TestVersion);
    }

    void TearDown() override {
        SetAppVersionSource(nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    }

    // A unit's data saved to a file while the working data has setting B at this value.
    std::string SaveUnitFile(BYTE settingB) {
        TakeUnit(0x11, kUnitId);
        Image(kImageWorking)[kSettingBOffset] = settingB;
        const std::string path = folder.Path("unit.zcf");
        EXPECT_EQ(1, handler->SaveConfigFile(path.c_str()));
        return path;
    }

    // The same unit connects to a program that has no data yet.
    void ReconnectToNewProgram() {
        handler = MakeHandler();
        Forget();
        Image(kImageUnit)[kSettingAOffset] = 0x11;
        SetUnitId(kImageUnit, kUnitId);
        handler->CheckConnectedUnit();
    }
};

TEST_F(CDataHandlerRemembered, SaveAndLoadRememberTheFolderAndTheUnitsFile) {
    const std::string path = SaveUnitFile(0);
    CString saves;
    ASSERT_TRUE(ReadDirectorySetting("Saves", saves));
    EXPECT_EQ(FolderOf(path), std::string(saves));
    EXPECT_EQ(path, Remembered(kUnitId));

    WriteRecentFileSetting(kUnitId, "");
    EXPECT_EQ(0, handler->LoadConfigFile(path.c_str()));
    EXPECT_EQ(path, Remembered(kUnitId));
}

TEST_F(CDataHandlerRemembered, UpdateFolderIsRememberedEvenForARefusedFile) {
    const std::string path = folder.Path("refused.zfu");
    CTempFolder::WriteBytes(path, std::vector<BYTE>(40, 'x'));
    CByteArray image;
    EXPECT_FALSE(handler->CheckFirmwareUpdateFile(path.c_str(), image));
    CString updates;
    ASSERT_TRUE(ReadDirectorySetting("Updates", updates));
    EXPECT_EQ(FolderOf(path), std::string(updates));
}

TEST_F(CDataHandlerRemembered, MatchingFileMakesTheUnitsDataFileBacked) {
    SaveUnitFile(0);
    ReconnectToNewProgram();
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ("unit.zcf", mainWindow.fileNames.back());
    EXPECT_FALSE(mainWindow.modifiedMarks.back());
    EXPECT_FALSE(handler->IsModified());
}

TEST_F(CDataHandlerRemembered, DifferingFileIsWarnedAboutWithTheDifferingElements) {
    const std::string path = SaveUnitFile(0x42);
    ReconnectToNewProgram();
    ASSERT_EQ(1u, user.messages.size());
    EXPECT_EQ(
        "The latest saved file for the connected MCU differs from its actual data.\n(\"" + path + "\")\n35 ",
        user.messages[0].text);
    EXPECT_EQ(IUserPrompter::Box::Error, user.messages[0].box);
    EXPECT_EQ("Untitled", mainWindow.fileNames.back());
    EXPECT_EQ(path, Remembered(kUnitId));
}

TEST_F(CDataHandlerRemembered, UnusableFileIsForgottenSilently) {
    struct Case {
        const char* name;
        std::size_t keep;  // bytes of the saved file left; 0: the file is removed
        bool damageCrc;
    };

    const Case cases[] = {
        {"missing", 0, false},
        {"28 bytes", 28, false},
        {"damaged CRC-32", 1000000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handler = MakeHandler();
        const std::string path = SaveUnitFile(0);
        std::vector<BYTE> file = CTempFolder::ReadBytes(path);
        file.resize(std::min(file.size(), c.keep));
        if (c.damageCrc) {
            file.back() ^= 1;
        }
        DeleteFileA(path.c_str());
        if (c.keep > 0) {
            CTempFolder::WriteBytes(path, file);
        }
        ReconnectToNewProgram();
        EXPECT_TRUE(user.messages.empty());
        EXPECT_EQ("", Remembered(kUnitId));
        EXPECT_TRUE(handler->IsModified());
    }
}
