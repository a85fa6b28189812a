// Appending to a log file.
#include "tools/logserver/CLogFile.h"

#include <cstdio>
#include <utility>

CLogFile::CLogFile(std::string path) : m_path(std::move(path)) {}

bool CLogFile::Open() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file.IsValid()) {
        std::fprintf(stderr, "logserver: CreateFile(%s): %lu\n", m_path.c_str(), GetLastError());
        return false;
    }
    return true;
}

bool CLogFile::Append(const char* data, DWORD sizeBytes) {
    std::lock_guard<std::mutex> guard(m_mutex);
    // Seek to the end for every write: a server killed and started again appends to
    // what its predecessor wrote.
    const LARGE_INTEGER zero = {};
    DWORD written = 0;
    if (!SetFilePointerEx(m_file.Get(), zero, nullptr, FILE_END) ||
        !WriteFile(m_file.Get(), data, sizeBytes, &written, nullptr) || written != sizeBytes) {
        std::fprintf(stderr, "logserver: WriteFile(%s): %lu\n", m_path.c_str(), GetLastError());
        return false;
    }
    return true;
}
