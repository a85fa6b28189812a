// The log client against the real log server under Wine: the line format and level
// filter as they arrive, a server that restarts, and no server at all. Each test
// runs its own server on a control pipe of its own (named pipes are shared by every
// program of the Wine session).
#include "link/CLogger.h"
#include "tests/support/WinePath.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kArrivalTimeoutMs = 10000;

std::string Unique(const std::string& stem) {
    static int counter = 0;
    return stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

// A running log server on a folder and control pipe, killed when the object goes.
class CServerProcess {
public:
    CServerProcess(const std::string& folder, const std::string& pipeName) {
        std::string commandLine = "\"" + WinePath(ZARVO_LOGSERVER_EXE) + "\" \"" + folder + "\" " + pipeName;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &m_process)) {
            m_process = {};
            ADD_FAILURE() << "CreateProcess(" << commandLine << "): " << GetLastError();
            return;
        }
        const std::string control = "\\\\.\\pipe\\" + pipeName;
        EXPECT_TRUE(WaitUntil([&] { return WaitNamedPipeA(control.c_str(), 100) != FALSE; }, kStartTimeoutMs))
            << "the log server did not serve " << control;
    }

    ~CServerProcess() {
        if (m_process.hProcess == nullptr) {
            return;
        }
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 10000);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

private:
    PROCESS_INFORMATION m_process = {};
};

class LoggerWithServer : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + Unique("zarvo-link-logs");
        CreateDirectoryA(m_folder.c_str(), nullptr);
        logger.SetControlPipeName(m_pipeName);
    }

    void TearDown() override {
        DeleteFileA(LogFile().c_str());
        DeleteFileA((m_folder + "\\logserver.txt").c_str());
        RemoveDirectoryA(m_folder.c_str());
    }

    std::unique_ptr<CServerProcess> StartServer() {
        return std::make_unique<CServerProcess>(m_folder, m_pipeName);
    }

    std::string LogFile() const { return m_folder + "\\" + m_logName + ".log"; }

    bool WaitForText(const std::string& text) {
        return WaitUntil([&] { return ReadWholeFile(LogFile()).find(text) != std::string::npos; },
                         kArrivalTimeoutMs);
    }

    const std::string m_pipeName = Unique("zarvo-link-logger");
    const std::string m_logName = Unique("zarvo_link");
    std::string m_folder;
    CLogger logger;
};

}  // namespace

TEST_F(LoggerWithServer, LinesArriveInTheServersFormatUpToTheConfiguredLevel) {
    const auto server = StartServer();
    logger.Configure(3, "MERIVAN", m_logName, ".");
    logger.Log(4000, "dropped %d", 4000);
    logger.Log(3999, "kept %d%%", 3999);
    logger.Log(0, "last");
    ASSERT_TRUE(WaitForText("last\r\n"));

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    const std::string contents = ReadWholeFile(LogFile());
    const std::string thread = std::to_string(GetCurrentThreadId());
    const std::regex expected("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3},0,3999," + thread +
                              ",MERIVAN," + computer +
                              ",kept 3999%\r\n"
                              "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3},1,0," +
                              thread + ",MERIVAN," + computer + ",last\r\n");
    EXPECT_TRUE(std::regex_match(contents, expected)) << contents;
}

TEST_F(LoggerWithServer, LosesNoLineWrittenAfterARestartedServerIsBack) {
    auto server = StartServer();
    logger.Configure(3, "MERIVAN", m_logName, ".");
    logger.Log(0, "before the restart");
    ASSERT_TRUE(WaitForText("before the restart\r\n"));
    server.reset();
    server = StartServer();
    for (int i = 0; i < 5; ++i) {
        logger.Log(0, "after the restart %d", i);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(WaitForText("after the restart " + std::to_string(i) + "\r\n")) << i;
    }
}

TEST_F(LoggerWithServer, WithoutAServerGivesUpAfterItsAttemptsAndBlocksNoThread) {
    logger.Configure(3, "MERIVAN", m_logName, ".");
    const ULONGLONG start = GetTickCount64();
    std::thread other([&] { logger.Log(0, "from another thread"); });
    logger.Log(0, "nobody reads this");
    other.join();
    EXPECT_LT(GetTickCount64() - start, 10000u);
    // Given up: later lines cost nothing.
    const ULONGLONG later = GetTickCount64();
    for (int i = 0; i < 20; ++i) {
        logger.Log(0, "still nobody");
    }
    EXPECT_LT(GetTickCount64() - later, 200u);
}
