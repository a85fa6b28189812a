// Paths of the build tree as a Windows program under Wine sees them.
#pragma once

#include <string>

// The build tree is on drive Z: under Wine; a path that is not absolute on the
// host is returned unchanged.
inline std::string WinePath(std::string path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return "Z:" + path;
}
