// The program's name, taken from its executable's path.
#include "classlib/win/AfxGetAppName.h"

#include <windows.h>

#include <string>

namespace {

std::string ExecutableBaseName() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    const std::string::size_type slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

}  // namespace

const char* AfxGetAppName() {
    static const std::string name = ExecutableBaseName();
    return name.c_str();
}
