// One log's file in the output folder; bytes from any client thread are appended.
#pragma once

#include "tools/logserver/CScopedHandle.h"

#include <mutex>
#include <string>

class CLogFile {
public:
    explicit CLogFile(std::string path);

    // Opens (or creates) the file for appending; reports a failure on stderr. Readers
    // may open the file at the same time.
    bool Open();
    // Appends the bytes in one write, so that a client's line stays whole. The bytes
    // reach the system at once: a reader sees them while the server runs.
    bool Append(const char* data, DWORD sizeBytes);

    const std::string& GetPath() const { return m_path; }

private:
    const std::string m_path;
    std::mutex m_mutex;
    CScopedHandle m_file;  // guarded by m_mutex
};
