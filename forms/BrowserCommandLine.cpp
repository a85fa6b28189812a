#include "forms/BrowserCommandLine.h"

std::string BrowserCommandLine(const std::string& registeredCommand, const std::string& target) {
    static const std::string kQuoted = "\"%1\"";
    static const std::string kBare = "%1";
    std::string command = registeredCommand;
    size_t at = command.find(kQuoted);
    if (at != std::string::npos) {
        return command.replace(at, kQuoted.size(), target);
    }
    at = command.find(kBare);
    if (at != std::string::npos) {
        return command.replace(at, kBare.size(), target);
    }
    return command + " " + target;
}
