// The technician's archive on a laptop that has never seen the project: fresh-prefix-test
// unpacks it into an empty folder of a new Wine prefix and starts this program beside it,
// with the simulated unit on a COM port. Zarvo must start from that folder, find and read
// the unit, switch to German from the language module it brings, and ZFx Manager must start
// from the same folder.
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kWaitMs = 90000;
constexpr DWORD kPollMs = 100;
constexpr int kStatusTextId = 1013;
constexpr int kConfigureId = 1000;
constexpr int kLanguageId = 1002;
constexpr int kLanguageListId = 1081;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string Text(HWND window, int id = 0) {
    char text[256] = {};
    if (id == 0) {
        GetWindowTextA(window, text, sizeof text);
    } else {
        GetDlgItemTextA(window, id, text, sizeof text);
    }
    return text;
}

struct WindowQuery {
    DWORD process;
    std::string titlePrefix;
    HWND skipped = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto& query = *reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query.process && window != query.skipped && IsWindowVisible(window) &&
        Text(window).rfind(query.titlePrefix, 0) == 0) {
        query.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleWindow(DWORD process, const std::string& titlePrefix, HWND skipped = nullptr) {
    WindowQuery query{process, titlePrefix, skipped};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// Polls the condition until it holds or the time is up.
template <typename Condition>
bool WaitUntil(Condition condition) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (condition()) {
            return true;
        }
        Sleep(kPollMs);
    }
    return condition();
}

// A program of the unpacked folder, started the way a double click does: in its folder.
class CStartedProgram {
public:
    CStartedProgram(const std::string& folder, const std::string& commandLine) {
        std::string line = "\"" + folder + "\\" + commandLine;
        line.insert(line.find(".exe") + 4, "\"");
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        m_started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                   &startup, &m_process) != FALSE;
        if (m_started) {
            CloseHandle(m_process.hThread);
        }
    }

    ~CStartedProgram() {
        if (!m_started) {
            return;
        }
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
        }
        CloseHandle(m_process.hProcess);
    }

    CStartedProgram(const CStartedProgram&) = delete;
    CStartedProgram& operator=(const CStartedProgram&) = delete;

    bool IsStarted() const { return m_started; }

    DWORD Id() const { return m_process.dwProcessId; }

    HWND WaitForWindow(const std::string& titlePrefix) const {
        HWND window = nullptr;
        WaitUntil([&] { return (window = VisibleWindow(Id(), titlePrefix)) != nullptr; });
        return window;
    }

    // Closes the window and answers the question before the end (another window of the
    // program) with the button that leaves.
    bool CloseAndWait(HWND window, int answer) const {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return WaitUntil([&] {
            if (HWND question = VisibleWindow(Id(), "", window); question != nullptr) {
                PostMessageA(question, WM_COMMAND, answer, 0);
            }
            return WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0;
        });
    }

private:
    PROCESS_INFORMATION m_process = {};
    bool m_started = false;
};

// Picks the other language of two in the open language dialog (its list's texts do not
// cross the process border); false when there are not two.
bool ChooseOtherLanguage(HWND dialog) {
    const HWND list = GetDlgItem(dialog, kLanguageListId);
    if (SendMessageA(list, CB_GETCOUNT, 0, 0) != 2) {
        return false;
    }
    const LRESULT other = 1 - SendMessageA(list, CB_GETCURSEL, 0, 0);
    SendMessageA(list, CB_SETCURSEL, other, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kLanguageListId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(list));
    return true;
}

TEST(UnpackedArchive, ZarvoReadsTheUnitSwitchesToGermanAndZFxManagerStartsBesideIt) {
    const std::string folder = Variable("ZARVO_PACKAGE_FOLDER");
    const std::string port = Variable("ZARVO_UNITSIM_PORT");
    ASSERT_FALSE(folder.empty()) << "run through fresh-prefix-test";
    ASSERT_FALSE(port.empty()) << "run through fresh-prefix-test";
    // Nothing of the project's tree is in reach: the host's root is no drive here.
    ASSERT_EQ(GetFileAttributesA("Z:\\"), INVALID_FILE_ATTRIBUTES);

    CStartedProgram zarvo(folder, "Zarvo.exe -nosplash");
    ASSERT_TRUE(zarvo.IsStarted()) << GetLastError();
    const HWND main = zarvo.WaitForWindow("Pirolex: Main menu");
    ASSERT_NE(main, nullptr) << "no main window";
    HWND panel = nullptr;
    const std::string connected = "CONNECTED to COM" + port;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND child = FindWindowExA(main, nullptr, "#32770", nullptr);
             child != nullptr && panel == nullptr; child = FindWindowExA(main, child, "#32770", nullptr)) {
            panel = GetDlgItem(child, kStatusTextId) != nullptr ? child : nullptr;
        }
        return panel != nullptr && Text(panel, kStatusTextId) == connected;
    })) << (panel != nullptr ? Text(panel, kStatusTextId) : "no status panel");
    // The unit's data were read: the title names them, not yet saved.
    EXPECT_TRUE(WaitUntil([&] { return Text(main) == "Pirolex: Main menu - [Untitled*]"; })) << Text(main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kLanguageId, BN_CLICKED), 0);
    const HWND dialog = zarvo.WaitForWindow("Pirolex: Change language");
    ASSERT_NE(dialog, nullptr) << "no language dialog";
    // The program's English and the module's German.
    ASSERT_TRUE(ChooseOtherLanguage(dialog)) << "not two languages listed";
    EXPECT_TRUE(WaitUntil([&] { return Text(main, kConfigureId) == "Konfigurieren"; }))
        << Text(main, kConfigureId);

    CStartedProgram manager(folder, "ZFxManager.exe");
    ASSERT_TRUE(manager.IsStarted()) << GetLastError();
    const HWND viewer = manager.WaitForWindow("ZFx Viewer");
    EXPECT_NE(viewer, nullptr) << "ZFx Manager shows no window";
    if (viewer != nullptr) {
        EXPECT_TRUE(manager.CloseAndWait(viewer, IDYES)) << "ZFx Manager did not end";
    }
    EXPECT_TRUE(zarvo.CloseAndWait(main, IDOK)) << "Zarvo did not end";
}

}  // namespace
