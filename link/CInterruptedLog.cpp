// Appending and trimming "interrupted.log".
#include "link/CInterruptedLog.h"

#include <fstream>
#include <iterator>
#include <sstream>

bool CInterruptedLog::AppendBlock(std::deque<std::string>& lines) {
    std::ofstream file(m_path, std::ios::binary | std::ios::app);
    if (!file) {
        return false;
    }
    file << kSeparator << "\n\n";
    while (!lines.empty()) {
        file << lines.front();
        lines.pop_front();
    }
    file << "\n\n";
    file.close();
    return TrimIfTooLarge();
}

std::string CInterruptedLog::TrimmedContents(const std::string& contents) {
    if (contents.size() <= kMaxFileBytes) {
        return contents;
    }
    const std::string separator = kSeparator;
    std::size_t cut = std::string::npos;
    std::size_t lastFound = std::string::npos;
    for (std::size_t at = contents.find(separator); at != std::string::npos;
         at = contents.find(separator, at + 1)) {
        lastFound = at;
        if (contents.size() - at < kMaxFileBytes) {
            cut = at;
            break;
        }
    }
    if (cut == std::string::npos) {
        cut = lastFound;
    }
    if (cut == std::string::npos) {
        // No separator at all: keep the newest bytes rather than an unbounded file.
        cut = contents.size() - kMaxFileBytes;
    }
    return contents.substr(cut);
}

bool CInterruptedLog::TrimIfTooLarge() {
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        return false;
    }
    in.seekg(0, std::ios::end);
    if (static_cast<std::size_t>(in.tellg()) <= kMaxFileBytes) {
        return true;
    }
    in.seekg(0);
    const std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out << TrimmedContents(contents);
    return static_cast<bool>(out);
}
