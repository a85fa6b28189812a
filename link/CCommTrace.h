// The communicator's trace: the last 100 lines about its exchanges, each stamped
// with the local time. Touched by the worker thread, and by the owner while no
// worker runs.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/IClock.h"

#include <cstddef>
#include <deque>
#include <string>

class CCommTrace {
public:
    static constexpr std::size_t kMaxLines = 100;

    explicit CCommTrace(IClock& clock) : m_clock(&clock) {}

    void SetClock(IClock& clock) { m_clock = &clock; }

    // Appends "[yyyy-mm-dd hh:mm:ss.mmm] message\n" and drops the oldest lines past 100.
    void Add(const std::string& message);

    void Clear() { m_lines.clear(); }

    bool IsEmpty() const { return m_lines.empty(); }

    std::deque<std::string>& Lines() { return m_lines; }

    // Bytes as "%02X" separated by one blank; no bytes give an empty text.
    static std::string FormatBytes(const BYTE* bytes, int count);

private:
    IClock* m_clock;  // not owned
    std::deque<std::string> m_lines;
};
