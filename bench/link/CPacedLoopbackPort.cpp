#include "bench/link/CPacedLoopbackPort.h"

#include "link/CSerialException.h"
#include "tools/unitsim/CUnitEngine.h"

#include <algorithm>

CPacedLoopbackPort::CPacedLoopbackPort(CUnitEngine& engine, int portNumber, DWORD baudRate)
    : m_engine(engine), m_portNumber(portNumber), m_baudRate(baudRate) {}

void CPacedLoopbackPort::Open(int portNumber, DWORD, int, BYTE, int, int, bool) {
    if (portNumber != m_portNumber) {
        throw CSerialException(2);  // no such port, as the system says it
    }
    m_open = true;
}

void CPacedLoopbackPort::Close() {
    m_open = false;
    m_arriving.clear();
}

DWORD CPacedLoopbackPort::Read(void* buffer, DWORD count) {
    const double now = SteadyMs();
    BYTE* out = static_cast<BYTE*>(buffer);
    DWORD got = 0;
    while (got < count && !m_arriving.empty() && m_arriving.front().arrivalMs <= now) {
        out[got++] = m_arriving.front().value;
        m_arriving.pop_front();
    }
    return got;
}

// The request goes out once the line is free; the unit answers as soon as the last
// request byte is in, and its answer follows on the line without a gap.
DWORD CPacedLoopbackPort::Write(const void* buffer, DWORD count) {
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    const std::vector<uint8_t> reply = m_engine.Feed(bytes, count);
    const double begin = std::max(SteadyMs(), m_lineFreeMs);
    double at = begin + count * ByteMs();
    for (uint8_t value : reply) {
        at += ByteMs();
        m_arriving.push_back({value, at});
    }
    m_lineFreeMs = at;
    m_bytesOnWire += count + reply.size();
    m_wireBusy.push_back({begin, at});
    return count;
}
