#include "manager/ZippedFileNames.h"

namespace ZippedFileNames {

CString ProposedName(const CString& updatePath) {
    CString name = updatePath.Mid(updatePath.ReverseFind('\\') + 1);
    if (!name.IsEmpty()) {
        name.SetAt(name.GetLength() - 1, 'z');
    }
    return name;
}

CString TargetName(const CString& typed) {
    if (typed.GetLength() < 4 || typed.Right(4) != ".zfz") {
        return typed + ".zfz";
    }
    return typed;
}

void SplitFilePath(const CString& path, CString& folder, CString& name) {
    const int backslash = path.ReverseFind('\\');
    folder = path.Left(backslash + 1);
    name = path.Mid(backslash + 1);
}

}  // namespace ZippedFileNames
