// COM port helper of the simulated unit's Windows tests.
#include "tests/unitsim/CTestComPort.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr DWORD kBaudRate = 9600;
constexpr DWORD kWriteMultiplierMs = 100;
constexpr DWORD kWriteConstantMs = 100;
// Between polls of a port that returns at once: short against the unit's
// reply time, long enough not to spin.
constexpr DWORD kPollPauseMs = 2;

std::string CallFailed(const char* call) {
    char text[96];
    std::snprintf(text, sizeof text, "%s: %lu", call, static_cast<unsigned long>(GetLastError()));
    return text;
}

}  // namespace

bool CTestComPort::Open(int port, std::string& error) {
    Close();
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    m_handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) {
        error = CallFailed("CreateFileA");
        return false;
    }
    if (!ConfigureLine(error)) {
        Close();
        return false;
    }
    return true;
}

void CTestComPort::Close() {
    if (m_handle == INVALID_HANDLE_VALUE) {
        return;
    }
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool CTestComPort::ConfigureLine(std::string& error) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb)) {
        error = CallFailed("GetCommState");
        return false;
    }
    dcb.BaudRate = kBaudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fDsrSensitivity = FALSE;
    if (!SetCommState(m_handle, &dcb)) {
        error = CallFailed("SetCommState");
        return false;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = kWriteMultiplierMs;
    timeouts.WriteTotalTimeoutConstant = kWriteConstantMs;
    if (!SetCommTimeouts(m_handle, &timeouts)) {
        error = CallFailed("SetCommTimeouts");
        return false;
    }
    DCB check{};
    check.DCBlength = sizeof check;
    if (!GetCommState(m_handle, &check)) {
        error = CallFailed("GetCommState");
        return false;
    }
    if (check.BaudRate != kBaudRate || check.ByteSize != 8 || check.Parity != NOPARITY ||
        check.StopBits != ONESTOPBIT) {
        error = "the line did not take 9600 8N1";
        return false;
    }
    return true;
}

bool CTestComPort::Write(const std::vector<uint8_t>& bytes) {
    DWORD written = 0;
    if (!WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return false;
    }
    return written == bytes.size();
}

std::vector<uint8_t> CTestComPort::ReadFor(std::size_t count, DWORD timeoutMs) {
    std::vector<uint8_t> received;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (received.size() < count) {
        uint8_t buffer[512];
        const DWORD wanted = static_cast<DWORD>(std::min(count - received.size(), sizeof buffer));
        DWORD got = 0;
        if (!ReadFile(m_handle, buffer, wanted, &got, nullptr)) {
            break;
        }
        received.insert(received.end(), buffer, buffer + got);
        if (got == 0) {
            if (GetTickCount64() >= deadline) {
                break;
            }
            Sleep(kPollPauseMs);
        }
    }
    return received;
}
