// The portable half of CSerialException; the system's texts come from the platform file.
#include "link/CSerialException.h"

#include <cstring>

CSerialException::CSerialException(DWORD error)
    : std::runtime_error("serial port error " + std::to_string(error)), m_error(error) {}

BOOL CSerialException::GetErrorMessage(char* buffer, std::size_t bufferSize, UINT* helpContext) const {
    if (helpContext != nullptr) {
        *helpContext = 0;
    }
    if (buffer == nullptr || bufferSize == 0) {
        return FALSE;
    }
    const std::string text = SystemText(m_error);
    const std::size_t length = text.size() < bufferSize - 1 ? text.size() : bufferSize - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return text.empty() ? FALSE : TRUE;
}

std::string CSerialException::GetErrorMessage() const {
    char buffer[4096];
    GetErrorMessage(buffer, sizeof buffer);
    return buffer;
}
