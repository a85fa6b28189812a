// One line of a grid saved as separated text: the fields of a line, split at the
// separator. An empty field at the very end of the line is no field.
#pragma once

#include "classlib/core/CString.h"

#include <vector>

std::vector<CString> SplitGridFileLine(const CString& line, char separator);
