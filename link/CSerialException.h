// Failure of a serial-port call, carrying the system's error code.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <stdexcept>
#include <string>

class CSerialException : public std::runtime_error {
public:
    explicit CSerialException(DWORD error);

    DWORD GetError() const { return m_error; }

    // Copies the system's text for the error (at most bufferSize characters including
    // the terminator) and returns 1; empties the buffer and returns 0 when the system
    // has none. The help context is cleared.
    BOOL GetErrorMessage(char* buffer, std::size_t bufferSize, UINT* helpContext = nullptr) const;
    std::string GetErrorMessage() const;

private:
    // The system's text for the error; empty when there is none.
    static std::string SystemText(DWORD error);

    DWORD m_error;
};
