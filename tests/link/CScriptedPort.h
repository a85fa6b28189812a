// A port for tests: a responder turns each written frame into the bytes the far end
// sends back, and every write is recorded with the port it went to.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/IPort.h"

#include <deque>
#include <functional>
#include <set>
#include <vector>

using Bytes = std::vector<BYTE>;

// A frame with its checksum appended.
Bytes Frame(Bytes bytes);

struct WrittenFrame {
    int port;
    Bytes bytes;
};

class CScriptedPort : public IPort {
public:
    using Responder = std::function<Bytes(int port, const Bytes& written)>;

    void Open(int portNumber, DWORD, int, BYTE, int, int, bool) override;

    void Close() override { m_openPort = 0; }

    bool IsOpen() const override { return m_openPort != 0; }

    DWORD Read(void* buffer, DWORD count) override;
    DWORD Write(const void* buffer, DWORD count) override;

    void SetTimeouts(const PortTimeouts&) override {}

    void ListPorts(std::vector<int>& ports) override { ports = m_ports; }

    void SetPorts(std::vector<int> ports) { m_ports = std::move(ports); }

    void SetResponder(Responder responder) { m_responder = std::move(responder); }

    void FailOpening(int port) { m_failingOpen.insert(port); }

    void AllowOpening(int port) { m_failingOpen.erase(port); }

    // Every write or read on the port fails from now on.
    void FailWritingOn(int port) { m_failingWrite.insert(port); }

    void FailReadingOn(int port) { m_failingRead.insert(port); }

    void FailNextWrites(int count) { m_failWrites = count; }

    void ShortNextWrites(int count) { m_shortWrites = count; }

    void FailNextReads(int count) { m_failReads = count; }

    // Bytes the far end sends whether asked or not.
    void Inject(const Bytes& bytes) { m_pending.insert(m_pending.end(), bytes.begin(), bytes.end()); }

    const std::vector<WrittenFrame>& Written() const { return m_written; }

    std::vector<int> OpenedPorts() const { return m_opened; }

    void ClearWritten() { m_written.clear(); }

private:
    std::vector<int> m_ports;
    std::set<int> m_failingOpen;
    std::set<int> m_failingWrite;
    std::set<int> m_failingRead;
    std::vector<int> m_opened;
    int m_openPort = 0;
    Responder m_responder;
    std::deque<BYTE> m_pending;
    std::vector<WrittenFrame> m_written;
    int m_failWrites = 0;
    int m_shortWrites = 0;
    int m_failReads = 0;
};
