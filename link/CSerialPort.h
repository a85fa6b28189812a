// One COM port: open with line settings, blocking reads and writes, time-outs.
// Every failure of the system throws CSerialException with the system's error code.
// Used by the communicator's worker thread only.
#pragma once

#include "link/IPort.h"

#include <vector>

class CSerialPort : public IPort {
public:
    CSerialPort() = default;
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    void Open(int portNumber,
              DWORD baudRate,
              int parity,
              BYTE dataBits,
              int stopBits,
              int flow,
              bool overlapped) override;
    // Closing a closed port does nothing.
    void Close() override;
    bool IsOpen() const override;
    DWORD Read(void* buffer, DWORD count) override;
    DWORD Write(const void* buffer, DWORD count) override;
    void SetTimeouts(const PortTimeouts& timeouts) override;
    void ListPorts(std::vector<int>& ports) override;

    PortTimeouts GetTimeouts();
    // Reads return at once; writes have no time-out.
    void SetImmediateTimeouts();
    // Keeps the read time-outs and removes the write time-outs.
    void ClearWriteTimeouts();
    // Keeps the write time-outs and makes reads return at once.
    void MakeReadsImmediate();

private:
    // The system's handle (a file descriptor on POSIX systems); -1 while closed.
    long long m_handle = -1;
    bool m_overlapped = false;
};

// Empties the list, then appends every port number from 1 to 255 that can be opened
// exclusively at this moment.
void EnumerateComPorts(std::vector<int>& ports);
