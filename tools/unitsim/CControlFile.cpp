// Control file of the simulated unit.
#include "tools/unitsim/CControlFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool CControlFile::Open(const std::string& path, std::string& error) {
    m_fd.Reset(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!m_fd.IsValid()) {
        error = "open " + path + ": " + std::strerror(errno);
        return false;
    }
    m_offset = 0;
    m_partialLine.clear();
    return true;
}

std::vector<std::string> CControlFile::ReadNewLines() {
    std::vector<std::string> lines;
    if (!m_fd.IsValid()) {
        return lines;
    }

    struct stat info {};

    if (::fstat(m_fd.Get(), &info) == 0 && info.st_size < m_offset) {
        // Emptied by the writer: start over from its beginning.
        m_offset = 0;
        m_partialLine.clear();
    }
    char buffer[512];
    ssize_t count = 0;
    while ((count = ::pread(m_fd.Get(), buffer, sizeof buffer, m_offset)) > 0) {
        m_offset += count;
        for (ssize_t i = 0; i < count; ++i) {
            const char c = buffer[i];
            if (c == '\r') {
                continue;
            }
            if (c != '\n') {
                m_partialLine += c;
                continue;
            }
            if (!m_partialLine.empty()) {
                lines.push_back(m_partialLine);
            }
            m_partialLine.clear();
        }
    }
    if (count < 0) {
        std::fprintf(stderr, "unitsim: reading the control file: %s\n", std::strerror(errno));
    }
    return lines;
}
