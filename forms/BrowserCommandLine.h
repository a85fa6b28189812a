// The command line that opens a target with the program registered for web pages: the
// registered command with its "%1" placeholder replaced by the target.
#pragma once

#include <string>

// A quoted "%1" (quotes included) is replaced by the bare target; else a bare %1; with no
// placeholder at all the target is appended after a blank.
std::string BrowserCommandLine(const std::string& registeredCommand, const std::string& target);
