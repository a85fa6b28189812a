// The control pipe's one command, "createlog,NAME", and the names it may carry.
#pragma once

#include <string>

// The log name of a "createlog,NAME" message, or an empty string when the message is
// not such a command or the name is not safe as a file name. Trailing line ends and
// NULs are ignored.
std::string ParseCreateLog(const std::string& message);

// TRUE for a name that can become NAME.log inside the output folder and nowhere else:
// not empty, at most 200 characters, no path characters, no device name, not only dots.
bool IsSafeLogName(const std::string& name);
