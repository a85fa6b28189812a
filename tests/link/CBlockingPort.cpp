// The trapping port: everything goes to the real serial port except a trapped read.
#include "tests/link/CBlockingPort.h"

CBlockingPort::CBlockingPort() : m_blocked(FALSE, TRUE), m_released(FALSE, TRUE) {}

CBlockingPort::~CBlockingPort() = default;

void CBlockingPort::Open(int portNumber,
                         DWORD baudRate,
                         int parity,
                         BYTE dataBits,
                         int stopBits,
                         int flow,
                         bool overlapped) {
    m_port.Open(portNumber, baudRate, parity, dataBits, stopBits, flow, overlapped);
}

void CBlockingPort::Close() {
    m_port.Close();
}

bool CBlockingPort::IsOpen() const {
    return m_port.IsOpen();
}

DWORD CBlockingPort::Read(void* buffer, DWORD count) {
    if (m_blockNextRead.exchange(false)) {
        m_blocked.SetEvent();
        m_released.Lock();
    }
    return m_port.Read(buffer, count);
}

DWORD CBlockingPort::Write(const void* buffer, DWORD count) {
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    if (count >= 2 && m_trapCode.load() == bytes[1]) {
        m_trapCode = -1;
        m_blockNextRead = true;
    }
    return m_port.Write(buffer, count);
}

void CBlockingPort::SetTimeouts(const PortTimeouts& timeouts) {
    m_port.SetTimeouts(timeouts);
}

void CBlockingPort::ListPorts(std::vector<int>& ports) {
    m_port.ListPorts(ports);
}

void CBlockingPort::BlockAfterCommand(BYTE code) {
    m_trapCode = code;
}

bool CBlockingPort::WaitUntilBlocked(DWORD timeoutMs) {
    return m_blocked.Lock(timeoutMs) != FALSE;
}

void CBlockingPort::Release() {
    m_released.SetEvent();
}
