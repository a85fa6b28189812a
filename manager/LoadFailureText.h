// Why a firmware file could not be loaded, in the program's words: a file that could not be
// read names the file and the cause; any other refused file has an invalid format.
#pragma once

#include "classlib/core/CString.h"

// cause is the file exception's cause of a failed load, 0 when the file was read but refused.
CString LoadFailureText(const CString& path, int cause);
