// Trace lines of the frame exchange, kept for "interrupted.log".
#include "link/CCommTrace.h"

#include <cstdio>

void CCommTrace::Add(const std::string& message) {
    const CLocalTime t = m_clock->LocalTime();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%04d-%02d-%02d %02d:%02d:%02d.%03d] ", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    m_lines.push_back(stamp + message + "\n");
    while (m_lines.size() > kMaxLines) {
        m_lines.pop_front();
    }
}

std::string CCommTrace::FormatBytes(const BYTE* bytes, int count) {
    std::string text;
    char item[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(item, sizeof item, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += item;
    }
    return text;
}
