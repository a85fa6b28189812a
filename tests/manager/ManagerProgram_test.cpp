// Runs ZFx Manager as a user would: started with a firmware file it shows the file's type,
// versions and listed description keys; a second start hands its file to the first and ends;
// closing asks first, remembers the selected path and a restart returns to it; the About
// box's link opens the maker's site.
#include "manager/res/ManagerResourceIds.h"
#include "tests/forms/ControlTestSupport.h"
#include "tests/manager/ManagerFixtures.h"
#include "tests/support/ShellOpenRecorder.h"
#include "tests/support/TestTrees.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kPollMs = 100;
constexpr const char* kSettingsKey = "Software\\ZYLMOR\\ZFx Viewer\\v1.00\\Settings";

std::string ProgramPath() {
    std::string path = BuildTree();
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return "Z:" + path + "\\ZFxManager.exe";
}

std::string FieldText(HWND window, int id) {
    char text[512] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

struct Search {
    DWORD processId;
    const char* title;  // null: any dialog box other than skip
    HWND skip;
    HWND found;
};

BOOL CALLBACK FindWindowProc(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window) || window == search.skip) {
        return TRUE;
    }
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (search.title != nullptr ? std::string(text) != search.title : std::string(className) != "#32770") {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const char* title, HWND skip = nullptr) {
    Search search{processId, title, skip, nullptr};
    EnumWindows(&FindWindowProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until the condition holds; true when it did within the time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
        if (condition()) {
            return true;
        }
        Sleep(kPollMs);
    }
    return false;
}

// Waits until the field shows text; true when it did within the time-out.
bool WaitForField(HWND window, int id, const std::string& text) {
    return WaitUntil([&] { return FieldText(window, id) == text; });
}

// Waits until the window shows the colour somewhere in area (window coordinates): the
// window may be found before it has painted. True when it did within the time-out.
bool WaitForColour(HWND window, const RECT& area, COLORREF colour) {
    return WaitUntil([&] { return CCapturedPixels(window).Contains(area, colour); });
}

class ManagerProgram : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = ManagerFixtures::FreshFolder("program");
        m_zipped = m_folder + "\\a.zfz";
        m_patch = m_folder + "\\p.zfp";
        ASSERT_TRUE(
            ManagerFixtures::WriteZippedFile(m_zipped, {{"de", "Deutsch"}, {"en", "English"}, {"fr", "F"}}));
        ASSERT_TRUE(ManagerFixtures::WritePatchFile(m_patch, {{"hu", "Magyar"}}));
    }

    void TearDown() override {
        for (PROCESS_INFORMATION& process : m_processes) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, 5000);
            }
            CloseHandle(process.hProcess);
        }
    }

    PROCESS_INFORMATION Start(const std::string& argument) {
        std::string commandLine = "\"" + ProgramPath() + "\"";
        if (!argument.empty()) {
            commandLine += " \"" + argument + "\"";
        }
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            ADD_FAILURE() << "cannot start " << commandLine;
            return process;
        }
        CloseHandle(process.hThread);
        m_processes.push_back(process);
        return process;
    }

    HWND WaitForViewer(const PROCESS_INFORMATION& process) {
        for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
            HWND window = FindProcessWindow(process.dwProcessId, "ZFx Viewer");
            if (window != nullptr) {
                return window;
            }
            Sleep(kPollMs);
        }
        return nullptr;
    }

    // Closes the viewer, answering its question with button, and tells whether it ended
    // within endTimeoutMs.
    bool CloseAnswering(const PROCESS_INFORMATION& process,
                        HWND viewer,
                        int button,
                        DWORD endTimeoutMs = 20000) {
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        HWND question = nullptr;
        for (DWORD waited = 0; waited < 20000 && question == nullptr; waited += kPollMs) {
            Sleep(kPollMs);
            question = FindProcessWindow(process.dwProcessId, nullptr, viewer);
        }
        if (question == nullptr) {
            ADD_FAILURE() << "no question on closing";
            return false;
        }
        PostMessageA(question, WM_COMMAND, button, 0);
        return WaitForSingleObject(process.hProcess, endTimeoutMs) == WAIT_OBJECT_0;
    }

    std::string m_folder;
    std::string m_zipped;
    std::string m_patch;
    std::vector<PROCESS_INFORMATION> m_processes;
};

TEST_F(ManagerProgram, ShowsTheZippedFileGivenOnTheCommandLine) {
    const PROCESS_INFORMATION process = Start(m_zipped);
    HWND viewer = WaitForViewer(process);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitForField(viewer, IDC_FILE_TYPE, "ZYLMOR Firmware Update 1.00"));
    EXPECT_EQ(FieldText(viewer, IDC_FIRMWARE_VERSION), "3.05-0078 (2)");
    EXPECT_EQ(FieldText(viewer, IDC_PROTOCOL_VERSION), "1.11");
    EXPECT_EQ(FieldText(viewer, IDC_BOOTLOADER_VERSION), "2.07");
    const std::string summary = FieldText(viewer, IDC_KEY_SUMMARY);
    EXPECT_TRUE(summary == "{de;en}" || summary == "{en;de}") << summary;
    EXPECT_EQ(SendDlgItemMessageA(viewer, IDC_KEY_LIST, CB_GETCOUNT, 0, 0), 2);
    // The chosen key's description is shown.
    // (Wide: list texts are copied between processes as Unicode.)
    wchar_t key[16] = {};
    const LRESULT chosen = SendDlgItemMessageW(viewer, IDC_KEY_LIST, CB_GETCURSEL, 0, 0);
    ASSERT_GE(chosen, 0);
    SendDlgItemMessageW(viewer, IDC_KEY_LIST, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(key));
    EXPECT_EQ(FieldText(viewer, IDC_DESCRIPTION), std::wstring(key) == L"de" ? "Deutsch" : "English");
    const std::string shown = FieldText(viewer, IDC_FILE_NAME);
    EXPECT_TRUE(shown == m_zipped ||
                (shown.find("...") != std::string::npos && shown.size() < m_zipped.size()))
        << shown;
    EXPECT_TRUE(m_zipped.rfind(shown.substr(shown.size() - 5)) != std::string::npos) << shown;
    // Viewer mode: the editing buttons are hidden.
    for (int id : {IDC_SAVE, IDC_OPEN, IDC_ADD_KEY, IDC_DELETE_KEY}) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(viewer, id))) << id;
    }
    EXPECT_TRUE(CloseAnswering(process, viewer, IDYES));
}

TEST_F(ManagerProgram, ASecondStartHandsItsFileToTheFirstAndEnds) {
    const std::string onlyFrench = m_folder + "\\fr.zfz";
    const std::string update = m_folder + "\\u.zfu";
    ASSERT_TRUE(ManagerFixtures::WriteZippedFile(onlyFrench, {{"fr", "F"}}));
    ASSERT_TRUE(ManagerFixtures::WriteUpdateFile(update));
    const PROCESS_INFORMATION first = Start(m_zipped);
    HWND viewer = WaitForViewer(first);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitForField(viewer, IDC_FILE_TYPE, "ZYLMOR Firmware Update 1.00"));

    const PROCESS_INFORMATION second = Start(m_patch);
    ASSERT_EQ(WaitForSingleObject(second.hProcess, 30000), WAIT_OBJECT_0);
    ASSERT_TRUE(WaitForField(viewer, IDC_FILE_TYPE, "ZYLMOR Firmware Patch 1.00"));
    EXPECT_EQ(FieldText(viewer, IDC_FIRMWARE_VERSION), "3.05-0078 (2)");
    EXPECT_EQ(FieldText(viewer, IDC_PROTOCOL_VERSION), "");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(viewer, IDC_PROTOCOL_LABEL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(viewer, IDC_BOOTLOADER_LABEL)));
    EXPECT_EQ(FieldText(viewer, IDC_KEY_SUMMARY), "{hu}");

    const PROCESS_INFORMATION third = Start(onlyFrench);
    ASSERT_EQ(WaitForSingleObject(third.hProcess, 30000), WAIT_OBJECT_0);
    ASSERT_TRUE(WaitForField(viewer, IDC_KEY_SUMMARY, "*** Leer ***"));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(viewer, IDC_PROTOCOL_LABEL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(viewer, IDC_KEY_LIST)));

    // A handed-over path is read only as far as the data goes, even without its terminator.
    COPYDATASTRUCT data = {};
    data.dwData = 1;
    data.cbData = static_cast<DWORD>(m_zipped.size());
    data.lpData = const_cast<char*>(m_zipped.data());
    EXPECT_TRUE(SendMessageA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    const std::string handedSummary = FieldText(viewer, IDC_KEY_SUMMARY);
    EXPECT_TRUE(handedSummary == "{de;en}" || handedSummary == "{en;de}") << handedSummary;
    EXPECT_EQ(FieldText(viewer, IDC_FILE_TYPE), "ZYLMOR Firmware Update 1.00");

    // An update file is no file the viewer shows: the fields are emptied.
    const PROCESS_INFORMATION fourth = Start(update);
    ASSERT_EQ(WaitForSingleObject(fourth.hProcess, 30000), WAIT_OBJECT_0);
    ASSERT_TRUE(WaitForField(viewer, IDC_FILE_TYPE, ""));
    EXPECT_EQ(FieldText(viewer, IDC_FIRMWARE_VERSION), "");
    EXPECT_TRUE(CloseAnswering(first, viewer, IDYES));
}

// A file the viewer cannot show says why, in the description field with the program's own
// texts; a folder says nothing.
TEST_F(ManagerProgram, SaysWhyAFileCannotBeShown) {
    const std::string invalid =
        "Ung\xFC"
        "ltiges Dateiformat.";
    const std::string damaged = m_folder + "\\damaged.zfz";
    const std::string foreign = m_folder + "\\settings.zcf";
    const std::string missing = m_folder + "\\missing.zfp";
    ASSERT_TRUE(ManagerFixtures::WriteBytes(damaged, {0x5A, 0x46, 0x5A, 1, 2, 3}));
    ASSERT_TRUE(ManagerFixtures::WriteBytes(m_folder + "\\damaged.zfp", {0, 1, 2, 3, 4, 5, 6, 7}));
    ASSERT_TRUE(ManagerFixtures::WriteBytes(foreign, {1, 2, 3}));
    const PROCESS_INFORMATION process = Start(damaged);
    HWND viewer = WaitForViewer(process);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitForField(viewer, IDC_DESCRIPTION, invalid));
    EXPECT_EQ(FieldText(viewer, IDC_FILE_TYPE), "");

    struct Case {
        std::string path;
        std::string type;
        const char* description;  // the start of it; null: not looked at
    };

    const std::string unread = "Fehler beim lesen der Datei:\r\n" + missing + "\r\nFehler Kode: ";
    const Case cases[] = {
        {m_zipped, "ZYLMOR Firmware Update 1.00", nullptr},
        {m_folder + "\\damaged.zfp", "", invalid.c_str()},
        {foreign, "", invalid.c_str()},
        {missing, "", unread.c_str()},
        {m_folder, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        COPYDATASTRUCT data = {};
        data.dwData = 1;
        data.cbData = static_cast<DWORD>(c.path.size() + 1);
        data.lpData = const_cast<char*>(c.path.c_str());
        SendMessageA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        EXPECT_EQ(FieldText(viewer, IDC_FILE_TYPE), c.type);
        if (c.description != nullptr) {
            const std::string description = FieldText(viewer, IDC_DESCRIPTION);
            EXPECT_EQ(description.substr(0, std::strlen(c.description)), c.description);
            EXPECT_EQ(description.empty(), *c.description == '\0') << description;
            EXPECT_EQ(FieldText(viewer, IDC_FILE_NAME).empty(), *c.description == '\0');
        }
    }
    EXPECT_TRUE(CloseAnswering(process, viewer, IDYES));
}

TEST_F(ManagerProgram, ClosingAsksRemembersThePathAndARestartReturnsToIt) {
    const PROCESS_INFORMATION first = Start(m_patch);
    HWND viewer = WaitForViewer(first);
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(WaitForField(viewer, IDC_FILE_TYPE, "ZYLMOR Firmware Patch 1.00"));

    EXPECT_FALSE(CloseAnswering(first, viewer, IDNO, 2000)) << "No must keep the program running";
    ASSERT_TRUE(CloseAnswering(first, viewer, IDYES));

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char latest[MAX_PATH + 1] = {};
    DWORD size = sizeof latest - 1;
    DWORD type = 0;
    const LONG read =
        RegQueryValueExA(key, "LatestPath", nullptr, &type, reinterpret_cast<BYTE*>(latest), &size);
    RegCloseKey(key);
    ASSERT_EQ(read, ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(_stricmp(latest, m_patch.c_str()), 0) << latest;

    const PROCESS_INFORMATION restarted = Start("");
    HWND again = WaitForViewer(restarted);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(WaitForField(again, IDC_FILE_TYPE, "ZYLMOR Firmware Patch 1.00"));
    EXPECT_TRUE(CloseAnswering(restarted, again, IDYES));
}

}  // namespace

// The About box's address is drawn in the link colour, and a click hands it to the shell's
// "open" verb.
TEST_F(ManagerProgram, TheAboutBoxLinkOpensTheMakersSite) {
    const CShellOpenRecorder recorder;
    // A pointer resting where the box opens would show the link in its hover colour instead.
    SetCursorPos(0, 0);
    const PROCESS_INFORMATION process = Start("");
    HWND viewer = WaitForViewer(process);
    ASSERT_NE(viewer, nullptr);
    PostMessageA(viewer, WM_SYSCOMMAND, 0x10, 0);
    HWND about = nullptr;
    for (DWORD waited = 0; waited < 20000 && about == nullptr; waited += kPollMs) {
        Sleep(kPollMs);
        about = FindProcessWindow(process.dwProcessId, nullptr, viewer);
    }
    ASSERT_NE(about, nullptr) << "no About box";
    HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
    ASSERT_NE(link, nullptr);
    // Another process's control is read back through its dialog, whose picture holds it.
    RECT area = {};
    GetWindowRect(link, &area);
    MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_TRUE(WaitForColour(about, area, RGB(0x22, 0x44, 0xEE)));

    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    const std::vector<std::string> opened = recorder.WaitForAddresses(20000);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://www.zylmor.de");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(CloseAnswering(process, viewer, IDYES));
}
