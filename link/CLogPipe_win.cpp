// Named-pipe client of the log server. A server that went away shows as a broken
// pipe, or under Wine as "no data" or "not connected": all three close the handle,
// so the logger announces the log again and reopens the pipe.
#include "link/CLogPipe.h"

#include <windows.h>

namespace {

constexpr DWORD kWaitForPipeMs = 100;
constexpr DWORD kBusyRetryMs = 50;

bool IsLostConnection(DWORD error) {
    return error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED;
}

}  // namespace

CLogPipe::~CLogPipe() {
    Close();
}

void CLogPipe::Close() {
    if (m_handle == nullptr) {
        return;
    }
    CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

bool CLogPipe::Open() {
    if (!WaitNamedPipeA(m_name.c_str(), kWaitForPipeMs)) {
        return false;
    }
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    // No access list: everyone may use the pipe.
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    for (int attempt = 0; attempt < kBusyTries; ++attempt) {
        HANDLE handle = CreateFileA(m_name.c_str(), GENERIC_WRITE, 0, &attributes, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = handle;
            return true;
        }
        if (GetLastError() != ERROR_PIPE_BUSY) {
            return false;
        }
        Sleep(kBusyRetryMs);
    }
    return false;
}

bool CLogPipe::Write(const std::string& text) {
    if (m_name.empty()) {
        return false;
    }
    const bool wasOpen = m_handle != nullptr;
    if (!wasOpen && !Open()) {
        return false;
    }
    DWORD written = 0;
    if (WriteFile(static_cast<HANDLE>(m_handle), text.data(), static_cast<DWORD>(text.size()), &written,
                  nullptr)) {
        return true;
    }
    const DWORD error = GetLastError();
    if (wasOpen && !IsLostConnection(error)) {
        // The line is lost but the connection stands; the next line goes the same way.
        return true;
    }
    Close();
    return false;
}
