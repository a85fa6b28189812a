// The simulated unit's transcript of frames and notes.
#include "tools/unitsim/CTranscript.h"

#include "tools/unitsim/CUnitFrame.h"

bool CTranscript::OpenFile(const std::string& path) {
    m_file.open(path, std::ios::out | std::ios::trunc);
    return m_file.is_open();
}

void CTranscript::AddFrame(const char* direction, const std::vector<uint8_t>& bytes) {
    AddLine(std::string(direction) + " " + CUnitFrame::FormatHex(bytes));
}

void CTranscript::AddNote(const std::string& text) {
    AddLine("# " + text);
}

void CTranscript::AddLine(const std::string& line) {
    if (!m_file.is_open()) {
        m_lines.push_back(line);
        return;
    }
    m_file << line << '\n';
    m_file.flush();
}
