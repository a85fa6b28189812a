// Access to the simulated units from a Windows test through drive Z:.
#include "tests/link/CUnitSim.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

int CUnitSim::Port() {
    const char* port = std::getenv("ZARVO_UNITSIM_PORT");
    return port != nullptr ? std::atoi(port) : 0;
}

std::vector<int> CUnitSim::SilentPorts() {
    std::vector<int> ports;
    const char* list = std::getenv("ZARVO_LINK_SILENT_PORTS");
    std::istringstream words(list != nullptr ? list : "");
    int port = 0;
    while (words >> port) {
        ports.push_back(port);
    }
    return ports;
}

std::string CUnitSim::WindowsPathFromEnvironment(const char* name) {
    const char* path = std::getenv(name);
    if (path == nullptr) {
        return {};
    }
    std::string windowsPath = std::string("Z:") + path;
    for (char& c : windowsPath) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windowsPath;
}

bool CUnitSim::SendControl(const std::string& line, std::string& error) {
    const std::string path = WindowsPathFromEnvironment("ZARVO_UNITSIM_CONTROL");
    if (path.empty()) {
        error = "ZARVO_UNITSIM_CONTROL is not set: run through with-link-units";
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = path + ": error " + std::to_string(GetLastError());
        return false;
    }
    const std::string text = line + "\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    const DWORD writeError = GetLastError();
    CloseHandle(file);
    if (!ok || written != text.size()) {
        error = "WriteFile: error " + std::to_string(writeError);
        return false;
    }
    return true;
}

std::vector<std::string> CUnitSim::Transcript() {
    std::vector<std::string> lines;
    std::ifstream file(WindowsPathFromEnvironment("ZARVO_UNITSIM_TRANSCRIPT"));
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string CUnitSim::FrameLine(const char* direction, const std::vector<unsigned char>& bytes) {
    std::string line = direction;
    unsigned char sum = 0;
    char hex[4];
    for (unsigned char byte : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", byte);
        line += hex;
        sum ^= byte;
    }
    std::snprintf(hex, sizeof hex, " %02X", sum);
    return line + hex;
}
