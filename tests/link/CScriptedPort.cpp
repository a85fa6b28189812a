// The scripted port of the link tests.
#include "tests/link/CScriptedPort.h"

#include "link/CSerialException.h"
#include "link/FrameChecksum.h"

Bytes Frame(Bytes bytes) {
    bytes.push_back(0);
    SetChecksum(bytes.data(), static_cast<int>(bytes.size()));
    return bytes;
}

void CScriptedPort::Open(int portNumber, DWORD, int, BYTE, int, int, bool) {
    m_opened.push_back(portNumber);
    if (m_failingOpen.count(portNumber) != 0) {
        throw CSerialException(5);
    }
    m_openPort = portNumber;
    m_pending.clear();
}

DWORD CScriptedPort::Read(void* buffer, DWORD count) {
    if (m_failingRead.count(m_openPort) != 0) {
        throw CSerialException(31);
    }
    if (m_failReads > 0) {
        --m_failReads;
        throw CSerialException(31);
    }
    auto* out = static_cast<BYTE*>(buffer);
    DWORD got = 0;
    while (got < count && !m_pending.empty()) {
        out[got++] = m_pending.front();
        m_pending.pop_front();
    }
    return got;
}

DWORD CScriptedPort::Write(const void* buffer, DWORD count) {
    if (m_failingWrite.count(m_openPort) != 0) {
        throw CSerialException(31);
    }
    if (m_failWrites > 0) {
        --m_failWrites;
        throw CSerialException(31);
    }
    const auto* bytes = static_cast<const BYTE*>(buffer);
    Bytes frame(bytes, bytes + count);
    m_written.push_back({m_openPort, frame});
    if (m_shortWrites > 0) {
        --m_shortWrites;
        return count - 1;
    }
    if (m_responder) {
        Inject(m_responder(m_openPort, frame));
    }
    return count;
}
