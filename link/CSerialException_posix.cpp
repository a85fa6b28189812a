// System texts of CSerialException on POSIX systems: the C library's error texts.
#include "link/CSerialException.h"

#include <cstring>

std::string CSerialException::SystemText(DWORD error) {
    return std::strerror(static_cast<int>(error));
}
