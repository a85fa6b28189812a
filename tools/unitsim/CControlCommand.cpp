// Parsing and applying the simulated unit's control commands.
#include "tools/unitsim/CControlCommand.h"

#include <cctype>
#include <sstream>

namespace {

constexpr unsigned kMaxByteValue = 255;

// A run of 1..maxDigits decimal digits with a value of at most 255.
bool ParseByteNumber(const std::string& text, std::size_t minDigits, std::size_t maxDigits, uint8_t& value) {
    if (text.size() < minDigits || text.size() > maxDigits) {
        return false;
    }
    unsigned number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    if (number > kMaxByteValue) {
        return false;
    }
    value = static_cast<uint8_t>(number);
    return true;
}

}  // namespace

bool CControlCommand::ParseVersion(const std::string& text, UnitVersion& version) {
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    UnitVersion parsed{0, 0};
    if (!ParseByteNumber(text.substr(0, dot), 1, 3, parsed.major) ||
        !ParseByteNumber(text.substr(dot + 1), 2, 3, parsed.minor)) {
        return false;
    }
    version = parsed;
    return true;
}

bool CControlCommand::ParseMode(const std::string& text, UnitMode& mode) {
    if (text == "normal") {
        mode = UnitMode::Application;
        return true;
    }
    if (text == "loader") {
        mode = UnitMode::Loader;
        return true;
    }
    return false;
}

bool CControlCommand::Parse(const std::string& line, ControlCommand& command, std::string& error) {
    std::istringstream words(line);
    std::string verb;
    std::string argument;
    std::string extra;
    words >> verb >> argument >> extra;
    if (!extra.empty()) {
        error = "too many words";
        return false;
    }
    ControlCommand parsed;
    bool ok = false;
    if (verb == "echo" && (argument == "on" || argument == "off")) {
        parsed.action = argument == "on" ? ControlAction::EchoOn : ControlAction::EchoOff;
        ok = true;
    } else if (verb == "version" || verb == "loader-version") {
        parsed.action = verb == "version" ? ControlAction::Version : ControlAction::LoaderVersion;
        ok = ParseVersion(argument, parsed.version);
    } else if (verb == "mode") {
        parsed.action = ControlAction::Mode;
        ok = ParseMode(argument, parsed.mode);
    } else if ((verb == "unplug" || verb == "replug") && argument.empty()) {
        parsed.action = verb == "unplug" ? ControlAction::Unplug : ControlAction::Replug;
        ok = true;
    }
    if (!ok) {
        error = "unknown command or bad argument";
        return false;
    }
    command = parsed;
    return true;
}

bool CControlCommand::ApplyToEngine(const ControlCommand& command, CUnitEngine& engine) {
    switch (command.action) {
    case ControlAction::EchoOn:
    case ControlAction::EchoOff:
        engine.SetEcho(command.action == ControlAction::EchoOn);
        return true;
    case ControlAction::Version:
        engine.SetApplicationVersion(command.version);
        return true;
    case ControlAction::LoaderVersion:
        engine.SetLoaderVersion(command.version);
        return true;
    case ControlAction::Mode:
        engine.SetMode(command.mode);
        return true;
    case ControlAction::Unplug:
    case ControlAction::Replug:
        return false;
    }
    return false;
}
