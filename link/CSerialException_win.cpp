// System texts of CSerialException on Windows, from the system's message table.
#include "link/CSerialException.h"

#include <windows.h>

#include <memory>

namespace {

struct LocalFreeDeleter {
    void operator()(char* text) const { LocalFree(text); }
};

}  // namespace

std::string CSerialException::SystemText(DWORD error) {
    char* raw = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&raw), 0, nullptr);
    std::unique_ptr<char, LocalFreeDeleter> owner(raw);
    if (length == 0 || raw == nullptr) {
        return std::string();
    }
    return std::string(raw, length);
}
