// Runs the configurator program against the simulated unit (with-unitsim) and watches
// it as a user would: its main window with its pictures, flag and links, the connection
// status in the bottom strip, the switching between the main menu and its modes, and an
// orderly end when the window is closed.
#include "image/CxImage.h"
#include "shell/MainMenuLayout.h"
#include "tests/shell/ZarvoProcess.h"
#include "tests/link/CUnitSim.h"
#include "tests/forms/ControlTestSupport.h"
#include "tests/support/ShellOpenRecorder.h"
#include "tests/support/TestTrees.h"

#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <shlobj.h>
#include <string>
#include <utility>
#include <vector>

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

// Unsaved data read from the unit: closing asks first, over the main window, and Cancel
// keeps the program running.
TEST_F(ZarvoProgram, ExitWithUnsavedUnitDataAsksAndCancelStays) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow(kExitCaption);
    ASSERT_NE(question, nullptr) << "no exit question";
    // Centred over the main window.
    RECT mainRect = {};
    RECT questionRect = {};
    GetWindowRect(mainWindow, &mainRect);
    GetWindowRect(question, &questionRect);
    EXPECT_NEAR(questionRect.left + questionRect.right, mainRect.left + mainRect.right, 2);
    EXPECT_NEAR(questionRect.top + questionRect.bottom, mainRect.top + mainRect.bottom, 2);
    EXPECT_EQ(WindowText(question, IDOK), "Exit");
    EXPECT_EQ(WindowText(question, IDCANCEL), "Cancel");
    EXPECT_EQ(WindowText(question, kExitMessageId),
              "Are you sure you want to exit? Probably you missed do the following:\n"
              "- save your configuration to a file\n");
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(question));
    SettleThreadOf(mainWindow);
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(FindWindowOf(m_process.dwProcessId, kExitCaption), nullptr);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));

    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// Once the user has chosen Exit, the program ends within the waits of its shutdown: the
// 200 ms pause after the main dialog and the end of the watchdog's and the communicator's
// threads, which an idle link gives up at once.
TEST_F(ZarvoProgram, EndsSoonAfterExitIsChosen) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow(kExitCaption);
    ASSERT_NE(question, nullptr) << "no exit question";
    const DWORD chosen = GetTickCount();
    PostMessageA(question, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(m_process.hProcess, kExitTimeoutMs), WAIT_OBJECT_0)
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
    EXPECT_LT(GetTickCount() - chosen, 3000u);
}

// While the busy dialog waits for the unit's job, closing the program still ends it: the
// shutdown stops the polling that would have ended the dialog. The unit is busy when the
// program connects.
TEST_F(ZarvoProgram, ClosingWhileTheUnitIsBusyEndsInOrder) {
    std::string busyStates = "busy";
    for (int i = 0; i < 64; ++i) {
        busyStates += " 100";
    }
    std::string error;
    ASSERT_TRUE(CUnitSim::SendControl(busyStates, error)) << error;
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    HWND busy = nullptr;
    for (DWORD waited = 0; waited < kConnectTimeoutMs && busy == nullptr; waited += kPollMs / 4) {
        Sleep(kPollMs / 4);
        busy = FindOtherWindowOf(m_process.dwProcessId, "", mainWindow);
    }
    ASSERT_NE(busy, nullptr) << "no busy dialog";
    EXPECT_EQ(WindowText(busy, kBusyTextId), "The MCU is busy. Please be patient ...");

    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
    DWORD exitCode = 1;
    GetExitCodeProcess(m_process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
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
    const std::string path = TempFile("shell_program_save.zcf");
    DeleteFileA(path.c_str());

    ASSERT_TRUE(SaveAs(mainWindow, path)) << "no save dialog";
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

// With no folder remembered for configuration files, the Save dialog opens in the user's
// documents folder (not in the folder the program's start left current): a bare file name
// is saved there.
TEST_F(ZarvoProgram, TheFirstSaveDialogOpensInTheDocumentsFolder) {
    HKEY directories = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ZYLMOR\\Merivan\\v1.02\\Directories", 0, KEY_SET_VALUE,
                      &directories) == ERROR_SUCCESS) {
        RegDeleteValueA(directories, "Saves");
        RegCloseKey(directories);
    }
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
    const char* name = "shell_program_documents.zcf";
    const std::string path = std::string(documents) + "\\" + name;
    DeleteFileA(path.c_str());

    ASSERT_TRUE(SaveAs(mainWindow, name)) << "no save dialog";
    ASSERT_TRUE(WaitForTitle(mainWindow, std::string("Pirolex: Main menu - [") + name + "]"))
        << WindowText(mainWindow);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    DeleteFileA(path.c_str());
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
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
    ASSERT_TRUE(WaitUntilGone(box));
    SettleThreadOf(mainWindow);
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
        // The question may still be on its way out.
        if (other == nullptr || other == box) {
            continue;
        }
        if (WindowText(other) == "Zarvo") {
            EXPECT_EQ(BoxText(other), "Failed to change to update mode.");
            ++failureBoxes;
            PostMessageA(other, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntilGone(other));
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

    std::string commandLine = "\"" + WindowsPath(BuildTree()) + "\\Zarvo.exe\"";
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
    SplashSearch search{m_process.dwProcessId, nullptr};
    EnumWindows(&FindSplash, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
        EXPECT_TRUE(WaitUntilGone(search.found)) << "the splash is still up";
    }
    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

TEST_F(ZarvoProgram, SecondStartGivesWayToTheRunningOne) {
    ASSERT_NE(WaitForMainWindow(), nullptr) << "no main window";
    std::string commandLine = "\"" + WindowsPath(BuildTree()) + "\\Zarvo.exe\" -nosplash";
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

// ---- The main window's pictures, flag, link and grids ---------------------------------

namespace {

constexpr int kLanguageButtonId = 1002;
constexpr int kLanguageListId = 1081;
constexpr int kAboutLinkId = 1154;

std::string ProgramPath() {
    return WindowsPath(BuildTree()) + "\\Zarvo.exe";
}

// A program file opened for its resources only.
class CResourceModule {
public:
    explicit CResourceModule(const std::string& path)
        : m_module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

    ~CResourceModule() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }

    CResourceModule(const CResourceModule&) = delete;
    CResourceModule& operator=(const CResourceModule&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

// The gradient's colour at x, as the window paints it behind everything.
COLORREF BackgroundAt(const std::vector<GradientStrip>& strips, int x) {
    for (const GradientStrip& strip : strips) {
        if (x >= strip.x && x < strip.x + strip.width) {
            return RGB(strip.red, strip.green, strip.blue);
        }
    }
    return CLR_INVALID;
}

BYTE Blend(BYTE color, BYTE background, int alpha) {
    return static_cast<BYTE>((color * alpha + background * (255 - alpha)) >> 8);
}

// Compares a picture of the program's resources, resampled to its place, and blended over
// the gradient, with what the window shows there. Returns the number of pixels that differ
// by more than one level; opaque counts the pixels the picture covers at least half.
int CountPictureMismatches(const CCapturedPixels& shown,
                           HMODULE program,
                           UINT id,
                           const MainMenuRect& place,
                           const std::vector<GradientStrip>& strips,
                           int& opaque) {
    CxImage picture(kImageFormatPng);
    EXPECT_TRUE(picture.LoadImageResource(FindResourceA(program, MAKEINTRESOURCEA(id), "Image"),
                                          kImageFormatPng, program))
        << id;
    EXPECT_TRUE(picture.AlphaIsValid()) << id;
    CxImage scaled;
    EXPECT_TRUE(picture.ResampleImage(place.width, place.height, kInterpolationLanczos, kOverflowTransparent,
                                      &scaled, false));
    int mismatches = 0;
    opaque = 0;
    for (int y = 0; y < place.height; y++) {
        for (int x = 0; x < place.width; x++) {
            const RgbQuad color = scaled.GetPixelColor(x, place.height - 1 - y, true);
            const COLORREF background = BackgroundAt(strips, place.x + x);
            const COLORREF expected = RGB(Blend(color.red, GetRValue(background), color.alpha),
                                          Blend(color.green, GetGValue(background), color.alpha),
                                          Blend(color.blue, GetBValue(background), color.alpha));
            const COLORREF actual = shown.At(place.x + x, place.y + y);
            const bool withinOneLevel = std::abs(GetRValue(expected) - GetRValue(actual)) <= 1 &&
                                        std::abs(GetGValue(expected) - GetGValue(actual)) <= 1 &&
                                        std::abs(GetBValue(expected) - GetBValue(actual)) <= 1;
            mismatches += withinOneLevel ? 0 : 1;
            opaque += color.alpha >= 128 ? 1 : 0;
        }
    }
    return mismatches;
}

// Both pictures stand where the layout puts them for the window's client size and show
// their resampled pixels over the gradient.
void ExpectPictures(HWND mainWindow) {
    RECT client = {};
    GetClientRect(mainWindow, &client);
    SCOPED_TRACE(testing::Message() << "client " << client.right << "x" << client.bottom);
    CResourceModule program(ProgramPath());
    ASSERT_NE(program.Get(), nullptr);
    CxImage banner(kImageFormatPng);
    ASSERT_TRUE(banner.LoadImageResource(FindResourceA(program.Get(), MAKEINTRESOURCEA(185), "Image"),
                                         kImageFormatPng, program.Get()));
    EXPECT_EQ(1151u, banner.GetWidth());
    EXPECT_EQ(186u, banner.GetHeight());
    const MainMenuPictures places =
        PlaceMainMenuPictures(ComputeMainMenuLayout(client.right, client.bottom), client.right,
                              banner.GetWidth(), banner.GetHeight());
    const std::vector<GradientStrip> strips = ComputeGradientStrips(client.right);
    const std::pair<UINT, MainMenuRect> pictures[] = {{183, places.emblem}, {185, places.banner}};
    int mismatches[2] = {};
    int opaque[2] = {};
    // Read back until both match: a passing window of the program may cover them a moment.
    for (DWORD waited = 0; waited == 0 || (mismatches[0] + mismatches[1] > 0 && waited < kExitTimeoutMs);
         waited += kPollMs) {
        Sleep(waited == 0 ? 0 : kPollMs);
        const CCapturedPixels shown(mainWindow);
        for (int i = 0; i < 2; i++) {
            mismatches[i] = CountPictureMismatches(shown, program.Get(), pictures[i].first,
                                                   pictures[i].second, strips, opaque[i]);
        }
    }
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(pictures[i].first);
        EXPECT_EQ(0, mismatches[i]);
        EXPECT_GT(opaque[i], pictures[i].second.width * pictures[i].second.height / 10);
    }
}

// Starts the program with another work area than the screen's, for which its window then
// lays itself out: a window hook on the program's main thread, set before the thread runs,
// loads a library that gives the program the size in ZARVO_TEST_WORK_AREA.
class CWorkAreaStart {
public:
    CWorkAreaStart(const std::string& commandLine, int width, int height, PROCESS_INFORMATION& process) {
        const std::string library = WindowsPath(BuildTree()) + "\\work_area_hook.dll";
        m_library = LoadLibraryA(library.c_str());
        EXPECT_NE(m_library, nullptr) << library;
        const auto proc = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(m_library, "WorkAreaHookProc")));
        const std::string size = std::to_string(width) + "," + std::to_string(height);
        SetEnvironmentVariableA("ZARVO_TEST_WORK_AREA", size.c_str());
        std::string command = commandLine;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                            nullptr, nullptr, &startup, &process) != FALSE;
        SetEnvironmentVariableA("ZARVO_TEST_WORK_AREA", nullptr);
        EXPECT_TRUE(started) << commandLine;
        if (!started) {
            return;
        }
        m_hook = proc != nullptr ? SetWindowsHookExA(WH_CBT, proc, m_library, process.dwThreadId) : nullptr;
        EXPECT_NE(m_hook, nullptr);
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
    }

    ~CWorkAreaStart() {
        if (m_hook != nullptr) {
            UnhookWindowsHookEx(m_hook);
        }
        if (m_library != nullptr) {
            FreeLibrary(m_library);
        }
    }

    CWorkAreaStart(const CWorkAreaStart&) = delete;
    CWorkAreaStart& operator=(const CWorkAreaStart&) = delete;

private:
    HMODULE m_library = nullptr;
    HHOOK m_hook = nullptr;
};

// The icon's pixels as a button face of the system's colour shows it at side x side.
std::vector<COLORREF> IconOnFace(HMODULE module, int side) {
    HICON icon = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(2001), IMAGE_ICON, side, side, LR_DEFAULTCOLOR));
    EXPECT_NE(icon, nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT all = {0, 0, side, side};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    DrawIconEx(dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (int i = 0; i < side * side; i++) {
        const DWORD pixel = static_cast<const DWORD*>(bits)[i];
        pixels.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyIcon(icon);
    return pixels;
}

// Whether the area shows the square anywhere, each channel within a few levels.
bool ShowsSquare(const CCapturedPixels& shown,
                 const RECT& area,
                 const std::vector<COLORREF>& square,
                 int side) {
    for (int top = area.top; top + side <= area.bottom; top++) {
        for (int left = area.left; left + side <= area.right; left++) {
            bool same = true;
            for (int i = 0; same && i < side * side; i++) {
                const COLORREF pixel = shown.At(left + i % side, top + i / side);
                same = std::abs(GetRValue(pixel) - GetRValue(square[i])) <= 4 &&
                       std::abs(GetGValue(pixel) - GetGValue(square[i])) <= 4 &&
                       std::abs(GetBValue(pixel) - GetBValue(square[i])) <= 4;
            }
            if (same) {
                return true;
            }
        }
    }
    return false;
}

// A control's rectangle in its top-level window's client area. Another process's controls
// are read back through their top-level window, whose picture holds them.
RECT AreaInWindow(HWND control) {
    RECT area = {};
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

struct GridSearch {
    std::vector<HWND> grids;
};

BOOL CALLBACK AddGrid(HWND window, LPARAM param) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "MFCGridCtrl") {
        reinterpret_cast<GridSearch*>(param)->grids.push_back(window);
    }
    return TRUE;
}

}  // namespace

// At the screen's work area and at a smaller one, the emblem and the banner stand at their
// places of the top band, blended over the gradient.
TEST_F(ZarvoProgram, DrawsBothPicturesAtTwoWindowSizes) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    // Read back once the retrieval dialog of the full read has gone.
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    ExpectPictures(mainWindow);
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
    CloseHandle(m_process.hProcess);
    m_process = {};

    const CWorkAreaStart start("\"" + ProgramPath() + "\" -nosplash", 900, 640, m_process);
    mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    RECT window = {};
    GetWindowRect(mainWindow, &window);
    EXPECT_EQ(window.right - window.left, 900);
    EXPECT_EQ(window.bottom - window.top, 640);
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    ExpectPictures(mainWindow);
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The Language button shows the flag of the language in use, and the other one after the
// language dialog has switched to the German module (and back).
TEST_F(ZarvoProgram, TheLanguageButtonShowsTheFlagOfTheCurrentLanguage) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    HWND button = GetDlgItem(mainWindow, kLanguageButtonId);
    ASSERT_NE(button, nullptr);
    const RECT face = AreaInWindow(button);
    const int side = (face.bottom - face.top) / 2;
    const auto shows = [&](const std::vector<COLORREF>& flag) {
        return ShowsSquare(CCapturedPixels(mainWindow), face, flag, side);
    };
    const CResourceModule english(ProgramPath());
    const CResourceModule german(WindowsPath(BuildTree()) + "\\Language\\deutsch.lng");
    ASSERT_NE(german.Get(), nullptr);
    const std::vector<COLORREF> englishFlag = IconOnFace(english.Get(), side);
    const std::vector<COLORREF> germanFlag = IconOnFace(german.Get(), side);

    const auto switchLanguage = [&](const std::vector<COLORREF>& expected) {
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kLanguageButtonId, BN_CLICKED), 0);
        HWND dialog = nullptr;
        for (DWORD waited = 0; waited < kExitTimeoutMs && dialog == nullptr; waited += kPollMs) {
            Sleep(kPollMs);
            HWND other = FindOtherWindowOf(m_process.dwProcessId, "", mainWindow);
            dialog = other != nullptr && GetDlgItem(other, kLanguageListId) != nullptr ? other : nullptr;
        }
        ASSERT_NE(dialog, nullptr) << "no language dialog";
        HWND list = GetDlgItem(dialog, kLanguageListId);
        ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 2);
        SendMessageA(list, CB_SETCURSEL, 1 - SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        bool shown = false;
        for (DWORD waited = 0; waited < kExitTimeoutMs && !shown; waited += kPollMs) {
            Sleep(kPollMs);
            shown = shows(expected);
        }
        EXPECT_TRUE(shown);
    };

    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    EXPECT_TRUE(shows(englishFlag));
    EXPECT_FALSE(shows(germanFlag));
    switchLanguage(germanFlag);
    EXPECT_FALSE(shows(englishFlag));
    switchLanguage(englishFlag);
    EXPECT_EQ(WindowText(mainWindow, 1000), "Configure");
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The About box's address is drawn in the link colour, and a click hands it to the shell's
// "open" verb.
TEST_F(ZarvoProgram, TheAboutBoxLinkOpensTheMakersSite) {
    const CShellOpenRecorder recorder;
    // The box opens centred over the main window: a pointer resting there would show the
    // link in its hover colour instead.
    SetCursorPos(0, 0);
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    PostMessageA(mainWindow, WM_SYSCOMMAND, 16, 0);
    HWND about = nullptr;
    for (DWORD waited = 0; waited < kExitTimeoutMs && about == nullptr; waited += kPollMs) {
        Sleep(kPollMs);
        about = FindOtherWindowOf(m_process.dwProcessId, "Pirolex", nullptr);
    }
    ASSERT_NE(about, nullptr) << "no About box";
    HWND link = GetDlgItem(about, kAboutLinkId);
    ASSERT_NE(link, nullptr);
    // The box may be found before it has painted its link.
    bool linkColoured = false;
    for (DWORD waited = 0; waited < kExitTimeoutMs && !linkColoured; waited += kPollMs) {
        linkColoured = CCapturedPixels(about).Contains(AreaInWindow(link), RGB(0x22, 0x44, 0xEE));
        if (!linkColoured) {
            Sleep(kPollMs);
        }
    }
    EXPECT_TRUE(linkColoured);

    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    const std::vector<std::string> opened = recorder.WaitForAddresses(kExitTimeoutMs);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://www.pirolex.example/");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// The program itself initialises OLE, so every grid of its pages is a drop target.
TEST_F(ZarvoProgram, EveryGridIsRegisteredAsADropTarget) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    GridSearch search;
    EnumChildWindows(mainWindow, &AddGrid, reinterpret_cast<LPARAM>(&search));
    ASSERT_FALSE(search.grids.empty());
    for (HWND grid : search.grids) {
        EXPECT_NE(GetPropA(grid, "OleDropTargetInterface"), nullptr) << grid;
    }
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}

// Save offers the data's own file name: none for data read from the unit, the file's after
// a save or a load.
TEST_F(ZarvoProgram, SaveProposesTheNameOfTheFileTheDataCameFrom) {
    HWND mainWindow = WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no main window";
    ASSERT_TRUE(WaitForUnitData(mainWindow)) << WindowText(mainWindow);
    const std::string first = TempFile("shell_program_first.zcf");
    const std::string second = TempFile("shell_program_second.zcf");
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());

    // Runs Save, returns the name it proposes and saves under path (cancels when empty).
    const auto save = [&](const std::string& path) {
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);
        HWND dialog = WaitForDialog(mainWindow);
        if (dialog == nullptr) {
            ADD_FAILURE() << "no save dialog";
            return std::string();
        }
        const std::string proposed = WindowText(dialog, FileNameField(dialog));
        if (path.empty()) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        } else {
            SetDlgItemTextA(dialog, FileNameField(dialog), path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        for (DWORD waited = 0; waited < kExitTimeoutMs && IsWindow(dialog); waited += kPollMs) {
            Sleep(kPollMs);
        }
        return proposed;
    };

    EXPECT_EQ(save(first), "");
    EXPECT_TRUE(WaitForTitle(mainWindow, "Pirolex: Main menu - [shell_program_first.zcf]"))
        << WindowText(mainWindow);
    EXPECT_EQ(save(second), "shell_program_first.zcf");
    EXPECT_TRUE(WaitForTitle(mainWindow, "Pirolex: Main menu - [shell_program_second.zcf]"))
        << WindowText(mainWindow);

    PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    HWND question = WaitForWindow("Zarvo");
    ASSERT_NE(question, nullptr) << "no question before loading";
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND open = WaitForDialog(mainWindow, question);
    ASSERT_NE(open, nullptr) << "no open dialog";
    SetDlgItemTextA(open, FileNameField(open), first.c_str());
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForTitle(mainWindow, "Pirolex: Main menu - [shell_program_first.zcf]"))
        << WindowText(mainWindow);
    EXPECT_EQ(save(""), "shell_program_first.zcf");

    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
    ASSERT_TRUE(CloseAndWait(mainWindow))
        << "the program did not end; its windows:" << ProcessWindowTitles(m_process.dwProcessId);
}
