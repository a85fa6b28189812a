// The program's own file: its folder and its version block.
#include "classlib/win/ProgramFile.h"

#include <windows.h>

#include <cstring>
#include <vector>

void EnterProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    char* lastBackslash = std::strrchr(path, '\\');
    if (lastBackslash == nullptr) {
        return;
    }
    *lastBackslash = '\0';
    SetCurrentDirectoryA(path);
}

ProgramVersionRead ReadProgramVersion(int& major, int& minor, int& build, int& revision) {
    char path[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) {
        return ProgramVersionRead::Unreadable;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) {
        return ProgramVersionRead::NoBlock;
    }
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoLength = 0;
    if (!GetFileVersionInfoA(path, 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID*>(&info), &infoLength) ||
        info == nullptr || infoLength < sizeof(VS_FIXEDFILEINFO)) {
        return ProgramVersionRead::Unreadable;
    }
    major = HIWORD(info->dwFileVersionMS);
    minor = LOWORD(info->dwFileVersionMS);
    build = HIWORD(info->dwFileVersionLS);
    revision = LOWORD(info->dwFileVersionLS);
    return ProgramVersionRead::Read;
}
