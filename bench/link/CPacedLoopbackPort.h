// The simulated unit's engine behind a port that paces the line: a request occupies
// the wire for its bytes, the answer follows byte by byte at the baud rate, and a
// read returns only the bytes that have arrived by then. Every stretch of time the
// line is busy is recorded. One port number answers.
#pragma once

#include "bench/link/TimeSpan.h"
#include "link/IPort.h"

#include <cstddef>
#include <deque>
#include <vector>

class CUnitEngine;

class CPacedLoopbackPort : public IPort {
public:
    // `engine` is not owned and must outlive the port.
    CPacedLoopbackPort(CUnitEngine& engine, int portNumber, DWORD baudRate);

    void Open(int portNumber,
              DWORD baudRate,
              int parity,
              BYTE dataBits,
              int stopBits,
              int flow,
              bool overlapped) override;
    void Close() override;

    bool IsOpen() const override { return m_open; }

    DWORD Read(void* buffer, DWORD count) override;
    DWORD Write(const void* buffer, DWORD count) override;

    void SetTimeouts(const PortTimeouts&) override {}

    void ListPorts(std::vector<int>& ports) override { ports = {m_portNumber}; }

    // 10 bits a byte: start bit, 8 data bits, stop bit.
    double ByteMs() const { return 10000.0 / m_baudRate; }

    std::size_t BytesOnWire() const { return m_bytesOnWire; }

    const std::vector<TimeSpan>& WireBusy() const { return m_wireBusy; }

private:
    struct ArrivingByte {
        BYTE value;
        double arrivalMs;
    };

    CUnitEngine& m_engine;  // not owned
    int m_portNumber;
    DWORD m_baudRate;
    bool m_open = false;
    double m_lineFreeMs = 0;
    std::deque<ArrivingByte> m_arriving;
    std::size_t m_bytesOnWire = 0;
    std::vector<TimeSpan> m_wireBusy;
};
