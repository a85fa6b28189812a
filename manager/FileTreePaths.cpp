#include "manager/FileTreePaths.h"

#include <cctype>

namespace FileTreePaths {

bool IsDriveRoot(const CString& path) {
    return path.GetLength() == 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           path[2] == '\\';
}

CString MakeNewFolderName(const CString& folder, const std::function<bool(const CString&)>& exists) {
    CString base = folder;
    if (!base.IsEmpty() && base[base.GetLength() - 1] == '\\') {
        base = base.Left(base.GetLength() - 1);
    }
    CString name;
    name.Format("%s\\Neuer Ordner", base.GetString());
    for (int number = 2; exists(name); ++number) {
        name.Format("%s\\Neuer Ordner (%d)", base.GetString(), number);
    }
    return name;
}

bool IsValidItemName(const CString& name) {
    if (name.IsEmpty() || name == "." || name == "..") {
        return false;
    }
    return name.FindOneOf("\\/:*?\"<>|") < 0;
}

CString BuildRenameTarget(const CString& parentPath, const CString& name, const CString& hiddenExtension) {
    CString target = parentPath;
    if (!IsDriveRoot(parentPath)) {
        target += '\\';
    }
    target += name;
    target += hiddenExtension;
    return target;
}

CString ExtensionOf(const CString& name) {
    const int dot = name.ReverseFind('.');
    if (dot < 0 || name.Find('\\', dot) >= 0) {
        return CString();
    }
    return name.Mid(dot);
}

CString NetworkItemName(const CString& remoteName, const CString& comment) {
    CString name = remoteName.IsEmpty() ? comment : remoteName;
    for (int i = 0; i < 2 && !name.IsEmpty() && name[0] == '\\'; ++i) {
        name = name.Mid(1);
    }
    return name;
}

CString ShareText(const CString& name) {
    const int backslash = name.Find('\\');
    return backslash < 0 ? name : name.Mid(backslash + 1);
}

CString LastComponent(const CString& path) {
    const int backslash = path.ReverseFind('\\');
    return backslash < 0 ? path : path.Mid(backslash + 1);
}

CString StripTrailingBackslash(const CString& path) {
    if (path.GetLength() > 3 && path[path.GetLength() - 1] == '\\') {
        return path.Left(path.GetLength() - 1);
    }
    return path;
}

CString WithTrailingBackslash(const CString& path) {
    if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') {
        return path;
    }
    return path + '\\';
}

CString JoinPath(const CString& folder, const CString& name) {
    return WithTrailingBackslash(folder) + name;
}

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return !prefix.IsEmpty() && text.GetLength() >= prefix.GetLength() &&
           text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

bool IsInFolder(const CString& path, const CString& folder) {
    return StartsWithNoCase(path, folder) &&
           (path.GetLength() == folder.GetLength() || path[folder.GetLength()] == '\\');
}

CString ParentFolderOf(const CString& path) {
    const int backslash = path.ReverseFind('\\');
    if (backslash < 0) {
        return CString();
    }
    return backslash == 2 ? path.Left(3) : path.Left(backslash);
}

}  // namespace FileTreePaths
