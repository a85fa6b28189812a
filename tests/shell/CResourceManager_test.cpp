// The resource and language manager over the program's own table and language modules that
// the test puts into the "Language" folder beside the test program.
#include "shell/CResourceManager.h"

#include "classlib/core/CNumberLocale.h"
#include "classlib/core/CString.h"
#include "link/RecentSettings.h"
#include "res/ResourceIds.h"

#include <windows.h>

#include <clocale>
#include <commctrl.h>
#include <cstdio>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

namespace {

const char kSettingsKey[] = "Software\\ZYLMOR\\Merivan\\v1.02\\Settings";

void TestVersion(int& major, int& minor) {
    major = 1;
    minor = 2;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return file.substr(0, file.rfind('\\') + 1);
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = {};
    return std::string(path, GetCurrentDirectoryA(MAX_PATH, path));
}

void DeleteLanguageValue(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Language");
        RegCloseKey(key);
    }
}

void WriteLanguageValue(HKEY root, const char* id) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(id),
                   static_cast<DWORD>(strlen(id) + 1));
    RegCloseKey(key);
}

std::string ReadUserLanguageValue() {
    char value[64] = {};
    DWORD bytes = sizeof(value) - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "Language", RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS) {
        return "<none>";
    }
    return value;
}

std::string Text(const CResourceManager& manager, UINT id) {
    CString text;
    manager.GetString(id, text);
    return static_cast<LPCSTR>(text);
}

std::string Names(const CResourceManager& manager) {
    CStringArray names;
    manager.GetLanguageList(names, nullptr);
    std::string joined;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        joined += (i == 0 ? "" : ", ") + std::string(names[i]);
    }
    return joined;
}

// The index of the language of that name in the list; -1 when absent.
int IndexOf(const CResourceManager& manager, const char* name) {
    CStringArray names;
    manager.GetLanguageList(names, nullptr);
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        if (names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

class CResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetAppVersionSource(&TestVersion);
        m_savedDirectory = CurrentDirectory();
        Clean();
    }

    void TearDown() override {
        SetCurrentDirectoryA(m_savedDirectory.c_str());
        Clean();
        std::setlocale(LC_ALL, "C");
        CNumberLocale::SetDecimalSeparator('.');
    }

    // Puts the named test modules (built into "modules" beside the test) into "Language".
    void InstallModules(std::initializer_list<const char*> names) {
        const std::string folder = ProgramFolder() + "Language";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : names) {
            const std::string file = std::string(name) + ".lng";
            ASSERT_TRUE(CopyFileA((ProgramFolder() + "modules\\" + file).c_str(),
                                  (folder + "\\" + file).c_str(), FALSE))
                << file;
        }
    }

private:
    void Clean() {
        DeleteLanguageValue(HKEY_CURRENT_USER);
        DeleteLanguageValue(HKEY_LOCAL_MACHINE);
        const std::string folder = ProgramFolder() + "Language";
        for (const char* name : {"deutsch", "alternative", "longid"}) {
            DeleteFileA((folder + "\\" + name + ".lng").c_str());
        }
        RemoveDirectoryA(folder.c_str());
        DeleteFileA((ProgramFolder() + "firmware.xml").c_str());
    }

    std::string m_savedDirectory;
};

TEST_F(CResourceManagerTest, ProgramAloneIsTheOnlyLanguageAndStaysInItsFolder) {
    CResourceManager manager;
    EXPECT_EQ(Names(manager), "English");
    EXPECT_EQ(manager.GetCurrentLanguageIndex(), 0);
    EXPECT_EQ(manager.GetLanguageId(), 1033u);
    EXPECT_EQ(ReadUserLanguageValue(), "1033");
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "English_United States.1252");
    EXPECT_EQ(Text(manager, 15031), "INITIALIZING ...");
    EXPECT_FALSE(manager.SelectLanguage(0)) << "the current language again";
}

TEST_F(CResourceManagerTest, StartMovesIntoTheLanguageFolder) {
    InstallModules({"deutsch"});
    CResourceManager manager;
    EXPECT_EQ(CurrentDirectory() + "\\", ProgramFolder() + "Language\\");
}

TEST_F(CResourceManagerTest, StringsComeFromTheModuleThenTheProgramThenAreUnknown) {
    InstallModules({"alternative"});
    CResourceManager manager;
    ASSERT_EQ(Text(manager, IDS_LANGUAGE_NAME), "Alt English");

    const struct {
        UINT id;
        const char* text;
    } rows[] = {
        {15034, "INCOMPATIBLE at port %3d"},  // the module's
        {15013,
         "This will finalize your changes in MCU by writing data into the Flash ROM.\nIt takes a few "
         "seconds. Do "
         "you want to continue?"},  // the module lacks it
        {15001, "???"},             // nobody has it
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(Text(manager, row.id), row.text);
    }
    EXPECT_EQ(std::string(manager.GetString(15001)), "") << "the data handler's form falls back by itself";
}

TEST_F(CResourceManagerTest, TranslationWithOtherConversionsGivesWayToTheProgramText) {
    InstallModules({"alternative"});
    CResourceManager manager;
    ASSERT_EQ(Text(manager, IDS_LANGUAGE_NAME), "Alt English");
    EXPECT_EQ(Text(manager, 15033), "CONNECTED to COM%d") << "the module's %s would read an int as a text";
    EXPECT_EQ(Text(manager, 15034), "INCOMPATIBLE at port %3d");
}

TEST_F(CResourceManagerTest, OverlongTextIsCutTo1023Characters) {
    InstallModules({"alternative"});
    CResourceManager manager;
    const std::string text = Text(manager, 15523);
    ASSERT_EQ(text.size(), 1023u);
    for (size_t i = 0; i < text.size(); ++i) {
        ASSERT_EQ(text[i], static_cast<char>('0' + i % 10)) << i;
    }
}

TEST_F(CResourceManagerTest, SelectingGermanRemembersItAndSwitchesTheDecimalSeparator) {
    InstallModules({"deutsch"});
    CResourceManager manager;
    ASSERT_EQ(Names(manager), "Deutsch, English");
    EXPECT_FALSE(manager.SelectLanguage(2));
    EXPECT_FALSE(manager.SelectLanguage(-1));
    ASSERT_TRUE(manager.SelectLanguage(0));
    EXPECT_EQ(manager.GetLanguageId(), 1031u);
    EXPECT_EQ(manager.GetCurrentLanguageIndex(), 0);
    EXPECT_EQ(ReadUserLanguageValue(), "1031");
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "German_Germany.1252");
    CString formatted;
    formatted.Format("%.2f", 3.5);
    EXPECT_STREQ(formatted, "3,50");
    char printed[16] = {};
    std::snprintf(printed, sizeof(printed), "%.2f", 3.5);
    EXPECT_STREQ(printed, "3,50");
    EXPECT_FALSE(manager.SelectLanguage(0)) << "already German";
    ASSERT_TRUE(manager.SelectLanguage(1));
    formatted.Format("%.2f", 3.5);
    EXPECT_STREQ(formatted, "3.50");
}

TEST_F(CResourceManagerTest, RememberedChoiceIsTakenFromTheUserElseTheMachine) {
    InstallModules({"deutsch"});

    const struct {
        const char* name;
        HKEY root;
        const char* stored;
        const char* inUse;
    } rows[] = {
        {"user's choice", HKEY_CURRENT_USER, "1031", "Sprache \xE4ndern"},
        {"machine's choice", HKEY_LOCAL_MACHINE, "1031", "Sprache \xE4ndern"},
        {"choice no module provides", HKEY_CURRENT_USER, "1040", "Change language"},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteLanguageValue(HKEY_CURRENT_USER);
        DeleteLanguageValue(HKEY_LOCAL_MACHINE);
        WriteLanguageValue(row.root, row.stored);
        CResourceManager manager;
        EXPECT_EQ(Text(manager, 15109), row.inUse);
        EXPECT_EQ(ReadUserLanguageValue(), std::to_string(manager.GetLanguageId()))
            << "the id in use is written";
    }
}

TEST_F(CResourceManagerTest, ModuleRepeatingAnIdWinsTheIdAndBothAreListed) {
    InstallModules({"alternative", "deutsch"});
    CResourceManager manager;
    EXPECT_EQ(Names(manager), "Alt English, Deutsch, English");
    EXPECT_EQ(manager.GetCurrentLanguageIndex(), 0) << "1033 is the module's now";
    EXPECT_EQ(Text(manager, IDS_LANGUAGE_SECOND_NAME), "British");
    EXPECT_FALSE(manager.SelectLanguage(2)) << "the program's entry has the current id";
    ASSERT_TRUE(manager.SelectLanguage(1));
    EXPECT_TRUE(manager.SelectLanguage(2));
    EXPECT_EQ(manager.GetCurrentLanguageIndex(), 2);
    EXPECT_EQ(Text(manager, 15033), "CONNECTED to COM%d");
}

TEST_F(CResourceManagerTest, ModuleIdIsCutToSevenCharacters) {
    InstallModules({"longid"});
    CResourceManager manager;
    CStringArray names;
    CUIntArray ids;
    ASSERT_EQ(manager.GetLanguageIds(names, ids), 2);
    EXPECT_EQ(std::string(names[1]), "Zulu");
    EXPECT_EQ(ids[1], 1234567u);
}

TEST_F(CResourceManagerTest, LanguageListKeepsOneImagePerLanguage) {
    InstallModules({"alternative", "deutsch"});
    CResourceManager manager;
    HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 4, 4);
    ASSERT_NE(images, nullptr);
    CStringArray names;
    EXPECT_EQ(manager.GetLanguageList(names, images), 3);
    EXPECT_EQ(ImageList_GetImageCount(images), 3) << "the module without icon gets a blank one";
    ImageList_Destroy(images);
}

TEST_F(CResourceManagerTest, TextTablesAndIconsFollowTheLanguage) {
    InstallModules({"alternative", "deutsch"});
    CResourceManager manager;
    CString text;
    EXPECT_FALSE(manager.LookupObdStandardText("01", text)) << "a module without tables has none";
    EXPECT_EQ(manager.LoadIcon(IDI_LANGUAGE_FLAG, 16, 16), nullptr);
    ASSERT_TRUE(manager.SelectLanguage(IndexOf(manager, "Deutsch")));
    EXPECT_TRUE(manager.LookupObdStandardText("01", text));
    EXPECT_TRUE(manager.LookupDtcText("P0100", text));
    HICON flag = manager.LoadIcon(IDI_LANGUAGE_FLAG, 16, 16);
    EXPECT_NE(flag, nullptr);
    DestroyIcon(flag);
}

TEST_F(CResourceManagerTest, CatalogueIsWrittenBesideTheProgramAtTheEnd) {
    const std::string catalogue = ProgramFolder() + "firmware.xml";
    {
        CResourceManager manager;
        CMapStringToString descriptions;
        descriptions["en"] = "First build";
        manager.AddFirmwareDescriptions(1, 5, 120, 0, descriptions);
        CString history;
        manager.GetVersionHistory("1.05", "0120", "0", history);
        EXPECT_NE(std::string(history).find("First build"), std::string::npos);
    }
    EXPECT_NE(GetFileAttributesA(catalogue.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
