// Pipe instances and their client threads.
#include "tools/logserver/CPipeServer.h"

#include <cstdio>
#include <thread>
#include <utility>

namespace {

constexpr DWORD kPipeBufferBytes = 4096;
constexpr DWORD kRetryDelayMs = 100;

}  // namespace

CPipeServer::CPipeServer(std::string path, bool messageMode, ClientHandler handler)
    : m_path(std::move(path)), m_messageMode(messageMode), m_handler(std::move(handler)) {}

bool CPipeServer::Open() {
    m_waiting.Reset(CreateInstance());
    if (!m_waiting.IsValid()) {
        std::fprintf(stderr, "logserver: CreateNamedPipe(%s): %lu\n", m_path.c_str(), GetLastError());
        return false;
    }
    return true;
}

HANDLE CPipeServer::CreateInstance() {
    // No access list: clients of any account may write their logs.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
    const DWORD pipeMode =
        (m_messageMode ? PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE : PIPE_TYPE_BYTE | PIPE_READMODE_BYTE) |
        PIPE_WAIT;
    return CreateNamedPipeA(m_path.c_str(), PIPE_ACCESS_INBOUND, pipeMode, PIPE_UNLIMITED_INSTANCES,
                            kPipeBufferBytes, kPipeBufferBytes, 0, &attributes);
}

void CPipeServer::Serve() {
    for (;;) {
        CScopedHandle current(m_waiting.Release());
        // A client may connect, and even write and leave, before ConnectNamedPipe runs
        // (ERROR_PIPE_CONNECTED, ERROR_NO_DATA); what it wrote is still there to read.
        const DWORD connectError = ConnectNamedPipe(current.Get(), nullptr) ? 0 : GetLastError();
        const bool connected =
            connectError == 0 || connectError == ERROR_PIPE_CONNECTED || connectError == ERROR_NO_DATA;
        // The next instance exists before this one is handed on, so that a client
        // never finds the name missing (it would give up at once instead of waiting).
        while (!m_waiting.IsValid()) {
            m_waiting.Reset(CreateInstance());
            if (!m_waiting.IsValid()) {
                std::fprintf(stderr, "logserver: CreateNamedPipe(%s): %lu\n", m_path.c_str(), GetLastError());
                Sleep(kRetryDelayMs);
            }
        }
        if (!connected) {
            std::fprintf(stderr, "logserver: ConnectNamedPipe(%s): %lu\n", m_path.c_str(), connectError);
            continue;
        }
        StartClientThread(std::move(current));
    }
}

void CPipeServer::StartClientThread(CScopedHandle pipe) {
    std::thread([this, handle = pipe.Release()] {
        CScopedHandle client(handle);
        m_handler(client.Get());
        DisconnectNamedPipe(client.Get());
    }).detach();
}
