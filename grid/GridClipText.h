// The plain-text form in which the grid exchanges cells: copied as Tab-separated fields and
// CR LF-separated lines; pasted text is split at line feeds and at the first Tab or comma
// (Tab alone under a decimal comma), each field trimmed. Grids that check pasted values
// first split with the same rules.
#pragma once

#include "classlib/core/CString.h"

#include <vector>

typedef std::vector<CString> GridClipLine;

// Lines at "\n"; a line that is blank after trimming has no fields. Within a line a field
// ends at the next Tab or comma (only Tab under a decimal comma); a separator at the very end
// of a line starts no field.
std::vector<GridClipLine> SplitGridClipText(const CString& text);

// Joins rows of fields with Tabs and CR LF, nothing after the last field or line.
CString JoinGridClipText(const std::vector<GridClipLine>& lines);
