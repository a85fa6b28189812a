// The log server: serves the control pipe, and for every "createlog,NAME" a data pipe
// "\\\\.\\pipe\\NAME.log" whose bytes go to OUTPUT\NAME.log.
#pragma once

#include "tools/logserver/CLogFile.h"
#include "tools/logserver/CPipeServer.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

class CLogServer {
public:
    // outputFolder: where the log files go (created when missing). controlPipeName: the
    // control pipe's name without the "\\\\.\\pipe\\" prefix.
    CLogServer(std::string outputFolder, std::string controlPipeName);

    // Serves until the process is killed; returns an exit code only when the server
    // could not start (no output folder, or the control pipe is served already).
    int Run();

private:
    struct ServedLog {
        std::unique_ptr<CLogFile> file;
        std::unique_ptr<CPipeServer> pipe;
    };

    // Both run on a client's thread.
    void ReadControlClient(HANDLE pipe);
    void StartLog(const std::string& name);

    const std::string m_outputFolder;
    const std::string m_controlPipeName;
    std::mutex m_mutex;
    std::map<std::string, ServedLog> m_logs;  // by lower-case name; guarded by m_mutex
};
