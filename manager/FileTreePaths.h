// Path rules of the file tree that need no shell: drive roots, new-folder names, rename
// targets and the names of network resources. Paths use backslashes.
#pragma once

#include "classlib/core/CString.h"

#include <functional>

namespace FileTreePaths {

// Exactly a drive letter, a colon and a backslash ("C:\").
bool IsDriveRoot(const CString& path);

// The first of "<folder>\Neuer Ordner", "<folder>\Neuer Ordner (2)", (3), ... for which exists
// is false; one trailing backslash of folder is dropped first.
CString MakeNewFolderName(const CString& folder, const std::function<bool(const CString&)>& exists);

// A name a rename may give: not empty, no path separators, wildcards or other characters
// a file name cannot hold, and not "." or "..", so a rename never moves the file elsewhere.
bool IsValidItemName(const CString& name);

// The new path of a renamed item: parent + "\" + name (no extra backslash after a drive root),
// with the old extension appended when the item's text hides it.
CString BuildRenameTarget(const CString& parentPath, const CString& name, const CString& hiddenExtension);

// The extension of a file name, dot included, or empty.
CString ExtensionOf(const CString& name);

// The name shown for a network resource: its remote name, or the comment when that is empty,
// without up to two leading backslashes.
CString NetworkItemName(const CString& remoteName, const CString& comment);

// The text of a share item: the part after the first backslash of its name.
CString ShareText(const CString& name);

// The text after the last backslash, or the whole path.
CString LastComponent(const CString& path);

// path without its trailing backslash; a drive root ("C:\") keeps it.
CString StripTrailingBackslash(const CString& path);

// path ending in a backslash (an empty path becomes "\").
CString WithTrailingBackslash(const CString& path);

// folder + "\" + name, with no second backslash after a folder that ends in one.
CString JoinPath(const CString& folder, const CString& name);

// Whether text begins with prefix, ignoring case; an empty prefix begins nothing.
bool StartsWithNoCase(const CString& text, const CString& prefix);

// path is folder itself or lies below it ("Desktop Backup" is not below "Desktop").
bool IsInFolder(const CString& path, const CString& folder);

// The folder holding path; a drive root keeps its backslash; empty without a backslash.
CString ParentFolderOf(const CString& path);

}  // namespace FileTreePaths
