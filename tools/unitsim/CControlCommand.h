// Commands that tests send to a running simulated unit through its control file,
// one per line: "echo on", "echo off", "version 1.40", "loader-version 1.20",
// "mode normal", "mode loader", "unplug", "replug".
#pragma once

#include "tools/unitsim/CUnitEngine.h"

#include <string>

enum class ControlAction {
    EchoOn,
    EchoOff,
    Version,
    LoaderVersion,
    Mode,
    Unplug,
    Replug,
};

struct ControlCommand {
    ControlAction action = ControlAction::EchoOff;
    UnitVersion version{0, 0};              // Version, LoaderVersion
    UnitMode mode = UnitMode::Application;  // Mode
};

class CControlCommand {
public:
    // Parses one line (surrounding blanks ignored). Returns false with a reason
    // in `error` when the line is not a command.
    static bool Parse(const std::string& line, ControlCommand& command, std::string& error);

    // "1.30" -> 1, 30: a major number, a dot and a two- or three-digit minor, each
    // at most 255. Also used for the command-line options.
    static bool ParseVersion(const std::string& text, UnitVersion& version);

    // "normal" or "loader".
    static bool ParseMode(const std::string& text, UnitMode& mode);

    // Applies the commands that concern the engine; false for unplug and replug,
    // which concern the line and are the caller's.
    static bool ApplyToEngine(const ControlCommand& command, CUnitEngine& engine);
};
