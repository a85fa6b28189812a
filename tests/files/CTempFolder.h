// A fresh folder for one test's files, removed with everything in it at the end.
#pragma once

#include "classlib/core/WinTypes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

class CTempFolder {
public:
    CTempFolder() {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() / ("zarvo-files-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }

    ~CTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }

    static void WriteBytes(const std::string& path, const std::vector<BYTE>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static std::vector<BYTE> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
