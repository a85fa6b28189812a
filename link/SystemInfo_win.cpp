// Process and computer facts on Windows.
#include "link/SystemInfo.h"

#include <windows.h>

std::string ReadComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size)) {
        return std::string();
    }
    return std::string(name, size);
}

DWORD CurrentThreadId() {
    return GetCurrentThreadId();
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return ".";
    }
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

std::string ProgramFilePath(const char* fileName) {
    return ProgramFolder() + "\\" + fileName;
}

std::string LoadProgramString(UINT id) {
    char text[4096];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
}
