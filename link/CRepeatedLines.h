// Keeps lines that come back on every pass of a loop (the port scan's) from flooding the
// log: a key's line is written when it first appears and when it changes; the change, or
// the end of the key's condition, writes how often the earlier line came back unwritten.
// Used by one thread at a time.
#pragma once

#include <map>
#include <string>

class CRepeatedLines {
public:
    explicit CRepeatedLines(int levelCode) : m_levelCode(levelCode) {}

    // This pass's line of the key.
    void Log(int key, const std::string& line);
    // The key's condition is over (the port opened, the listing worked).
    void End(int key);
    // Every condition is over (the loop ends): writes the counts still pending.
    void EndAll();

private:
    struct Entry {
        std::string line;
        unsigned long repeats = 0;
    };

    void WriteRepeats(const Entry& entry) const;

    int m_levelCode;
    std::map<int, Entry> m_entries;
};
