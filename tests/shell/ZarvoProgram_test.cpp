// Runs the configurator program against the simulated unit (with-unitsim) and watches
// it as a user would: its main window, the connection status in the bottom strip, and
// an orderly end when the window is closed.
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kConnectTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 30000;
constexpr DWORD kPollMs = 200;
constexpr int kStatusTextId = 1013;
constexpr int kVersionTextId = 1014;

std::string WindowsPath(const char* linuxPath) {
    std::string path = "Z:";
    path += linuxPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string WindowText(HWND window, int id = 0) {
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
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    if (WindowText(window).rfind(search.titlePrefix, 0) != 0) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, const char* titlePrefix) {
    Search search{processId, titlePrefix, nullptr};
    EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The child dialog that holds the status text.
HWND FindStatusPanel(HWND mainWindow) {
    for (HWND child = FindWindowExA(mainWindow, nullptr, "#32770", nullptr); child != nullptr;
         child = FindWindowExA(mainWindow, child, "#32770", nullptr)) {
        if (GetDlgItem(child, kStatusTextId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

class ZarvoProgram : public ::testing::Test {
protected:
    void SetUp() override {
        const char* binaryDir = std::getenv("ZARVO_BINARY_DIR");
        const char* port = std::getenv("ZARVO_UNITSIM_PORT");
        ASSERT_NE(binaryDir, nullptr) << "run through CTest";
        ASSERT_NE(port, nullptr) << "run through with-unitsim";
        m_port = port;
        std::string commandLine = "\"" + WindowsPath(binaryDir) + "\\Zarvo.exe\" -nosplash";
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

    // Closes the main window, answers the exit question with Yes should one come up
    // (unsaved data read from the unit), and waits for the program to end.
    bool CloseAndWait(HWND mainWindow) {
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        for (DWORD waited = 0; waited < kExitTimeoutMs; waited += kPollMs) {
            if (WaitForSingleObject(m_process.hProcess, kPollMs) == WAIT_OBJECT_0) {
                return true;
            }
            HWND box = FindWindowOf(m_process.dwProcessId, "Zarvo");
            if (box != nullptr) {
                PostMessageA(box, WM_COMMAND, IDYES, 0);
            }
        }
        return false;
    }

    PROCESS_INFORMATION m_process = {};
    std::string m_port;
};

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

    ASSERT_TRUE(CloseAndWait(mainWindow)) << "the program did not end";
    DWORD exitCode = 1;
    GetExitCodeProcess(m_process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
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

}  // namespace
