// Building OBD requests and reading their replies.
#include "diag/ObdReply.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <boost/regex.hpp>

namespace {

const char kBlanks[] = " \t\r\n";
const char kPrompt = '>';
const BYTE kReplyModeOffset = 0x40;

// The text between the first and last character that is not a blank.
std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsPairsOnly(const std::string& text) {
    static const boost::regex pattern("([\\da-fA-F]{2})(\\s+[\\da-fA-F]{2})*");
    try {
        return boost::regex_match(text, pattern);
    } catch (const std::runtime_error&) {
        // The matcher gave up on the text's complexity: no reply the unit passes on looks so.
        return false;
    }
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The bytes of each line; a carriage return ends a line. The text holds only pairs and blanks.
std::vector<std::vector<BYTE>> SplitLines(const std::string& text) {
    std::vector<std::vector<BYTE>> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines.emplace_back();
        } else if (IsHexDigit(text[i])) {
            const char pair[3] = {text[i], text[i + 1], '\0'};
            lines.back().push_back(static_cast<BYTE>(std::strtoul(pair, nullptr, 16)));
            ++i;
        }
    }
    return lines;
}

bool RepeatsRequest(const std::vector<BYTE>& line, const BYTE* request, std::size_t requestLength) {
    if (line.size() < requestLength) {
        return false;
    }
    for (std::size_t i = 0; i < requestLength; ++i) {
        const BYTE expected = i == 0 ? static_cast<BYTE>(request[0] + kReplyModeOffset) : request[i];
        if (line[i] != expected) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string FormatObdRequest(BYTE mode, BYTE pid, bool hasPid) {
    char text[8];
    if (hasPid) {
        std::snprintf(text, sizeof text, "%02X%02X\r", mode, pid);
    } else {
        std::snprintf(text, sizeof text, "%02X\r", mode);
    }
    return text;
}

ObdReplyState ReadObdReplyElement(const BYTE* element, std::size_t size, std::string& text) {
    if (size == 0) {
        text.clear();
        return ObdReplyState::Text;
    }
    const std::size_t length = std::min<std::size_t>(element[0], size - 1);
    if (element[0] == 1) {
        if (size < 2) {
            return ObdReplyState::Refused;
        }
        return element[1] == 0 ? ObdReplyState::NotReady : ObdReplyState::Refused;
    }
    text.assign(reinterpret_cast<const char*>(element + 1), length);
    return ObdReplyState::Text;
}

bool ParseObdReply(const std::string& text,
                   const BYTE* request,
                   std::size_t requestLength,
                   std::vector<BYTE>& data) {
    if (text.empty() || text.back() != kPrompt || requestLength == 0) {
        return false;
    }
    const std::string body = Trimmed(text.substr(0, text.size() - 1));
    if (!IsPairsOnly(body)) {
        return false;
    }
    std::vector<BYTE> joined;
    for (const std::vector<BYTE>& line : SplitLines(body)) {
        if (line.empty()) {
            continue;
        }
        if (!RepeatsRequest(line, request, requestLength)) {
            return false;
        }
        joined.insert(joined.end(), line.begin() + static_cast<std::ptrdiff_t>(requestLength), line.end());
    }
    data.swap(joined);
    return true;
}
