// Process and computer facts on POSIX systems.
#include "link/SystemInfo.h"

#include <climits>
#include <sys/syscall.h>
#include <unistd.h>

std::string ReadComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return std::string();
    }
    return std::string(name).substr(0, 15);
}

DWORD CurrentThreadId() {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

std::string ProgramFolder() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return ".";
    }
    std::string folder(path, static_cast<std::size_t>(length));
    const std::size_t slash = folder.rfind('/');
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

std::string ProgramFilePath(const char* fileName) {
    return ProgramFolder() + "/" + fileName;
}

std::string LoadProgramString(UINT) {
    return std::string();
}
