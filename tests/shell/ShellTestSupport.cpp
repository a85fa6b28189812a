// Helpers shared by the shell's tests.
#include "ShellTestSupport.h"

#include "tests/support/TestTrees.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TempFolder() {
    for (const char* name : {"TMPDIR", "TEMP", "TMP"}) {
        const char* folder = std::getenv(name);
        if (folder != nullptr && folder[0] != '\0') {
            return folder;
        }
    }
    return ".";
}

}  // namespace

std::string ReadSourceFile(const std::string& relativePath) {
    return ReadAll(SourceTreePath(relativePath));
}

TempShellFile::TempShellFile(const std::string& name) : m_path(TempFolder() + "/zarvo-shell-" + name) {
    std::remove(m_path.c_str());
}

TempShellFile::~TempShellFile() {
    std::remove(m_path.c_str());
    std::remove((m_path + ".tmp").c_str());
}

void TempShellFile::WriteBytes(const std::string& bytes) const {
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempShellFile::ReadBytes() const {
    return ReadAll(m_path);
}
