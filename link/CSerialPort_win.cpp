// CSerialPort over the Win32 communications functions.
#include "link/CSerialPort.h"

#include "link/CSerialException.h"

#include <windows.h>

#include <cstdio>

namespace {

HANDLE OpenComHandle(int portNumber, bool overlapped) {
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", portNumber);
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
}

[[noreturn]] void ThrowLastError() {
    throw CSerialException(GetLastError());
}

void ApplyParity(DCB& dcb, int parity) {
    switch (parity) {
    case kParityEven:
        dcb.Parity = EVENPARITY;
        break;
    case kParityMark:
        dcb.Parity = MARKPARITY;
        break;
    case kParityNone:
        dcb.Parity = NOPARITY;
        break;
    case kParityOdd:
        dcb.Parity = ODDPARITY;
        break;
    case kParitySpace:
        dcb.Parity = SPACEPARITY;
        break;
    default:
        break;  // values outside the table keep the port's setting
    }
}

void ApplyStopBits(DCB& dcb, int stopBits) {
    switch (stopBits) {
    case kStopBitsOne:
        dcb.StopBits = ONESTOPBIT;
        break;
    case kStopBitsOneAndHalf:
        dcb.StopBits = ONE5STOPBITS;
        break;
    case kStopBitsTwo:
        dcb.StopBits = TWOSTOPBITS;
        break;
    default:
        break;  // values outside the table keep the port's setting
    }
}

// DTR and RTS line control stay as the port has them unless a handshake needs them.
void ApplyFlow(DCB& dcb, int flow) {
    if (flow < kFlowNone || flow > kFlowXonXoff) {
        return;
    }
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fDsrSensitivity = FALSE;
    switch (flow) {
    case kFlowCtsRts:
        dcb.fOutxCtsFlow = TRUE;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        break;
    case kFlowCtsDtr:
        dcb.fOutxCtsFlow = TRUE;
        dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
        break;
    case kFlowDsrRts:
        dcb.fOutxDsrFlow = TRUE;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        break;
    case kFlowDsrDtr:
        dcb.fOutxDsrFlow = TRUE;
        dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
        break;
    case kFlowXonXoff:
        dcb.fOutX = TRUE;
        dcb.fInX = TRUE;
        dcb.XonChar = 17;
        dcb.XoffChar = 19;
        dcb.XonLim = 100;
        dcb.XoffLim = 100;
        break;
    default:
        break;
    }
}

}  // namespace

CSerialPort::~CSerialPort() {
    Close();
}

void CSerialPort::Open(int portNumber,
                       DWORD baudRate,
                       int parity,
                       BYTE dataBits,
                       int stopBits,
                       int flow,
                       bool overlapped) {
    Close();
    HANDLE handle = OpenComHandle(portNumber, overlapped);
    if (handle == INVALID_HANDLE_VALUE) {
        ThrowLastError();
    }
    m_handle = reinterpret_cast<long long>(handle);
    m_overlapped = overlapped;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        ThrowLastError();
    }
    dcb.BaudRate = baudRate;
    ApplyParity(dcb, parity);
    dcb.ByteSize = dataBits;
    ApplyStopBits(dcb, stopBits);
    ApplyFlow(dcb, flow);
    if (!SetCommState(handle, &dcb)) {
        ThrowLastError();
    }
}

void CSerialPort::Close() {
    if (!IsOpen()) {
        return;
    }
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
    m_overlapped = false;
}

bool CSerialPort::IsOpen() const {
    return m_handle != -1;
}

DWORD CSerialPort::Read(void* buffer, DWORD count) {
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, count, &got, nullptr)) {
        ThrowLastError();
    }
    return got;
}

DWORD CSerialPort::Write(const void* buffer, DWORD count) {
    DWORD written = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(m_handle), buffer, count, &written, nullptr)) {
        ThrowLastError();
    }
    return written;
}

void CSerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    COMMTIMEOUTS system{timeouts.readIntervalTimeout, timeouts.readTotalTimeoutMultiplier,
                        timeouts.readTotalTimeoutConstant, timeouts.writeTotalTimeoutMultiplier,
                        timeouts.writeTotalTimeoutConstant};
    if (!SetCommTimeouts(reinterpret_cast<HANDLE>(m_handle), &system)) {
        ThrowLastError();
    }
}

PortTimeouts CSerialPort::GetTimeouts() {
    COMMTIMEOUTS system{};
    if (!GetCommTimeouts(reinterpret_cast<HANDLE>(m_handle), &system)) {
        ThrowLastError();
    }
    return PortTimeouts{system.ReadIntervalTimeout, system.ReadTotalTimeoutMultiplier,
                        system.ReadTotalTimeoutConstant, system.WriteTotalTimeoutMultiplier,
                        system.WriteTotalTimeoutConstant};
}

void EnumerateComPorts(std::vector<int>& ports) {
    ports.clear();
    for (int number = 1; number <= 255; ++number) {
        HANDLE handle = OpenComHandle(number, false);
        if (handle == INVALID_HANDLE_VALUE) {
            continue;  // missing, or held by another program: not listed
        }
        CloseHandle(handle);
        ports.push_back(number);
    }
}
