// What the data handler's files share: the log levels of its messages and the default
// values that the modified judgement and the push to the unit give two settings.
#pragma once

#include "classlib/core/WinTypes.h"

namespace DataHandlerConstants {

constexpr int kLogSteps = 3500;
constexpr int kLogStatus = 3000;
constexpr int kLogRefused = 2000;

constexpr BYTE kPumpTypeDefault = 3;
constexpr BYTE kLubricationDefault = 7;

}  // namespace DataHandlerConstants
