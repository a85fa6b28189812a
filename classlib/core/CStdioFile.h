// File read and written line by line. In text mode (unless typeBinary is
// given) a line ends with carriage return and line feed on disk and with a
// line feed in memory, in every build, so both read the same Windows text files.
#pragma once

#include "classlib/core/CFile.h"

#include <vector>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)

public:
    CStdioFile() = default;
    CStdioFile(LPCSTR fileName, UINT openFlags);

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr) override;

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    LONG Seek(LONG offset, UINT from) override;
    DWORD GetPosition() const override;
    void SetLength(DWORD newLength) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    // Reads at most maxChars - 1 characters up to and including the next line
    // feed and ends them with a zero; null when the file has nothing left.
    LPSTR ReadString(LPSTR buffer, UINT maxChars);
    // Reads the next line without its line feed; FALSE when the file has nothing left.
    BOOL ReadString(CString& line);
    void WriteString(LPCSTR text);

private:
    // Next byte of the file, or -1 at its end; text translation applied.
    int GetChar();
    int NextByte();
    int PeekByte();
    bool FillBuffer();
    // Moves the file position back over bytes read ahead but not yet handed out.
    void DropReadAhead();

    bool m_textMode = true;
    std::vector<char> m_readAhead;
    size_t m_readPos = 0;
};
