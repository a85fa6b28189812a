#include "link/CRepeatedLines.h"

#include "link/CLogger.h"

void CRepeatedLines::Log(int key, const std::string& line) {
    const auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        if (found->second.line == line) {
            ++found->second.repeats;
            return;
        }
        WriteRepeats(found->second);
    }
    CLogger::Instance().Log(m_levelCode, "%s", line.c_str());
    m_entries[key] = Entry{line, 0};
}

void CRepeatedLines::End(int key) {
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return;
    }
    WriteRepeats(found->second);
    m_entries.erase(found);
}

void CRepeatedLines::EndAll() {
    for (const auto& entry : m_entries) {
        WriteRepeats(entry.second);
    }
    m_entries.clear();
}

void CRepeatedLines::WriteRepeats(const Entry& entry) const {
    if (entry.repeats == 0) {
        return;
    }
    CLogger::Instance().Log(m_levelCode, "%s Repeated %lu times.", entry.line.c_str(), entry.repeats);
}
