// Control messages and the logs they create.
#include "tools/logserver/CLogServer.h"

#include "classlib/core/CMutex.h"
#include "tools/logserver/LogCommand.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr char kPipePrefix[] = "\\\\.\\pipe\\";
constexpr DWORD kReadChunkBytes = 4096;

std::string LowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Appends everything a data client writes; runs on the client's thread.
void CopyClientToLog(HANDLE pipe, CLogFile& log) {
    std::vector<char> buffer(kReadChunkBytes);
    DWORD read = 0;
    while (ReadFile(pipe, buffer.data(), kReadChunkBytes, &read, nullptr)) {
        if (read > 0) {
            log.Append(buffer.data(), read);
        }
    }
    // The client closing its end is the normal end of the connection.
    const DWORD error = GetLastError();
    if (error != ERROR_BROKEN_PIPE && error != ERROR_PIPE_NOT_CONNECTED) {
        std::fprintf(stderr, "logserver: ReadFile(%s): %lu\n", log.GetPath().c_str(), error);
    }
}

}  // namespace

CLogServer::CLogServer(std::string outputFolder, std::string controlPipeName)
    : m_outputFolder(std::move(outputFolder)), m_controlPipeName(std::move(controlPipeName)) {}

int CLogServer::Run() {
    if (!CreateDirectoryA(m_outputFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "logserver: CreateDirectory(%s): %lu\n", m_outputFolder.c_str(), GetLastError());
        return 1;
    }
    CPipeServer control(kPipePrefix + m_controlPipeName, true,
                        [this](HANDLE pipe) { ReadControlClient(pipe); });
    // A second server on the same name would split the clients between them. The
    // mutex goes with the process, also when it is killed.
    std::string mutexName = "zarvo-logserver-" + m_controlPipeName;
    std::replace(mutexName.begin(), mutexName.end(), '\\', '/');
    const CMutex running(FALSE, mutexName.c_str());
    if (running.ExistedBefore()) {
        std::fprintf(stderr, "logserver: %s is served already\n", control.GetPath().c_str());
        return 1;
    }
    if (!control.Open()) {
        return 1;
    }
    std::printf("logserver: serving %s, logs in %s\n", control.GetPath().c_str(), m_outputFolder.c_str());
    std::fflush(stdout);
    control.Serve();
    return 0;
}

void CLogServer::ReadControlClient(HANDLE pipe) {
    // Each client write is one message; a message longer than the buffer arrives in parts.
    std::vector<char> buffer(kReadChunkBytes);
    std::string message;
    for (;;) {
        DWORD read = 0;
        const bool complete = ReadFile(pipe, buffer.data(), kReadChunkBytes, &read, nullptr);
        const DWORD error = complete ? 0 : GetLastError();
        message.append(buffer.data(), read);
        if (!complete && error == ERROR_MORE_DATA) {
            continue;
        }
        if (!complete) {
            return;
        }
        const std::string name = ParseCreateLog(message);
        if (name.empty()) {
            std::fprintf(stderr, "logserver: ignored control message \"%s\"\n", message.c_str());
        } else {
            StartLog(name);
        }
        message.clear();
    }
}

void CLogServer::StartLog(const std::string& name) {
    std::lock_guard<std::mutex> guard(m_mutex);
    const std::string key = LowerCase(name);
    if (m_logs.count(key) != 0) {
        return;
    }
    ServedLog log;
    log.file = std::make_unique<CLogFile>(m_outputFolder + "\\" + name + ".log");
    if (!log.file->Open()) {
        return;
    }
    CLogFile* file = log.file.get();
    log.pipe = std::make_unique<CPipeServer>(kPipePrefix + name + ".log", false,
                                             [file](HANDLE pipe) { CopyClientToLog(pipe, *file); });
    // The first instance is made here, before the announcing client hears back, so the
    // data pipe exists when the client opens it right after its announcement.
    if (!log.pipe->Open()) {
        return;
    }
    std::thread(&CPipeServer::Serve, log.pipe.get()).detach();
    std::printf("logserver: created log %s\n", name.c_str());
    std::fflush(stdout);
    m_logs.emplace(key, std::move(log));
}
