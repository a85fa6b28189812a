// Runs the configurator program against the simulated unit (with-unitsim) and watches
// it as a user would: its main window, the connection status in the bottom strip, the
// switching between the main menu and its modes, and an orderly end when the window is
// closed.
#include "shell/MainMenuLayout.h"
#include "tests/shell/ZarvoProcess.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace {

TEST_F(ZarvoProgram, ShowsTheConnectedUnitAndEndsInOrderWhenClosed) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    EXPECT_EQ(WindowText(mainWindow), "Pirolex: Main menu");

    HWND panel = FindStatusPanel(mainWindow);
    ASSERT_NE(panel, nullptr) << "no status panel";
    EXPECT_EQ(WindowText(panel, kVersionTextId), "v1.02.3-0045");

    const std::string connected = "CONNECTED to COM" + m_port;
    std::string status;
    for (DWORD waited = 0; waited < kConnectTimeoutMs && status != connected; waited += kPollMs) {
        Sleep(kPollMs);
        status = WindowText(panel, kStatusTextId);
    }
    EXPECT_EQ(status, connected);

    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
    DWORD exitCode = 1;
    GetExitCodeProcess(m_process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

// Unsaved data read from the unit: closing asks first, and Cancel keeps the program running.
TEST_F(ZarvoProgram, ExitWithUnsavedUnitDataAsksAndCancelStays) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow(kExitCaption);
    ASSERT_NE(question, nullptr) << "no exit question";
    EXPECT_EQ(WindowText(question, IDOK), "Exit");
    EXPECT_EQ(WindowText(question, IDCANCEL), "Cancel");
    EXPECT_EQ(WindowText(question, kExitMessageId),
              "Are you sure you want to exit? Probably you missed do the following:\n"
              "- save your configuration to a file\n");
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    Sleep(1000);
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(FindWindowOf(m_process.dwProcessId, kExitCaption), nullptr);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));

    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The buttons stand where the layout puts them for the real client size, and the system
// menu's About command opens the About box with the full version. (Wine hands out no
// system menu of another process, so its entries are not counted here.)
TEST_F(ZarvoProgram, LaysOutTheMenuAndOpensTheAboutBoxFromTheSystemMenu) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    RECT client = {};
    GetClientRect(mainWindow, &client);
    const MainMenuLayout layout = ComputeMainMenuLayout(client.right, client.bottom);
    for (const MainMenuButtonPlace& place : PlaceMainMenuButtons(layout, client.right, client.bottom)) {
        SCOPED_TRACE(place.id);
        HWND button = GetDlgItem(mainWindow, place.id);
        ASSERT_NE(button, nullptr);
        RECT rect = {};
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, place.rect.x);
        EXPECT_EQ(rect.top, place.rect.y);
        EXPECT_EQ(rect.right - rect.left, place.rect.width);
        EXPECT_EQ(rect.bottom - rect.top, place.rect.height);
    }
    EXPECT_EQ(WindowText(mainWindow, 1000), "Configure");
    EXPECT_EQ(WindowText(mainWindow, 1008), "MCU Firmware Update");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(mainWindow, 1004)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(mainWindow, 1007)));

    PostMessageA(mainWindow, WM_SYSCOMMAND, 16, 0);
    HWND about = nullptr;
    for (DWORD waited = 0; waited < kExitTimeoutMs && about == nullptr; waited += kPollMs) {
        Sleep(kPollMs);
        about = FindOtherWindowOf(m_process.dwProcessId, "Pirolex", nullptr);
    }
    ASSERT_NE(about, nullptr) << "no About box";
    const std::string nameLine = WindowText(about, 1153);
    EXPECT_EQ(nameLine.substr(nameLine.size() - 12), "v1.02.3-0045");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// Save: the file dialog's choice is written and named in the title, no longer modified.
TEST_F(ZarvoProgram, SaveWritesTheUnitDataToTheChosenFile) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "shell_program_save.zcf";
    DeleteFileA(path.c_str());

    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);
    HWND dialog = nullptr;
    for (DWORD waited = 0; waited < kExitTimeoutMs && dialog == nullptr; waited += kPollMs) {
        Sleep(kPollMs);
        dialog = FindOtherWindowOf(m_process.dwProcessId, "", mainWindow);
    }
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    // The name field of the system's dialog is a combo box (1148) or, older, an edit (1152).
    for (int id : {1148, 1152}) {
        SetDlgItemTextA(dialog, id, path.c_str());
    }
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    bool titled = false;
    for (DWORD waited = 0; waited < kExitTimeoutMs && !titled; waited += kPollMs) {
        Sleep(kPollMs);
        titled = WindowText(mainWindow) == "Pirolex: Main menu - [shell_program_save.zcf]";
    }
    EXPECT_TRUE(titled) << WindowText(mainWindow);
    std::ifstream saved(path, std::ios::binary | std::ios::ate);
    EXPECT_TRUE(saved.good());
    EXPECT_GT(static_cast<long long>(saved.tellg()), 28);
    saved.close();
    DeleteFileA(path.c_str());
    // Saved data leave without a question.
    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The text of a message box of the process: its static controls together.
std::string BoxText(HWND box) {
    std::string text;
    for (HWND control = FindWindowExA(box, nullptr, "Static", nullptr); control != nullptr;
         control = FindWindowExA(box, control, "Static", nullptr)) {
        text += WindowText(control);
    }
    return text;
}

// With the unit connected the update asks first; No leaves the link as it was. Yes asks
// the unit for update mode, and then either the update file is chosen or exactly one box
// says that the unit did not switch; either way the link ends up in normal mode again.
TEST_F(ZarvoProgram, FirmwareUpdateAsksBeforeSwitchingTheUnit) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    HWND panel = FindStatusPanel(mainWindow);
    ASSERT_NE(panel, nullptr);
    const std::string connected = "CONNECTED to COM" + m_port;

    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1008, BN_CLICKED), 0);
    HWND box = WaitForWindow("Zarvo");
    ASSERT_NE(box, nullptr) << "no question";
    EXPECT_NE(BoxText(box).find("You started update process of the MCU's software."), std::string::npos)
        << BoxText(box);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    Sleep(1000);
    EXPECT_EQ(WindowText(panel, kStatusTextId), connected);

    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1008, BN_CLICKED), 0);
    box = WaitForWindow("Zarvo");
    ASSERT_NE(box, nullptr) << "no question";
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    int failureBoxes = 0;
    bool fileDialog = false;
    for (DWORD waited = 0; waited < 15000 && !fileDialog; waited += kPollMs) {
        Sleep(kPollMs);
        HWND other = FindOtherWindowOf(m_process.dwProcessId, "", mainWindow);
        if (other == nullptr) {
            continue;
        }
        if (WindowText(other) == "Zarvo") {
            EXPECT_EQ(BoxText(other), "Failed to change to update mode.");
            ++failureBoxes;
            PostMessageA(other, WM_COMMAND, IDOK, 0);
            Sleep(500);
            continue;
        }
        fileDialog = true;
        PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_TRUE(fileDialog || failureBoxes == 1) << failureBoxes << " failure boxes";
    std::string status;
    for (DWORD waited = 0; waited < kConnectTimeoutMs && status != connected; waited += kPollMs) {
        Sleep(kPollMs);
        status = WindowText(panel, kStatusTextId);
    }
    EXPECT_EQ(status, connected);
    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The program names its settings key after its version: the language in use is written
// there at every start.
TEST_F(ZarvoProgram, WritesTheLanguageUnderTheKeyOfItsVersion) {
    const char* key = "Software\\ZYLMOR\\Merivan\\v1.02\\Settings";
    HKEY settings = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &settings) == ERROR_SUCCESS) {
        RegDeleteValueA(settings, "Language");
        RegCloseKey(settings);
    }
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    char value[16] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, key, "Language", RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "1033");
    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

struct SplashSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindSplash(HWND window, LPARAM param) {
    SplashSearch& search = *reinterpret_cast<SplashSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (owner != search.processId || !IsWindowVisible(window) ||
        (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0 || rect.right - rect.left != 500 ||
        rect.bottom - rect.top != 166) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

// Without "-nosplash" the splash is up first, and the main window follows no earlier than
// 1.5 s after the start.
TEST_F(ZarvoProgram, SplashComesFirstAndStaysAtLeastOneAndAHalfSeconds) {
    HWND first = WaitForMainWindow();
    ASSERT_NE(first, nullptr) << "no main window";
    ASSERT_TRUE(CloseAndWait(first)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
    CloseHandle(m_process.hProcess);
    m_process = {};

    const char* binaryDir = std::getenv("ZARVO_BINARY_DIR");
    std::string commandLine = "\"" + WindowsPath(binaryDir) + "\\Zarvo.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const DWORD started = GetTickCount();
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &m_process));
    CloseHandle(m_process.hThread);
    bool splashSeen = false;
    HWND mainWindow = nullptr;
    for (DWORD waited = 0; waited < kConnectTimeoutMs && mainWindow == nullptr; waited += 50) {
        SplashSearch search{m_process.dwProcessId, nullptr};
        EnumWindows(&FindSplash, reinterpret_cast<LPARAM>(&search));
        splashSeen = splashSeen || search.found != nullptr;
        mainWindow = FindWindowOf(m_process.dwProcessId, "Pirolex");
        Sleep(50);
    }
    const DWORD shown = GetTickCount() - started;
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    EXPECT_TRUE(splashSeen);
    EXPECT_GE(shown, 1500u);
    Sleep(500);
    SplashSearch search{m_process.dwProcessId, nullptr};
    EnumWindows(&FindSplash, reinterpret_cast<LPARAM>(&search));
    EXPECT_EQ(search.found, nullptr) << "the splash is still up";
    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

TEST_F(ZarvoProgram, SecondStartGivesWayToTheRunningOne) {
    ASSERT_NE(WaitForMainWindow(), nullptr) << "no main window";
    const char* binaryDir = std::getenv("ZARVO_BINARY_DIR");
    std::string commandLine = "\"" + WindowsPath(binaryDir) + "\\Zarvo.exe\" -nosplash";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &second));
    CloseHandle(second.hThread);
    const DWORD ended = WaitForSingleObject(second.hProcess, kExitTimeoutMs);
    EXPECT_EQ(ended, WAIT_OBJECT_0) << "the second instance kept running";
    if (ended != WAIT_OBJECT_0) {
        TerminateProcess(second.hProcess, 1);
    }
    CloseHandle(second.hProcess);
    EXPECT_EQ(FindWindowOf(second.dwProcessId, "Pirolex"), nullptr);
    // The first instance is still there and ends normally.
    HWND mainWindow = FindWindowOf(m_process.dwProcessId, "Pirolex");
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_TRUE(CloseAndWait(mainWindow)) << "the first instance did not end";
}


// Each mode shows its host (Configure also the live status page) in place of the menu;
// Enter on a page keeps the mode; Escape on a page that does not use it (the unit
// information page) returns to the menu with the mode's button as default, and Escape in
// the menu then asks before exiting.
TEST_F(ZarvoModes, ConfigureShowsItsPagesAndEscapeReturnsToTheMenu) {
    Click(1000);
    ASSERT_TRUE(WaitForTitle(m_main, kConfigureTitle)) << WindowText(m_main);
    ExpectMode(m_configure, true);
    // The page uses Enter, so the mode stays.
    SendMessageA(m_main, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WindowText(m_main), kConfigureTitle);
    ExpectMode(m_configure, true);

    Escape();
    ASSERT_TRUE(WaitForTitle(m_main, kMenuTitle)) << WindowText(m_main);
    ExpectMenu(1000);

    Escape();
    HWND question = WaitForWindow(kExitCaption);
    ASSERT_NE(question, nullptr) << "no exit question";
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(CloseAndWait(m_main)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The live status page's diagnosis button leads from Configure straight to the first tab
// of Diagnosis, without the live status page; Escape on the event log page then goes back
// the same way, to Configure and from there to the menu.
TEST_F(ZarvoModes, TheLiveStatusDiagnosisButtonOpensDiagnosisAndEscapeGoesBackTheSameWay) {
    Click(1000);
    ASSERT_TRUE(WaitForTitle(m_main, kConfigureTitle)) << WindowText(m_main);
    PostMessageA(m_liveStatus, WM_COMMAND, MAKEWPARAM(kLiveStatusDiagnosisId, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForTitle(m_main, kDiagnosisTitle)) << WindowText(m_main);
    ExpectMode(m_diagnosis, false);
    EXPECT_EQ(SendMessageA(GetDlgItem(m_diagnosis, kTabCtrlId), TCM_GETCURSEL, 0, 0), 0);

    Escape();
    ASSERT_TRUE(WaitForTitle(m_main, kConfigureTitle)) << WindowText(m_main);
    ExpectMode(m_configure, true);
    Escape();
    ASSERT_TRUE(WaitForTitle(m_main, kMenuTitle)) << WindowText(m_main);
    ExpectMenu(1000);
    ASSERT_TRUE(CloseAndWait(m_main)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

}  // namespace
