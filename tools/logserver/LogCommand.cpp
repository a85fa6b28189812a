// Parsing of control messages. A log name becomes a file name in the output folder,
// so anything that could leave that folder or name a device is refused.
#include "tools/logserver/LogCommand.h"

namespace {

constexpr char kCreateLogPrefix[] = "createlog,";
constexpr std::string::size_type kMaxLogNameLength = 200;

// CON, NUL, COM1 and the like name devices whatever extension follows them.
bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") {
        return true;
    }
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool IsSafeLogName(const std::string& name) {
    if (name.empty() || name.size() > kMaxLogNameLength) {
        return false;
    }
    if (name.find_first_not_of('.') == std::string::npos) {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos && !IsDeviceName(name);
}

std::string ParseCreateLog(const std::string& message) {
    const std::string::size_type end = message.find_last_not_of(std::string("\r\n\0", 3));
    if (end == std::string::npos) {
        return std::string();
    }
    const std::string text = message.substr(0, end + 1);
    const std::string::size_type prefixLength = sizeof(kCreateLogPrefix) - 1;
    if (text.compare(0, prefixLength, kCreateLogPrefix) != 0) {
        return std::string();
    }
    const std::string name = text.substr(prefixLength);
    return IsSafeLogName(name) ? name : std::string();
}
