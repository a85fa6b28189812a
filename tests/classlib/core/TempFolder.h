// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("classlib_core_" + std::to_string(stamp) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }

    ~TempFolder() {
        std::error_code ignored;  // a leftover temporary folder is no reason to fail a test
        std::filesystem::remove_all(m_path, ignored);
    }

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
