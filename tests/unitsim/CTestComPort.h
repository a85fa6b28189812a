// A COM port opened the way the configurator opens it (9600 8N1, no flow
// control, reads that return at once), for tests that talk to the simulated
// unit under Wine. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CTestComPort {
public:
    CTestComPort() = default;

    ~CTestComPort() { Close(); }

    CTestComPort(const CTestComPort&) = delete;
    CTestComPort& operator=(const CTestComPort&) = delete;

    // Opens "\\.\COM<port>" and sets the line up. Returns false with the failed
    // call and its error code in `error`.
    bool Open(int port, std::string& error);
    void Close();

    // Writes all bytes; false when the port fails or writes fewer.
    bool Write(const std::vector<uint8_t>& bytes);

    // Polls the port until `count` bytes have arrived or `timeoutMs` has passed
    // since the call; returns what arrived.
    std::vector<uint8_t> ReadFor(std::size_t count, DWORD timeoutMs);

private:
    bool ConfigureLine(std::string& error);

    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
