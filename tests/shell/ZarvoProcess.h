// What the program-level tests of the configurator share: starting Zarvo against the
// simulated unit (with-unitsim), finding its windows as a user would, and ending it in order.
#pragma once

#include "tests/support/TestTrees.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <utility>

#include <gtest/gtest.h>

inline constexpr DWORD kConnectTimeoutMs = 60000;
inline constexpr DWORD kExitTimeoutMs = 30000;
inline constexpr DWORD kPollMs = 200;
inline constexpr int kStatusTextId = 1013;
inline constexpr int kVersionTextId = 1014;
inline constexpr int kExitMessageId = 1090;
inline constexpr int kBusyTextId = 1079;
inline constexpr const char* kExitCaption = "Pirolex: Exiting ...";

inline std::string WindowsPath(const char* linuxPath) {
    std::string path = "Z:";
    path += linuxPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

inline std::string WindowText(HWND window, int id = 0) {
    char text[256] = {};
    if (id != 0) {
        GetDlgItemTextA(window, id, text, sizeof text);
    } else {
        GetWindowTextA(window, text, sizeof text);
    }
    return text;
}

struct Search {
    DWORD processId;
    const char* titlePrefix;
    HWND found;
    HWND skipped = nullptr;
    bool exact = false;
};

inline BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    const std::string title = WindowText(window);
    if (window == search.skipped || title.rfind(search.titlePrefix, 0) != 0 ||
        (search.exact && title != search.titlePrefix)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

inline HWND FindWindowOf(DWORD processId, const char* titlePrefix) {
    Search search{processId, titlePrefix, nullptr};
    EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A window of the process with exactly this title, or any other than `skipped` for "".
inline HWND FindOtherWindowOf(DWORD processId, const char* title, HWND skipped) {
    Search search{processId, title, nullptr, skipped, title[0] != '\0'};
    EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The titles of the process's visible top-level windows, for reports of a program that
// would not end.
inline BOOL CALLBACK AddProcessWindowTitle(HWND window, LPARAM context) {
    auto* titles = reinterpret_cast<std::pair<DWORD, std::string>*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == titles->first && IsWindowVisible(window)) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        titles->second += std::string(" [") + title + "]";
    }
    return TRUE;
}

inline std::string ProcessWindowTitles(DWORD processId) {
    std::pair<DWORD, std::string> titles{processId, ""};
    EnumWindows(&AddProcessWindowTitle, reinterpret_cast<LPARAM>(&titles));
    return titles.second;
}

inline bool WaitForTitle(HWND window, const std::string& title) {
    for (DWORD waited = 0; waited < kExitTimeoutMs; waited += kPollMs) {
        if (WindowText(window) == title) {
            return true;
        }
        Sleep(kPollMs);
    }
    return false;
}

// Waits until the window is gone.
inline bool WaitUntilGone(HWND window) {
    for (DWORD waited = 0; waited < kExitTimeoutMs; waited += kPollMs / 4) {
        if (!IsWindow(window) || !IsWindowVisible(window)) {
            return true;
        }
        Sleep(kPollMs / 4);
    }
    return false;
}

// Returns once the window's thread has handled everything posted to it before: a message
// sent now is served only when the handlers of the earlier ones have returned.
inline void SettleThreadOf(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kExitTimeoutMs, &answer);
}

// The child dialog that holds the status text.
inline HWND FindStatusPanel(HWND mainWindow) {
    for (HWND child = FindWindowExA(mainWindow, nullptr, "#32770", nullptr); child != nullptr;
         child = FindWindowExA(mainWindow, child, "#32770", nullptr)) {
        if (GetDlgItem(child, kStatusTextId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

inline std::string TempFile(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// The name field of the system's file dialog: a combo box (1148) or, older, an edit (1152).
inline int FileNameField(HWND dialog) {
    return GetDlgItem(dialog, 1148) != nullptr ? 1148 : 1152;
}

class ZarvoProgram : public ::testing::Test {
protected:
    void SetUp() override {
        const char* port = std::getenv("ZARVO_UNITSIM_PORT");
        ASSERT_NE(port, nullptr) << "run through with-unitsim";
        m_port = port;
        std::string commandLine = "\"" + WindowsPath(BuildTree()) + "\\Zarvo.exe\" -nosplash";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &m_process))
            << commandLine;
        CloseHandle(m_process.hThread);
    }

    void TearDown() override {
        if (m_process.hProcess == nullptr) {
            return;
        }
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
        }
        CloseHandle(m_process.hProcess);
    }

    HWND WaitForMainWindow() {
        for (DWORD waited = 0; waited < kConnectTimeoutMs; waited += kPollMs) {
            HWND window = FindWindowOf(m_process.dwProcessId, "Pirolex");
            if (window != nullptr) {
                return window;
            }
            Sleep(kPollMs);
        }
        return nullptr;
    }

    // Closes the main window, answers the exit question with Exit should it come up
    // (unsaved data read from the unit), and waits for the program to end.
    bool CloseAndWait(HWND mainWindow) {
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        for (DWORD waited = 0; waited < kExitTimeoutMs; waited += kPollMs) {
            if (WaitForSingleObject(m_process.hProcess, kPollMs) == WAIT_OBJECT_0) {
                return true;
            }
            HWND question = FindWindowOf(m_process.dwProcessId, kExitCaption);
            if (question != nullptr) {
                PostMessageA(question, WM_COMMAND, IDOK, 0);
            }
        }
        return false;
    }

    HWND WaitForWindow(const char* titlePrefix) {
        for (DWORD waited = 0; waited < kConnectTimeoutMs; waited += kPollMs) {
            HWND window = FindWindowOf(m_process.dwProcessId, titlePrefix);
            if (window != nullptr) {
                return window;
            }
            Sleep(kPollMs);
        }
        return nullptr;
    }

    // A window of the program other than the main window and `skipped`: a dialog it opened.
    HWND WaitForDialog(HWND mainWindow, HWND skipped = nullptr) {
        for (DWORD waited = 0; waited < kExitTimeoutMs; waited += kPollMs) {
            Sleep(kPollMs);
            HWND dialog = FindOtherWindowOf(m_process.dwProcessId, "", mainWindow);
            if (dialog != nullptr && dialog != skipped) {
                return dialog;
            }
        }
        return nullptr;
    }

    // Waits until the unit's data were taken over: the title then names them, unsaved.
    bool WaitForUnitData(HWND mainWindow) {
        for (DWORD waited = 0; waited < kConnectTimeoutMs; waited += kPollMs) {
            if (WindowText(mainWindow) == "Pirolex: Main menu - [Untitled*]") {
                return true;
            }
            Sleep(kPollMs);
        }
        return false;
    }

    // Clicks Save and confirms the file dialog with this name; false when no dialog came.
    bool SaveAs(HWND mainWindow, const std::string& name) {
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), 0);
        HWND dialog = nullptr;
        for (DWORD waited = 0; waited < kExitTimeoutMs && dialog == nullptr; waited += kPollMs) {
            Sleep(kPollMs);
            dialog = FindOtherWindowOf(m_process.dwProcessId, "", mainWindow);
        }
        if (dialog == nullptr) {
            return false;
        }
        // The name field of the system's dialog is a combo box (1148) or, older, an edit (1152).
        for (int id : {1148, 1152}) {
            SetDlgItemTextA(dialog, id, name.c_str());
        }
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    }

    PROCESS_INFORMATION m_process = {};
    std::string m_port;
};

// ---- Modes ----------------------------------------------------------------------------

inline constexpr int kTabCtrlId = 1315;
inline constexpr int kLiveStatusDiagnosisId = 1503;
inline constexpr const char* kMenuTitle = "Pirolex: Main menu - [Untitled*]";
inline constexpr const char* kConfigureTitle = "Pirolex: Configure - [Untitled*]";
inline constexpr const char* kDiagnosisTitle = "Pirolex: Diagnosis - [Untitled*]";

// The child dialog of the main window that holds the given control, other than `skipped`.
inline HWND FindChildDialog(HWND mainWindow, int controlId, HWND skipped = nullptr) {
    for (HWND child = FindWindowExA(mainWindow, nullptr, "#32770", nullptr); child != nullptr;
         child = FindWindowExA(mainWindow, child, "#32770", nullptr)) {
        if (child != skipped && GetDlgItem(child, controlId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

inline int WindowHeight(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

inline int DefaultButton(HWND dialog) {
    const LRESULT answer = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : 0;
}

class ZarvoModes : public ZarvoProgram {
protected:
    void SetUp() override {
        ZarvoProgram::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        m_main = WaitForMainWindow();
        ASSERT_NE(m_main, nullptr) << "no main window";
        // Once the unit's data are in, no retrieval dialog interferes with the switching.
        ASSERT_TRUE(WaitForUnitData(m_main)) << WindowText(m_main);
        // The Configure host is the shorter one: the live status page goes below it.
        m_configure = FindChildDialog(m_main, kTabCtrlId);
        m_diagnosis = FindChildDialog(m_main, kTabCtrlId, m_configure);
        m_liveStatus = FindChildDialog(m_main, kLiveStatusDiagnosisId);
        ASSERT_NE(m_diagnosis, nullptr) << "not two tab hosts";
        ASSERT_NE(m_liveStatus, nullptr) << "no live status page";
        if (WindowHeight(m_configure) > WindowHeight(m_diagnosis)) {
            std::swap(m_configure, m_diagnosis);
        }
        EXPECT_LT(WindowHeight(m_configure), WindowHeight(m_diagnosis));
        EXPECT_EQ(SendMessageA(GetDlgItem(m_diagnosis, kTabCtrlId), TCM_GETITEMCOUNT, 0, 0), 2);
    }

    void Click(int id) { PostMessageA(m_main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    void Escape() { PostMessageA(m_main, WM_COMMAND, IDCANCEL, 0); }

    void ExpectMenu(int defaultButton) {
        for (int id : {1000, 1001, 1002, 1003, 1005, 1006}) {
            SCOPED_TRACE(id);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(m_main, id)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(m_main, id)));
        }
        EXPECT_FALSE(IsWindowVisible(m_configure));
        EXPECT_FALSE(IsWindowVisible(m_diagnosis));
        EXPECT_FALSE(IsWindowVisible(m_liveStatus));
        EXPECT_EQ(DefaultButton(m_main), defaultButton);
    }

    void ExpectMode(HWND host, bool liveStatus) {
        for (int id : {1000, 1001, 1002, 1003, 1005, 1006, 1008, 1009}) {
            SCOPED_TRACE(id);
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(m_main, id)));
        }
        EXPECT_TRUE(IsWindowVisible(host));
        EXPECT_TRUE(IsWindowEnabled(host));
        EXPECT_FALSE(IsWindowVisible(host == m_configure ? m_diagnosis : m_configure));
        EXPECT_EQ(IsWindowVisible(m_liveStatus) != FALSE, liveStatus);
        EXPECT_EQ(DefaultButton(m_main), IDOK);
    }

    HWND m_main = nullptr;
    HWND m_configure = nullptr;
    HWND m_diagnosis = nullptr;
    HWND m_liveStatus = nullptr;
};
