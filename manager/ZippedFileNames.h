// Names of the create-zipped dialog: the name proposed for an update file and the name
// actually written for a typed one. Portable.
#pragma once

#include "classlib/core/CString.h"

namespace ZippedFileNames {

// The update file's name after its last backslash with its last character replaced by "z"
// (a.zfu gives a.zfz).
CString ProposedName(const CString& updatePath);

// The typed name with ".zfz" appended unless it already ends exactly (case-sensitively) so.
CString TargetName(const CString& typed);

// Splits a file path into its folder (up to and including the last backslash, or empty) and
// its name.
void SplitFilePath(const CString& path, CString& folder, CString& name);

}  // namespace ZippedFileNames
