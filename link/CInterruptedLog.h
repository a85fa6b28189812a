// "interrupted.log": blocks of trace lines written whenever an exchange was cut off,
// trimmed to its newest blocks once it passes 1 MiB. Written by the worker thread.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

class CInterruptedLog {
public:
    static constexpr std::size_t kMaxFileBytes = 0x100000;
    static constexpr const char* kSeparator = "----====****====----";

    explicit CInterruptedLog(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // Appends one block made of the lines, taking them out of the list. When the file
    // cannot be opened nothing is written, the lines stay, and the result is false.
    bool AppendBlock(std::deque<std::string>& lines);

    // Keeps the newest part of an over-size log so that it starts with a separator.
    // Without any separator the newest kMaxFileBytes bytes are kept.
    static std::string TrimmedContents(const std::string& contents);

private:
    bool TrimIfTooLarge();

    std::string m_path;
};
