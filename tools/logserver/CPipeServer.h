// Serves one named pipe with any number of instances: one instance always waits for
// the next client, and every connected instance is read on a thread of its own, so a
// client that drops its connection and comes back is served again.
#pragma once

#include "tools/logserver/CScopedHandle.h"

#include <windows.h>

#include <functional>
#include <string>

class CPipeServer {
public:
    // Reads one connected client until it goes; runs on that client's thread. It must
    // not close the handle.
    using ClientHandler = std::function<void(HANDLE pipe)>;

    // path: "\\\\.\\pipe\\NAME". messageMode: each client write arrives as one message.
    CPipeServer(std::string path, bool messageMode, ClientHandler handler);

    // Creates the first waiting instance; reports a failure on stderr.
    bool Open();
    // Hands clients to their threads for ever; runs on the calling thread.
    void Serve();

    const std::string& GetPath() const { return m_path; }

private:
    HANDLE CreateInstance();
    void StartClientThread(CScopedHandle pipe);

    const std::string m_path;
    const bool m_messageMode;
    const ClientHandler m_handler;
    CScopedHandle m_waiting;  // the instance that waits for the next client; Serve's thread only
};
