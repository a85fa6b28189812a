#include "classlib/core/CStdioFile.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr UINT kReadAheadBytes = 4096;

}  // namespace

CStdioFile::CStdioFile(LPCSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) {
        throw new CFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

BOOL CStdioFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
    m_readAhead.clear();
    m_readPos = 0;
    m_textMode = (openFlags & typeBinary) == 0;
    return CFile::Open(fileName, openFlags, error);
}

bool CStdioFile::FillBuffer() {
    m_readAhead.resize(kReadAheadBytes);
    const UINT got = CFile::Read(m_readAhead.data(), kReadAheadBytes);
    m_readAhead.resize(got);
    m_readPos = 0;
    return got > 0;
}

int CStdioFile::NextByte() {
    if (m_readPos == m_readAhead.size() && !FillBuffer()) {
        return -1;
    }
    return static_cast<unsigned char>(m_readAhead[m_readPos++]);
}

int CStdioFile::PeekByte() {
    if (m_readPos == m_readAhead.size() && !FillBuffer()) {
        return -1;
    }
    return static_cast<unsigned char>(m_readAhead[m_readPos]);
}

int CStdioFile::GetChar() {
    const int c = NextByte();
    if (m_textMode && c == '\r' && PeekByte() == '\n') {
        return NextByte();
    }
    return c;
}

void CStdioFile::DropReadAhead() {
    const size_t unread = m_readAhead.size() - m_readPos;
    m_readAhead.clear();
    m_readPos = 0;
    if (unread > 0) {
        CFile::Seek(-static_cast<LONG>(unread), current);
    }
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    auto* bytes = static_cast<char*>(buffer);
    UINT total = 0;
    for (int c = 0; total < count && (c = GetChar()) >= 0;) {
        bytes[total++] = static_cast<char>(c);
    }
    return total;
}

void CStdioFile::Write(const void* buffer, UINT count) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    DropReadAhead();
    if (!m_textMode) {
        CFile::Write(buffer, count);
        return;
    }
    const auto* bytes = static_cast<const char*>(buffer);
    std::string translated;
    translated.reserve(count + count / 8);
    for (UINT i = 0; i < count; ++i) {
        if (bytes[i] == '\n') {
            translated += '\r';
        }
        translated += bytes[i];
    }
    CFile::Write(translated.data(), static_cast<UINT>(translated.size()));
}

LONG CStdioFile::Seek(LONG offset, UINT from) {
    if (IsOpen()) {
        DropReadAhead();
    }
    return CFile::Seek(offset, from);
}

DWORD CStdioFile::GetPosition() const {
    const size_t unread = m_readAhead.size() - m_readPos;
    return CFile::GetPosition() - static_cast<DWORD>(unread);
}

void CStdioFile::SetLength(DWORD newLength) {
    if (IsOpen()) {
        DropReadAhead();
    }
    CFile::SetLength(newLength);
}

void CStdioFile::Flush() {
    if (IsOpen()) {
        DropReadAhead();
    }
    CFile::Flush();
}

void CStdioFile::Close() {
    m_readAhead.clear();
    m_readPos = 0;
    CFile::Close();
}

void CStdioFile::Abort() {
    m_readAhead.clear();
    m_readPos = 0;
    CFile::Abort();
}

LPSTR CStdioFile::ReadString(LPSTR buffer, UINT maxChars) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    if (buffer == nullptr || maxChars == 0) {
        return nullptr;
    }
    UINT length = 0;
    int c = 0;
    while (length + 1 < maxChars && (c = GetChar()) >= 0) {
        buffer[length++] = static_cast<char>(c);
        if (c == '\n') {
            break;
        }
    }
    buffer[length] = '\0';
    return length == 0 && c < 0 ? nullptr : buffer;
}

BOOL CStdioFile::ReadString(CString& line) {
    if (!IsOpen()) {
        ThrowCause(CFileException::invalidFile);
    }
    std::string text;
    int c = 0;
    while ((c = GetChar()) >= 0 && c != '\n') {
        text += static_cast<char>(c);
    }
    line = CString(text.data(), static_cast<int>(text.size()));
    return c >= 0 || !text.empty();
}

void CStdioFile::WriteString(LPCSTR text) {
    if (text == nullptr) {
        return;
    }
    Write(text, static_cast<UINT>(std::strlen(text)));
}
