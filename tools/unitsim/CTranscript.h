// The simulated unit's record of the wire: one line per frame ("RX AA 01 1E 01 B4",
// "TX 55 81 1E 01 CB", "ECHO ...") and notes starting with "# ". Tests compare it.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

class CTranscript {
public:
    // Lines are kept in memory until a file is opened; from then on each line is
    // appended to the file and flushed at once, so a reader sees it while the
    // unit runs. Returns false when the file cannot be created.
    bool OpenFile(const std::string& path);

    void AddFrame(const char* direction, const std::vector<uint8_t>& bytes);
    void AddNote(const std::string& text);

    // True once a line could not be written to the file.
    bool HasWriteFailed() const { return m_file.is_open() && !m_file.good(); }

    // The lines kept in memory (none once a file is open).
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    void AddLine(const std::string& line);

    std::ofstream m_file;
    std::vector<std::string> m_lines;
};
