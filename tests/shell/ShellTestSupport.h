#pragma once
// Helpers shared by the shell's tests: files of the source tree and temporary files.

#include <string>

// The bytes of a file given relative to the source tree;
// empty when it cannot be read.
std::string ReadSourceFile(const std::string& relativePath);

// A file name in the temporary folder, removed (with its ".tmp" companion) when the object goes.
class TempShellFile {
public:
    explicit TempShellFile(const std::string& name);
    ~TempShellFile();
    TempShellFile(const TempShellFile&) = delete;
    TempShellFile& operator=(const TempShellFile&) = delete;

    const char* Path() const { return m_path.c_str(); }

    void WriteBytes(const std::string& bytes) const;
    std::string ReadBytes() const;

private:
    std::string m_path;
};
