// The log server as the log client sees it: "createlog,NAME" on the control pipe,
// then lines on "\\.\pipe\NAME.log", found in OUTPUT\NAME.log. The test starts the
// server itself and ends it on every path. Pipe and log names carry the process id,
// since named pipes are shared by every program of the Wine session.
#include "tests/support/WinePath.h"

#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kArrivalTimeoutMs = 10000;
constexpr char kPipePrefix[] = "\\\\.\\pipe\\";

std::string Unique(const std::string& stem) {
    return stem + "-" + std::to_string(GetCurrentProcessId());
}

// A fresh folder under the temporary folder, removed with its files.
class CTempFolder {
public:
    CTempFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + Unique("zarvo-logserver") + "-" + std::to_string(GetTickCount());
        CreateDirectoryA(m_path.c_str(), nullptr);
    }

    ~CTempFolder() {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(m_path.c_str());
    }

    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

bool WaitForPipe(const std::string& path, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!WaitNamedPipeA(path.c_str(), 100)) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

// A running log server, killed when the object goes.
class CServerProcess {
public:
    CServerProcess(const std::string& folder, const std::string& pipeName, const std::string& consoleFile) {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        m_console = CreateFileA(consoleFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = m_console;
        startup.hStdError = m_console;
        std::string commandLine = "\"" + WinePath(ZARVO_LOGSERVER_EXE) + "\" \"" + folder + "\" " + pipeName;
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &m_process)) {
            m_process = {};
            ADD_FAILURE() << "CreateProcess(" << commandLine << "): " << GetLastError();
        }
    }

    ~CServerProcess() {
        Kill();
        if (m_console != INVALID_HANDLE_VALUE) {
            CloseHandle(m_console);
        }
    }

    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

    void Kill() {
        if (m_process.hProcess == nullptr) {
            return;
        }
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 10000);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
        m_process = {};
    }

    // The exit code once the server ended within timeoutMs, else STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs) {
        DWORD code = STILL_ACTIVE;
        if (m_process.hProcess != nullptr &&
            WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(m_process.hProcess, &code);
        }
        return code;
    }

private:
    PROCESS_INFORMATION m_process = {};
    HANDLE m_console = INVALID_HANDLE_VALUE;
};

// One client connection to a pipe, as the log client holds it.
class CPipeClient {
public:
    ~CPipeClient() { Close(); }

    bool Open(const std::string& path) {
        Close();
        if (!WaitForPipe(path, kArrivalTimeoutMs)) {
            return false;
        }
        m_pipe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return m_pipe != INVALID_HANDLE_VALUE;
    }

    // 0 on success, else the error of the write.
    DWORD Write(const std::string& text) {
        DWORD written = 0;
        if (!WriteFile(m_pipe, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            return GetLastError();
        }
        return written == text.size() ? 0 : ERROR_WRITE_FAULT;
    }

    void Close() {
        if (m_pipe != INVALID_HANDLE_VALUE) {
            CloseHandle(m_pipe);
            m_pipe = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE m_pipe = INVALID_HANDLE_VALUE;
};

// Sends one message on its own connection, as the log client announces a log.
bool SendMessageTo(const std::string& path, const std::string& text) {
    CPipeClient client;
    return client.Open(path) && client.Write(text) == 0;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Polls the file until it contains every one of the texts.
bool WaitForFileContaining(const std::string& path, const std::vector<std::string>& texts) {
    const ULONGLONG deadline = GetTickCount64() + kArrivalTimeoutMs;
    for (;;) {
        const std::string content = ReadWholeFile(path);
        bool all = true;
        for (const std::string& text : texts) {
            all = all && content.find(text) != std::string::npos;
        }
        if (all) {
            return true;
        }
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(10);
    }
}

class CLogServerTest : public ::testing::Test {
protected:
    std::string ControlPipe() const { return kPipePrefix + m_pipeName; }

    std::string DataPipe(const std::string& log) const { return kPipePrefix + log + ".log"; }

    std::string LogFile(const std::string& log) const { return m_folder.Path() + "\\" + log + ".log"; }

    std::string ConsoleFile() const { return m_folder.Path() + "\\server-console.txt"; }

    // Starts a server on this test's folder and control pipe and waits until it serves.
    std::unique_ptr<CServerProcess> StartServer() {
        auto server = std::make_unique<CServerProcess>(m_folder.Path(), m_pipeName, ConsoleFile());
        EXPECT_TRUE(WaitForPipe(ControlPipe(), kStartTimeoutMs)) << ReadWholeFile(ConsoleFile());
        return server;
    }

    // Announces a log and connects to its data pipe, as the log client does.
    bool Connect(CPipeClient& client, const std::string& log) {
        return SendMessageTo(ControlPipe(), "createlog," + log) && client.Open(DataPipe(log));
    }

    CTempFolder m_folder;
    const std::string m_pipeName = Unique("zarvo-logger-test");
};

}  // namespace

TEST_F(CLogServerTest, LinesOfEachLogArriveInThatLogsFile) {
    auto server = StartServer();
    const std::string logs[] = {Unique("test"), Unique("other")};
    for (const std::string& log : logs) {
        SCOPED_TRACE(log);
        CPipeClient client;
        ASSERT_TRUE(Connect(client, log));
        const std::string line = "2024-05-06 07:08:09.010,0,3000,12,MERIVAN,VM,to " + log + "\r\n";
        ASSERT_EQ(0u, client.Write(line));
        EXPECT_TRUE(WaitForFileContaining(LogFile(log), {line}));
    }
    EXPECT_EQ(std::string::npos, ReadWholeFile(LogFile(logs[0])).find("to " + logs[1]));
}

TEST_F(CLogServerTest, ServesClientsThatComeAndGoRepeatedly) {
    auto server = StartServer();
    const std::string log = Unique("test");
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i) {
        SCOPED_TRACE(i);
        CPipeClient client;
        // Every visit announces the log again, as the client's retry path does.
        ASSERT_TRUE(Connect(client, log));
        lines.push_back("visit " + std::to_string(i) + "\r\n");
        ASSERT_EQ(0u, client.Write(lines.back()));
    }
    EXPECT_TRUE(WaitForFileContaining(LogFile(log), lines));
}

TEST_F(CLogServerTest, ReconnectingClientIsServedByARestartedServer) {
    const std::string log = Unique("test");
    CPipeClient client;
    auto first = StartServer();
    ASSERT_TRUE(Connect(client, log));
    ASSERT_EQ(0u, client.Write("before the restart\r\n"));
    ASSERT_TRUE(WaitForFileContaining(LogFile(log), {"before the restart\r\n"}));

    first->Kill();
    const DWORD error = client.Write("while the server is away\r\n");
    EXPECT_TRUE(error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED)
        << error;

    auto second = StartServer();
    ASSERT_TRUE(Connect(client, log));
    ASSERT_EQ(0u, client.Write("after the restart\r\n"));
    EXPECT_TRUE(WaitForFileContaining(LogFile(log), {"before the restart\r\n", "after the restart\r\n"}));
}

TEST_F(CLogServerTest, SecondServerOnTheSameControlPipeRefusesToStart) {
    auto first = StartServer();
    CServerProcess second(m_folder.Path(), m_pipeName, ConsoleFile());
    EXPECT_EQ(1u, second.WaitForExit(kStartTimeoutMs));
    // The first one still serves.
    const std::string log = Unique("test");
    CPipeClient client;
    ASSERT_TRUE(Connect(client, log));
    ASSERT_EQ(0u, client.Write("still here\r\n"));
    EXPECT_TRUE(WaitForFileContaining(LogFile(log), {"still here\r\n"}));
}
