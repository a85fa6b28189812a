// Records the messages of the process-wide logger for the duration of a test.
#pragma once

#include <string>
#include <vector>

class CLogCapture {
public:
    // Points the logger at a recording pipe and forgets earlier messages.
    CLogCapture();
    // The messages (without the line's stamp fields) since construction.
    std::vector<std::string> Messages() const;
    // The messages that begin with prefix.
    std::vector<std::string> MessagesStartingWith(const std::string& prefix) const;
};
