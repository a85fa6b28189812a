// The real serial port with a trap for tests: once armed, the read that follows the
// write of a frame with the given command code blocks until released, so that the
// worker hangs inside an exchange while it holds the request's locks.
#pragma once

#include "classlib/core/CEvent.h"
#include "link/CSerialPort.h"

#include <atomic>

class CBlockingPort : public IPort {
public:
    CBlockingPort();
    ~CBlockingPort() override;

    void Open(int portNumber,
              DWORD baudRate,
              int parity,
              BYTE dataBits,
              int stopBits,
              int flow,
              bool overlapped) override;
    void Close() override;
    bool IsOpen() const override;
    DWORD Read(void* buffer, DWORD count) override;
    DWORD Write(const void* buffer, DWORD count) override;
    void SetTimeouts(const PortTimeouts& timeouts) override;
    void ListPorts(std::vector<int>& ports) override;

    // Blocks the read after the next frame with this command code.
    void BlockAfterCommand(BYTE code);
    // Waits until a read is blocked; false on time-out.
    bool WaitUntilBlocked(DWORD timeoutMs);
    // Lets blocked and later reads go on.
    void Release();

private:
    CSerialPort m_port;
    std::atomic<int> m_trapCode{-1};
    std::atomic<bool> m_blockNextRead{false};
    CEvent m_blocked;   // set once a read is blocked
    CEvent m_released;  // set by Release; stays set
};
